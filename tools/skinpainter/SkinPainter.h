#pragma once

#include "toolkit/graphics/Bitmap.h"

#include <memory>
#include <string>
#include <vector>

namespace skin {

// One picture of the skin under the file name the window layouts use.
struct Picture {
    std::string Name;
    std::unique_ptr<TBitmap> Bitmap;
};

// Paints every picture of the skin at its final size and depth: the song
// buttons (titles read from assetsDir's song files), transport and options
// buttons, ornament, window-button glyphs, stars and spin glyphs. The 8-bit
// pictures share one palette made for them. Same input, same pixels.
std::vector<Picture> PaintSkin(const std::string& assetsDir);

// Writes each picture as a BMP file into the folder.
void WritePictures(const std::vector<Picture>& pictures, const std::string& folder);

// The picture of that name; throws EToolkitError when there is none.
const TBitmap& Find(const std::vector<Picture>& pictures, const std::string& name);

} // namespace skin

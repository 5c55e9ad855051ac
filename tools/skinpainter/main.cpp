// Paints the disc's skin: every picture the window layouts name, written as
// BMP files into the assets folder, and the program's icon at the sizes a
// desktop asks for, as PNG files in its icons folder. Nothing is random, so
// each run writes the same bytes for the same song files.
//
//   velmora_skinpainter <assets-dir> [--contact-sheet <png>] [--preview <png>]

#include "toolkit/graphics/PngFile.h"
#include "tools/skinpainter/ContactSheet.h"
#include "tools/skinpainter/Icon.h"
#include "tools/skinpainter/SkinPainter.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: velmora_skinpainter <assets-dir> [--contact-sheet <png>] [--preview <png>]\n");
    return 2;
}

// Scales nearest-pixel, for looking at the pictures closely.
TPixmap Enlarged(const TBitmap& bitmap, int scale)
{
    TBitmap large(bitmap.Width() * scale, bitmap.Height() * scale);
    large.Canvas().CopyRect(
        {0, 0, large.Width(), large.Height()}, bitmap.Canvas(), {0, 0, bitmap.Width(), bitmap.Height()});
    return large.Pixmap();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc % 2 != 0)
        return Usage();
    const std::string assets = argv[1];
    std::string sheetPath;
    std::string previewPath;
    for (int i = 2; i < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--contact-sheet")
            sheetPath = argv[i + 1];
        else if (option == "--preview")
            previewPath = argv[i + 1];
        else
            return Usage();
    }

    try {
        const std::vector<skin::Picture> pictures = skin::PaintSkin(assets);
        skin::WritePictures(pictures, assets);
        std::filesystem::create_directories(assets + "/icons");
        for (int size : {48, 256}) {
            const skin::IconPicture icon = skin::PaintIcon(size);
            SavePng(icon.Colour, icon.Coverage, assets + "/icons/velmora-" + std::to_string(size) + ".png");
        }
        if (!sheetPath.empty())
            SavePng(skin::ContactSheet(pictures)->Pixmap(), sheetPath);
        if (!previewPath.empty()) {
            // The window as it rests, and with the third song playing.
            SavePng(Enlarged(*skin::WindowPreview(pictures, 0), 2), previewPath);
            SavePng(Enlarged(*skin::WindowPreview(pictures, 3), 2), previewPath + ".playing.png");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora_skinpainter: %s\n", error.what());
        return 1;
    }
    return 0;
}

#pragma once

#include "toolkit/graphics/Pixmap.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes the pixels as an 8-bit RGB PNG file. Throws EPlatformError with
// the reason and the path when the file can't be written.
void SavePng(const TPixmap& pixels, const std::string& path);
// The same as RGBA, with each pixel's alpha (0 clear to 255 opaque) from
// alpha, row by row.
void SavePng(const TPixmap& pixels, const std::vector<std::uint8_t>& alpha, const std::string& path);

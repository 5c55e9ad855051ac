#pragma once

#include "toolkit/Pixmap.h"

#include <string>

// Writes the pixels as an 8-bit RGB PNG file. Throws EPlatformError with
// the reason and the path when the file can't be written.
void SavePng(const TPixmap& pixels, const std::string& path);

#include "toolkit/PngFile.h"

#include "toolkit/Exceptions.h"

#include <png.h>

#include <vector>

void SavePng(const TPixmap& pixels, const std::string& path)
{
    if (pixels.IsEmpty())
        throw EPlatformError("Cannot write the picture " + path + ": it has no pixels");
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<std::size_t>(pixels.Width()) * pixels.Height() * 3);
    for (int y = 0; y < pixels.Height(); ++y) {
        for (const TPixel* p = pixels.Row(y); p != pixels.Row(y) + pixels.Width(); ++p) {
            rgb.push_back(static_cast<unsigned char>(GetRValue(*p)));
            rgb.push_back(static_cast<unsigned char>(GetGValue(*p)));
            rgb.push_back(static_cast<unsigned char>(GetBValue(*p)));
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(pixels.Width());
    image.height = static_cast<png_uint_32>(pixels.Height());
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        std::string reason = image.message;
        png_image_free(&image);
        throw EPlatformError("Cannot write the picture " + path + ": " + reason);
    }
}

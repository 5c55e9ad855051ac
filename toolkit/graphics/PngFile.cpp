#include "toolkit/graphics/PngFile.h"

#include "toolkit/graphics/Exceptions.h"

#include <png.h>

#include <vector>

namespace {

// alpha: none for RGB, else one byte a pixel.
void Write(const TPixmap& pixels, const std::vector<std::uint8_t>* alpha, const std::string& path)
{
    if (pixels.IsEmpty())
        throw EPlatformError("Cannot write the picture " + path + ": it has no pixels");
    const std::size_t count = static_cast<std::size_t>(pixels.Width()) * pixels.Height();
    if (alpha && alpha->size() != count)
        throw EPlatformError("Cannot write the picture " + path + ": its alpha doesn't fit its pixels");
    std::vector<unsigned char> bytes;
    bytes.reserve(count * (alpha ? 4 : 3));
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x) {
            const TPixel p = pixels.At(x, y);
            bytes.push_back(static_cast<unsigned char>(GetRValue(p)));
            bytes.push_back(static_cast<unsigned char>(GetGValue(p)));
            bytes.push_back(static_cast<unsigned char>(GetBValue(p)));
            if (alpha)
                bytes.push_back((*alpha)[static_cast<std::size_t>(y) * pixels.Width() + x]);
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(pixels.Width());
    image.height = static_cast<png_uint_32>(pixels.Height());
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr)) {
        std::string reason = image.message;
        png_image_free(&image);
        throw EPlatformError("Cannot write the picture " + path + ": " + reason);
    }
}

} // namespace

void SavePng(const TPixmap& pixels, const std::string& path)
{
    Write(pixels, nullptr, path);
}

void SavePng(const TPixmap& pixels, const std::vector<std::uint8_t>& alpha, const std::string& path)
{
    Write(pixels, &alpha, path);
}

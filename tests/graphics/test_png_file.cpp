// Screenshots and golden pictures are written as PNG files (Linux only: the
// Windows build has no libpng).

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/PngFile.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

TEST(PngFiles, WritesEightBitRgb)
{
    TPixmap pixels(3, 2);
    pixels.At(0, 0) = MakeColor(255, 0, 0);
    pixels.At(1, 0) = MakeColor(0, 255, 0);
    pixels.At(2, 0) = MakeColor(0, 0, 255);
    pixels.At(0, 1) = MakeColor(255, 199, 28);
    pixels.At(2, 1) = MakeColor(255, 255, 255);
    std::string path = testing::TempDir() + "velmora_picture.png";
    SavePng(pixels, path);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.format, static_cast<png_uint_32>(PNG_FORMAT_RGB));
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const unsigned char* p = &rgb[(y * 3 + x) * 3];
            EXPECT_EQ(MakeColor(p[0], p[1], p[2]), pixels.At(x, y)) << x << ", " << y;
        }
    }
    std::remove(path.c_str());

    EXPECT_THROW(SavePng(pixels, testing::TempDir() + "velmora_no_such_folder/picture.png"), EPlatformError);
    EXPECT_THROW(SavePng(TPixmap(), path), EPlatformError);
}

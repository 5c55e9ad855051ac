// Any bytes as a BMP file: refused with an error or read into a picture
// whose pixels and palette agree with the depth it reports.

#include "FuzzSupport.h"

#include "toolkit/graphics/BmpFile.h"
#include "toolkit/graphics/Exceptions.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TBmpImage image;
    try {
        image = ReadBmp(std::span<const unsigned char>(data, size), "fuzz.bmp");
    } catch (const EPlatformError&) {
        return 0;
    }
    FUZZ_CHECK(image.Pixels.Width() >= 0 && image.Pixels.Height() >= 0);
    if (image.Format == TPixelFormat::pf24bit)
        FUZZ_CHECK(image.Palette.empty());
    else
        FUZZ_CHECK(image.Palette.size() <= 256);

    // What was read can be written again.
    const std::vector<unsigned char> written = WriteBmp(image.Pixels, image.Format, image.Palette);
    const TBmpImage again = ReadBmp(written, "again.bmp");
    FUZZ_CHECK(again.Pixels.Width() == image.Pixels.Width() && again.Pixels.Height() == image.Pixels.Height());
    FUZZ_CHECK(again.Format == image.Format);
    return 0;
}

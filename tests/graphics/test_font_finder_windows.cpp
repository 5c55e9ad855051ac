// On Windows the disc draws with the faces it brings: the names its layouts
// ask for map onto them, styles a family lacks are faked, and a missing
// face file is told by name.

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/FontFinder.h"
#include "tests/support/Environment.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;

std::string FileName(const TFaceSource& source)
{
    return std::filesystem::path(source.File).filename().string();
}

TEST(FontFinderWindows, LayoutNamesMapOntoTheFacesTheDiscBrings)
{
    TFontFinder finder;
    const TFaceSource boldArial = finder.Find("Arial", true, false);
    EXPECT_EQ(FileName(boldArial), "LiberationSans-Bold.ttf");
    EXPECT_FALSE(boldArial.SynthBold);
    EXPECT_EQ(FileName(finder.Find("HELVETICA", false, true)), "LiberationSans-Italic.ttf");

    const TFaceSource other = finder.Find("Courier New", false, true);
    EXPECT_EQ(FileName(other), "DejaVuSans.ttf") << "any other name gets the last resort";
    EXPECT_TRUE(other.SynthItalic);
    const TFaceSource boldItalic = finder.Find("Sans", true, true);
    EXPECT_EQ(FileName(boldItalic), "DejaVuSans-Bold.ttf");
    EXPECT_FALSE(boldItalic.SynthBold);
    EXPECT_TRUE(boldItalic.SynthItalic);
}

TEST(FontFinderWindows, AMissingFaceFileIsToldByName)
{
    const char* saved = std::getenv("VELMORA_FONT_DIR");
    const std::string previous = saved ? saved : "";
    TempFolder empty;
    SetEnvironment("VELMORA_FONT_DIR", empty.Dir());
    try {
        TFontFinder().Find("Arial", false, false);
        ADD_FAILURE() << "found a face in an empty folder";
    } catch (const EPlatformError& error) {
        EXPECT_THAT(error.what(), HasSubstr("No font file draws the face Arial: "));
        EXPECT_THAT(error.what(), EndsWith("LiberationSans-Regular.ttf is missing"));
    }
    SetEnvironment("VELMORA_FONT_DIR", previous);
}

} // namespace

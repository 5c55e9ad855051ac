// Module files on Windows: paths beyond ASCII, and what is no module file
// there, each refused with the reason.

#include "EngineTestSupport.h"
#include "toolkit/graphics/Utf8Path.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

namespace enginetest {
namespace {

using ::testing::StartsWith;

TEST_F(BadFiles, PathsBeyondAsciiLoadAndTheRestIsRefusedWithTheReason)
{
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    const std::filesystem::path where = PathOf(folder_.Dir()) / PathOf("Grüße – 音楽 Ω");
    const std::string folder = Utf8Of(where);
    std::filesystem::create_directory(where);
    const auto bytes = modwriter::WriteXM(LoopingSong());
    std::ofstream(where / PathOf("Übung ß.xm"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    EXPECT_NE(MIDASloadModule((folder + "/Übung ß.xm").c_str()), 0u) << LastErrorText();

    const std::string missing = folder + "/missing.xm";
    EXPECT_EQ(MIDASloadModule(missing.c_str()), 0u);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_FILE_OPEN);
    const std::string opening = "Unable to load module " + missing + ": the file can't be opened: ";
    EXPECT_THAT(LastErrorText(), StartsWith(opening));
    EXPECT_GT(LastErrorText().size(), opening.size()) << "the system's reason follows";

    ExpectLoadFails(folder, MIDAS_ERROR_FILE_OPEN, "the file can't be read: Is a directory");
    ExpectLoadFails("NUL", MIDAS_ERROR_FILE_OPEN, "the file can't be read: it is no regular file");
}

} // namespace
} // namespace enginetest

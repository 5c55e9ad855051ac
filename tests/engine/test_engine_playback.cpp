// Loading, order positions, jumps and looping, in every module format the
// module writer makes.

#include "EngineTestSupport.h"
#include "engine/MidasTesting.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace enginetest {
namespace {

struct FormatCase {
    const char* name;
    std::vector<std::uint8_t> (*write)(const modwriter::Module&);
};

void PrintTo(const FormatCase& format, std::ostream* out)
{
    *out << format.name;
}

bool Sounds(const std::vector<std::uint8_t>& pcm16)
{
    for (std::size_t i = 0; i + 1 < pcm16.size(); i += 2) {
        std::int16_t value;
        std::memcpy(&value, &pcm16[i], 2);
        if (value > 1000 || value < -1000)
            return true;
    }
    return false;
}

class EveryFormat : public EngineTest, public ::testing::WithParamInterface<FormatCase> {
protected:
    MIDASmodule LoadSong()
    {
        const auto path = folder_.Write(std::string("song.") + GetParam().name, GetParam().write(LoopingSong()));
        const MIDASmodule module = MIDASloadModule(path.c_str());
        EXPECT_NE(module, 0u) << LastErrorText();
        return module;
    }
};

TEST_P(EveryFormat, ReportsTheSongLengthAndChannels)
{
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    const MIDASmodule module = LoadSong();
    MIDASmoduleInfo info{};
    ASSERT_EQ(MIDASgetModuleInfo(module, &info), 1) << LastErrorText();
    EXPECT_EQ(info.songLength, static_cast<uint32_t>(LoopingSongLength));
    EXPECT_EQ(info.numChannels, 4u);
    EXPECT_STREQ(info.songName, "looping song");
    EXPECT_EQ(MIDASfreeModule(module), 1);
}

TEST_P(EveryFormat, PositionAdvancesWhileTheEnginePlaysInTheBackground)
{
    const std::string capture = folder_.Path("capture.raw");
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    ASSERT_EQ(MIDASstartBackgroundPlay(0), 1);
    const MIDASmodule module = LoadSong();
    const MIDASmodulePlayHandle play = MIDASplayModule(module, 1);
    ASSERT_NE(play, 0u) << LastErrorText();

    // The disk device runs faster than real time; the deadline only guards a hang.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int highest = 0;
    while (highest < 3 && std::chrono::steady_clock::now() < deadline) {
        highest = std::max(highest, Position(play));
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_GE(highest, 3);
    EXPECT_GT(std::filesystem::file_size(capture), 0u);
    EXPECT_EQ(MIDASstopModule(play), 1);
    EXPECT_EQ(MIDASfreeModule(module), 1);
}

TEST_P(EveryFormat, SetPositionJumpsToTheStartOfAnOrderPosition)
{
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    const MIDASmodule module = LoadSong();
    const MIDASmodulePlayHandle play = MIDASplayModule(module, 1);
    ASSERT_NE(play, 0u) << LastErrorText();
    Mix(0.1);
    EXPECT_EQ(Position(play), 0);

    ASSERT_EQ(MIDASsetPosition(play, 4), 1) << LastErrorText();
    EXPECT_EQ(Position(play), 4);
    EXPECT_TRUE(Sounds(Mix(SecondsPerOrder * 0.8)));
    EXPECT_EQ(Position(play), 4);
    Mix(SecondsPerOrder * 0.4);
    EXPECT_EQ(Position(play), 5);

    ASSERT_EQ(MIDASsetPosition(play, 1), 1);
    Mix(0.05);
    EXPECT_EQ(Position(play), 1);
}

TEST_P(EveryFormat, LoopsFromTheRestartPositionPastTheEnd)
{
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    const MIDASmodule module = LoadSong();
    const MIDASmodulePlayHandle play = MIDASplayModule(module, 1);
    ASSERT_NE(play, 0u);

    std::vector<int> visited{Position(play)};
    for (int block = 0; block < 200 && visited.size() < LoopingSongLength + 3; ++block) {
        Mix(0.05);
        if (Position(play) != visited.back())
            visited.push_back(Position(play));
    }
    const std::vector<int> expected{
        0, 1, 2, 3, 4, 5, LoopingSongRestart, LoopingSongRestart + 1, LoopingSongRestart + 2};
    EXPECT_EQ(visited, expected);
    EXPECT_TRUE(Sounds(Mix(0.3)));
}

TEST_P(EveryFormat, SongWithoutLoopFallsSilentAtItsEnd)
{
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    const MIDASmodule module = LoadSong();
    const MIDASmodulePlayHandle play = MIDASplayModule(module, 0);
    ASSERT_NE(play, 0u);
    EXPECT_TRUE(Sounds(Mix(SecondsPerOrder * LoopingSongLength - 0.2)));
    Mix(0.5);
    EXPECT_FALSE(Sounds(Mix(0.5)));
}

INSTANTIATE_TEST_SUITE_P(Engine, EveryFormat,
    ::testing::Values(FormatCase{"xm", modwriter::WriteXM}, FormatCase{"mod", modwriter::WriteMOD},
        FormatCase{"s3m", modwriter::WriteS3M}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, PlayingAnotherModuleStopsTheFirst)
{
    StartEngine(11025, MIDAS_MODE_16BIT_MONO, 0);
    const auto xm = folder_.Write("a.xm", modwriter::WriteXM(LoopingSong()));
    const auto s3m = folder_.Write("b.s3m", modwriter::WriteS3M(ToneSong()));
    const MIDASmodule first = MIDASloadModule(xm.c_str());
    const MIDASmodule second = MIDASloadModule(s3m.c_str());
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_NE(first, second);

    const MIDASmodulePlayHandle firstPlay = MIDASplayModule(first, 1);
    ASSERT_EQ(MIDASsetPosition(firstPlay, 3), 1);
    const MIDASmodulePlayHandle secondPlay = MIDASplayModule(second, 1);
    ASSERT_NE(secondPlay, 0u);
    EXPECT_NE(secondPlay, firstPlay);
    EXPECT_EQ(Position(secondPlay), 0);

    MIDASplayStatus status{};
    EXPECT_EQ(MIDASgetPlayStatus(firstPlay, &status), 0);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_INVALID_PLAY_HANDLE);
    EXPECT_EQ(MIDASstopModule(firstPlay), 1);

    // Freeing the module that doesn't play leaves the other one playing.
    EXPECT_EQ(MIDASfreeModule(first), 1);
    EXPECT_EQ(Position(secondPlay), 0);
    MIDASmoduleInfo info{};
    EXPECT_EQ(MIDASgetModuleInfo(first, &info), 0);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_INVALID_MODULE);
    EXPECT_EQ(MIDASgetModuleInfo(second, &info), 1);
    EXPECT_EQ(info.songLength, 1u);

    // Freeing the playing module stops it.
    EXPECT_EQ(MIDASfreeModule(second), 1);
    EXPECT_EQ(MIDASgetPlayStatus(secondPlay, &status), 0);
}

} // namespace
} // namespace enginetest

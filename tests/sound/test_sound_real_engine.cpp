// The player on the real engine, its output going to a file through SDL's
// disk driver: a song made here plays, moves on, jumps, survives a
// settings change at its place, and stops.

#include "SoundTestSupport.h"
#include "tests/support/Environment.h"

#include "tools/modwriter/ModuleWriter.h"

#include <gmock/gmock.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace soundtest {
namespace {

using modwriter::Cell;
using modwriter::Note;
using modwriter::Pattern;
using TOutcome = TMidasSound::TPlayResult::TOutcome;

constexpr int channels = 4;
constexpr std::uint8_t setSpeedOrTempo = 0xF;

// Five order positions: the first two pass in 0.64 s each, the last three
// hold for minutes (speed 31 at tempo 32), so a position read just after a
// jump is still the one jumped to.
modwriter::Module TwoSpeedSong()
{
    modwriter::Module module;
    module.name = "two speeds";
    module.channels = channels;
    module.initialSpeed = 1;
    module.initialTempo = 250;
    for (int p = 0; p < 5; ++p) {
        module.orders.push_back(static_cast<std::uint8_t>(p));
        Pattern pattern(64, channels);
        const bool slow = p >= 2;
        pattern.At(0, 1, channels) = Cell{0, 0, 0, setSpeedOrTempo, static_cast<std::uint8_t>(slow ? 31 : 1)};
        pattern.At(0, 2, channels) = Cell{0, 0, 0, setSpeedOrTempo, static_cast<std::uint8_t>(slow ? 32 : 250)};
        for (int row = 0; row < 64; row += 16)
            pattern.At(row, 0, channels) = Cell{Note(4, (row / 16 + p) % 12), 1, 0, 0, 0};
        module.patterns.push_back(pattern);
    }
    modwriter::Instrument instrument;
    instrument.name = "square";
    for (int i = 0; i < 64; ++i)
        instrument.sample.data.push_back(static_cast<std::int16_t>(i < 32 ? 12000 : -12000));
    instrument.sample.loopLength = 64;
    module.instruments.push_back(instrument);
    return module;
}

class RealEngine : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        SetEnvironment("SDL_AUDIODRIVER", "disk");
        SetEnvironment("SDL_DISKAUDIOFILE", folder_.Path("output.raw").c_str());
        // A pause of 1 ms after each device block of about 12 ms: the song
        // runs some ten times faster than real time, and a slow position
        // still lasts many seconds. Not on Windows, where SDL 2.26 reads
        // every variable into one buffer: the disk output would take the
        // delay for its file's name. The song there runs in real time.
#ifndef _WIN32
        SetEnvironment("SDL_DISKAUDIODELAY", "1");
#endif
        songPath_ = folder_.Path("two speeds.xm");
        modwriter::WriteFile(songPath_, modwriter::WriteXM(TwoSpeedSong()));
    }

    std::string songPath_;
};

TEST_F(RealEngine, PlaysJumpsKeepsItsPlaceThroughASettingsChangeAndStops)
{
    TMidasSound player;
    player.Start({});
    ASSERT_EQ(player.PlayFile(songPath_).Outcome, TOutcome::Playing);
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.GetSongLength(), 4);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int position = player.GetPosition();
    EXPECT_GE(position, 0);
    while (position < 1 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        position = player.GetPosition();
    }
    EXPECT_GE(position, 1) << "the song didn't move on";
    EXPECT_GT(std::filesystem::file_size(folder_.Path("output.raw")), 0u);

    player.SetPosition(3);
    EXPECT_EQ(player.GetPosition(), 3);

    EXPECT_EQ(player.ApplySettings({11025, false, false, 2, 100}), std::nullopt);
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.GetPosition(), 3);
    EXPECT_EQ(player.GetSongLength(), 4);

    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.GetPosition(), -1);
    EXPECT_EQ(player.GetSongLength(), -1);
}

TEST_F(RealEngine, AFileThatIsNoModuleIsAnsweredWithTheEnginesMessageAndPlayingGoesOn)
{
    const std::string notes = folder_.Path("notes.txt");
    WriteText(notes, "not a song\n");
    TMidasSound player;
    player.Start({});
    // The engine's own texts name the file.
    const auto notAModule = player.PlayFile(notes);
    EXPECT_EQ(notAModule.Outcome, TOutcome::Refused);
    EXPECT_THAT(notAModule.Message, ::testing::HasSubstr(notes));
    const auto missing = player.PlayFile(folder_.Path("missing.xm"));
    EXPECT_EQ(missing.Outcome, TOutcome::Refused);
    EXPECT_THAT(missing.Message, ::testing::HasSubstr("missing.xm"));
    EXPECT_FALSE(player.IsPlaying());

    EXPECT_EQ(player.PlayFile(songPath_).Outcome, TOutcome::Playing);
    EXPECT_EQ(player.PlayFile(notes).Outcome, TOutcome::Refused);
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.GetFileName(), songPath_);
}

TEST_F(RealEngine, AMixRateTheEngineClampsStillStarts)
{
    TMidasSound player;
    TSoundSettings settings;
    settings.MixRate = 1000;
    player.Start(settings);
    EXPECT_EQ(player.PlayFile(songPath_).Outcome, TOutcome::Playing);
    EXPECT_EQ(player.GetSettings().MixRate, 1000) << "kept as given, for Sound.opt";
}

} // namespace
} // namespace soundtest

// The player on the real engine, its output going to a file through SDL's
// disk driver: a song made here plays, moves on, jumps, survives a
// settings change at its order position, and stops.

#include "SoundTestSupport.h"

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
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", folder_.Path("output.raw").c_str(), 1);
        // A pause of 1 ms after each device block of about 12 ms: the song
        // runs some ten times faster than real time, and a slow position
        // still lasts many seconds.
        setenv("SDL_DISKAUDIODELAY", "1", 1);
        songPath_ = folder_.Path("two speeds.xm");
        modwriter::WriteFile(songPath_, modwriter::WriteXM(TwoSpeedSong()));
    }

    TMidasSound* MakePlayer()
    {
        TMidasSound* player = TComponent::Create<TMidasSound>(&owner_, folder_.Dir(), Recorder());
        player->Start();
        return player;
    }

    std::string songPath_;
};

TEST_F(RealEngine, PlaysJumpsKeepsItsPlaceThroughASettingsChangeAndStops)
{
    TMidasSound* player = MakePlayer();
    ASSERT_TRUE(player->PlayFile(songPath_));
    EXPECT_TRUE(player->IsPlaying());
    EXPECT_EQ(player->GetSongLength(), 4);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int position = player->GetPosition();
    EXPECT_GE(position, 0);
    while (position < 1 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        position = player->GetPosition();
    }
    EXPECT_GE(position, 1) << "the song didn't move on";
    EXPECT_GT(std::filesystem::file_size(folder_.Path("output.raw")), 0u);

    player->SetPosition(3);
    EXPECT_EQ(player->GetPosition(), 3);

    player->ApplySettings(11025, false, false, 2);
    EXPECT_TRUE(player->IsPlaying());
    EXPECT_EQ(player->GetPosition(), 3);
    EXPECT_EQ(player->GetSongLength(), 4);

    player->Stop();
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(player->GetPosition(), -1);
    EXPECT_EQ(player->GetSongLength(), -1);

    player->Free();
    EXPECT_TRUE(messages_.empty());
    EXPECT_THAT(Lines(SettingsPath()),
        ::testing::ElementsAre("[Sound]", "Mixrate=11025", "Stereo=0", "16 Bit=0", "Filter Mode=2", "Volume=100"));
}

TEST_F(RealEngine, AFileThatIsNoModuleShowsTheEnginesMessageAndPlayingGoesOn)
{
    const std::string notes = folder_.Path("notes.txt");
    WriteText(notes, "not a song\n");
    TMidasSound* player = MakePlayer();
    EXPECT_FALSE(player->PlayFile(notes));
    EXPECT_FALSE(player->PlayFile(folder_.Path("missing.xm")));
    ASSERT_EQ(messages_.size(), 2u);
    // The engine's own texts name the file.
    EXPECT_THAT(messages_[0].text, ::testing::HasSubstr(notes));
    EXPECT_THAT(messages_[1].text, ::testing::HasSubstr("missing.xm"));
    for (const ShownMessage& message : messages_)
        EXPECT_EQ(message.kind, TSoundFailure::TKind::Engine);
    EXPECT_FALSE(player->IsPlaying());

    EXPECT_TRUE(player->PlayFile(songPath_));
    EXPECT_TRUE(player->IsPlaying());
}

TEST_F(RealEngine, AMixRateTheEngineClampsStillStartsAndIsStoredAsGiven)
{
    StoreSettings({"Mixrate=1000"});
    TMidasSound* player = MakePlayer();
    ASSERT_TRUE(player->PlayFile(songPath_));
    player->Free();
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Lines(SettingsPath()).at(1), "Mixrate=1000");
}

} // namespace
} // namespace soundtest

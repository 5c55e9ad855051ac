// Pause, the master volume, the play time and the module's own texts: what
// the desktop's media controls ask of the engine.

#include "EngineTestSupport.h"
#include "engine/MidasTesting.h"

#include <algorithm>
#include <cmath>

namespace enginetest {
namespace {

constexpr int Rate = 22050;

int LargestStep(const std::vector<int>& samples, std::size_t from, std::size_t to)
{
    int largest = 0;
    for (std::size_t i = from + 1; i < to; ++i)
        largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    return largest;
}

// Frequency of a sine from its rising zero crossings.
double Frequency(const std::vector<int>& samples, std::size_t from, std::size_t to)
{
    int rising = 0;
    for (std::size_t i = from + 1; i < to; ++i)
        rising += samples[i - 1] <= 0 && samples[i] > 0;
    return rising * static_cast<double>(Rate) / static_cast<double>(to - from);
}

class Controls : public EngineTest {
protected:
    MIDASmodulePlayHandle PlaySine(const modwriter::Module& song)
    {
        StartEngine(Rate, MIDAS_MODE_16BIT_MONO, 1);
        const auto path = folder_.Write("sine.xm", modwriter::WriteXM(song));
        const MIDASmodulePlayHandle play = MIDASplayModule(MIDASloadModule(path.c_str()), 1);
        EXPECT_NE(play, 0u) << LastErrorText();
        return play;
    }
    std::vector<int> Heard(double seconds) { return Decode(Mix(seconds), 1, 16)[0]; }
    std::uint32_t PlayTime(MIDASmodulePlayHandle play)
    {
        std::uint32_t ms = 0;
        EXPECT_EQ(MIDASgetPlayTime(play, &ms), 1) << LastErrorText();
        return ms;
    }
};

TEST_F(Controls, PauseFadesOutHoldsThePlaceAndResumesFromIt)
{
    const MIDASmodulePlayHandle play = PlaySine(SineSong());
    // Into order position 1, whose note is a semitone above the first.
    Heard(SecondsPerOrder * 1.5);
    const int order = Position(play);
    const std::uint32_t time = PlayTime(play);
    ASSERT_EQ(order, 1);

    ASSERT_EQ(MIDASpauseModule(play, 1), 1);
    const auto paused = Heard(1.0);
    const std::size_t fade = Rate / 200;
    EXPECT_GT(*std::max_element(paused.begin(), paused.begin() + fade), 1000) << "the pause fades rather than cuts";
    EXPECT_TRUE(std::all_of(paused.begin() + fade, paused.end(), [](int v) { return v == 0; }));
    EXPECT_EQ(Position(play), order);
    EXPECT_NEAR(PlayTime(play), time + 5, 2) << "a second paused moves nothing but the fade";

    ASSERT_EQ(MIDASpauseModule(play, 0), 1);
    const auto resumed = Heard(0.1);
    EXPECT_LE(std::abs(resumed[0]), 1000) << "the resume fades in";
    EXPECT_NEAR(Frequency(resumed, fade, resumed.size()), SineSongHz * std::pow(2.0, 1 / 12.0), 40.0)
        << "the same note goes on";
    EXPECT_EQ(Position(play), order);
    EXPECT_NEAR(PlayTime(play), time + 105, 25);
}

TEST_F(Controls, VolumeScalesTheLevelWithoutAStep)
{
    const MIDASmodulePlayHandle play = PlaySine(HeldSineSong(0));
    const auto full = Heard(0.5);
    const double fullLevel = Rms(full, full.size() / 2, full.size() / 2);
    const int ownStep = LargestStep(full, full.size() / 2, full.size());

    ASSERT_EQ(MIDASsetMasterVolume(50), 1);
    const auto half = Heard(0.5);
    EXPECT_NEAR(Rms(half, half.size() / 2, half.size() / 2) / fullLevel, 0.5, 0.01);
    EXPECT_LE(LargestStep(half, 0, half.size()), ownStep) << "the change is ramped, not a step";

    // Kept across a restart of the engine, as the player relies on.
    ASSERT_EQ(MIDASclose(), 1);
    const MIDASmodulePlayHandle again = PlaySine(HeldSineSong(0));
    const auto restarted = Heard(0.5);
    EXPECT_NEAR(Rms(restarted, restarted.size() / 2, restarted.size() / 2) / fullLevel, 0.5, 0.01);
    EXPECT_EQ(MIDASsetMasterVolume(100), 1);
    EXPECT_EQ(MIDASstopModule(again), 1);
    (void)play;
}

TEST_F(Controls, PlayTimeFollowsWhatIsHeardAndJumps)
{
    const MIDASmodulePlayHandle play = PlaySine(SineSong());
    EXPECT_EQ(PlayTime(play), 0u);
    Heard(1.0);
    EXPECT_NEAR(PlayTime(play), 1000, 50);

    ASSERT_EQ(MIDASsetPlayTime(play, 2600), 1);
    EXPECT_EQ(Position(play), 4) << "2.6 s is in the fifth order position of 0.64 s each";
    EXPECT_NEAR(PlayTime(play), 2600, 20);
    const auto after = Heard(0.2);
    EXPECT_NEAR(Frequency(after, after.size() / 4, after.size()), SineSongHz * std::pow(2.0, 4 / 12.0), 40.0);
}

// A row of this song lasts 2.4 s: a jump into the middle of it goes on
// from that very time, not from the row's start; what is then heard is the
// held note going on, not struck anew.
TEST_F(Controls, PlayTimeJumpsWithinARowToTheVeryTime)
{
    modwriter::Module song = HeldSineSong(0);
    song.initialSpeed = 31;
    song.initialTempo = 32;
    const MIDASmodulePlayHandle play = PlaySine(song);
    Heard(0.3);
    ASSERT_EQ(MIDASsetPlayTime(play, 1500), 1);
    EXPECT_NEAR(PlayTime(play), 1500, 5);
    Heard(0.5);
    EXPECT_NEAR(PlayTime(play), 2000, 50);
}

// libopenmpt counts play time on across a loop; the engine tells the time
// within the song, from the loop's start again.
TEST_F(Controls, PlayTimeGoesRoundWithTheSongsLoop)
{
    StartEngine(Rate, MIDAS_MODE_16BIT_MONO, 1);
    const auto path = folder_.Write("loop.xm", modwriter::WriteXM(LoopingSong()));
    const MIDASmodulePlayHandle play = MIDASplayModule(MIDASloadModule(path.c_str()), 1);
    ASSERT_NE(play, 0u) << LastErrorText();
    const double length = LoopingSongLength * SecondsPerOrder;
    Heard(length - 0.3);
    EXPECT_NEAR(PlayTime(play), (length - 0.3) * 1000, 60);
    Heard(0.8);
    const double loopStart = LoopingSongRestart * SecondsPerOrder;
    EXPECT_NEAR(PlayTime(play), (loopStart + 0.5) * 1000, 60) << "half a second into the second pass";
}

TEST_F(Controls, ModuleDetailsGiveTheTextsAsStoredAndTheLength)
{
    StartEngine(Rate, MIDAS_MODE_16BIT_MONO, 1);
    modwriter::Module song = SineSong();
    song.name = "Sine steps";
    song.instruments[0].name = "A. Composer";
    const auto path = folder_.Write("sine.xm", modwriter::WriteXM(song));
    const MIDASmodule module = MIDASloadModule(path.c_str());
    MIDASmoduleDetails details{};
    ASSERT_EQ(MIDASgetModuleDetails(module, &details), 1) << LastErrorText();
    EXPECT_STREQ(details.title, "Sine steps");
    EXPECT_STREQ(details.artist, "") << "XM keeps no artist";
    EXPECT_NEAR(details.durationMs, SineSongLength * SecondsPerOrder * 1000, 20);

    char name[8];
    ASSERT_EQ(MIDASgetInstrumentName(module, 0, name, sizeof name), 1) << LastErrorText();
    EXPECT_STREQ(name, "A. Comp") << "cut to fit";
    EXPECT_EQ(MIDASgetInstrumentName(module, 1, name, sizeof name), 0);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_INVALID_ARGUMENT);
}

} // namespace
} // namespace enginetest

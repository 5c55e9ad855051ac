#pragma once

// Songs made with the module writer, and the sound device the tests use:
// SDL's disk driver, which writes the raw output to a file.

#include "engine/Midas.h"
#include "tests/support/TempFolder.h"
#include "tools/modwriter/ModuleWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace enginetest {

// Six order positions over six patterns of 64 rows, 0.64 s each, four
// channels, restarting at order position 2. Every position sounds.
modwriter::Module LoopingSong();
inline constexpr int LoopingSongLength = 6;
inline constexpr int LoopingSongRestart = 2;
inline constexpr double SecondsPerOrder = 0.64;

// One endless note on channel 0, panned hard left where the format allows:
// a square wave of 220.5 Hz.
modwriter::Module ToneSong();
inline constexpr double ToneHz = 220.5;

// Square waves over four octaves on four channels: much above 5 kHz.
modwriter::Module BrightSong();

// A sine of 1 kHz at C-4, a new note at the start of each of SineSongLength
// order positions of 0.64 s, a semitone higher at each one, starting
// `semitone` above C-4.
modwriter::Module SineSong(int semitone = 0);
inline constexpr int SineSongLength = 6;
inline constexpr double SineSongHz = 1000.0;

// One sine note `semitone` above C-4, struck once and held for ever: order
// position 0 strikes it, the song then loops through the empty position 1. A
// smooth sound whose steepest step is small, and in which a cut would show.
modwriter::Module HeldSineSong(int semitone);

// Interleaved frames decoded to centred integers of 16-bit scale, one list
// per channel, whatever the sample size.
std::vector<std::vector<int>> Decode(const std::vector<std::uint8_t>& raw, int channels, int bits);

// Root mean square of `count` samples from `from` on.
double Rms(const std::vector<int>& samples, std::size_t from, std::size_t count);

// Points SDL at the disk driver writing to `capture`, one device buffer at
// a time in real time, as a sound card would take them: the decoder has to
// keep up with a device, not with a disk.
void UseDiskOutput(const std::string& capture);

// startup, the options, init; asserts success.
void StartEngine(int rate, int mode, int filter);

// Every test starts and ends with a closed engine.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Mixes `seconds` of output by hand (background play stopped).
    std::vector<std::uint8_t> Mix(double seconds);
    int Position(MIDASmodulePlayHandle play);
    std::string LastErrorText();

    TempFolder folder_;
};

// Files the engine refuses, each with a text naming it and the reason.
class BadFiles : public EngineTest {
protected:
    void ExpectLoadFails(const std::string& path, int code, const std::string& reason)
    {
        EXPECT_EQ(MIDASloadModule(path.c_str()), 0u);
        EXPECT_EQ(MIDASgetLastError(), code);
        EXPECT_EQ(LastErrorText(), "Unable to load module " + path + ": " + reason);
    }
};

} // namespace enginetest

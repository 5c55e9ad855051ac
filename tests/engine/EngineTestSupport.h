#pragma once

// Songs made with the module writer, and the sound device the tests use:
// SDL's disk driver, which writes the raw output to a file.

#include "engine/Midas.h"
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

// A fresh folder for one test's files, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::string Path(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);

// Points SDL at the disk driver writing to `capture`; delayMs between device
// buffers (SDL's default is real time).
void UseDiskOutput(const std::string& capture, int delayMs);

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

    TempFolder m_folder;
};

} // namespace enginetest

#include "EngineTestSupport.h"
#include "engine/MidasTesting.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace enginetest {
namespace {

using modwriter::Cell;
using modwriter::Instrument;
using modwriter::Module;
using modwriter::Note;
using modwriter::Pattern;

// period frames long: half high, half low.
modwriter::Sample SquareSample(int period)
{
    modwriter::Sample sample;
    sample.name = "square";
    for (int i = 0; i < period; ++i)
        sample.data.push_back(static_cast<std::int16_t>(i < period / 2 ? 16000 : -16000));
    sample.loopLength = period;
    return sample;
}

} // namespace

Module LoopingSong()
{
    Module module;
    module.name = "looping song";
    module.channels = 4;
    module.initialSpeed = 1;
    module.initialTempo = 250; // 10 ms per row
    module.restartPosition = LoopingSongRestart;
    for (int p = 0; p < LoopingSongLength; ++p) {
        module.orders.push_back(static_cast<std::uint8_t>(p));
        Pattern pattern(64, 4);
        for (int row = 0; row < 64; row += 8)
            pattern.At(row, row / 8 % 4, 4) = Cell { Note(3 + p % 2, (row / 8 + p) % 12), 1, 0, 0, 0 };
        module.patterns.push_back(pattern);
    }
    Instrument instrument;
    instrument.name = "square";
    instrument.sample = SquareSample(64);
    module.instruments.push_back(instrument);
    return module;
}

Module ToneSong()
{
    Module module;
    module.name = "tone";
    module.channels = 4;
    module.orders = { 0 };
    module.patterns.emplace_back(64, 4);
    module.patterns[0].At(0, 0, 4) = Cell { Note(4, 0), 1, 0, 0, 0 };
    Instrument instrument;
    instrument.name = "tone";
    instrument.sample = SquareSample(100);
    instrument.sample.sampleRate = 22050;
    instrument.sample.panning = 0;
    module.instruments.push_back(instrument);
    return module;
}

Module BrightSong()
{
    Module module = LoopingSong();
    module.name = "bright";
    module.restartPosition = 0;
    for (std::size_t p = 0; p < module.patterns.size(); ++p) {
        for (int channel = 0; channel < 4; ++channel)
            module.patterns[p].At(0, channel, 4) = Cell { Note(3 + channel, static_cast<int>(p) * 2 + channel), 1, 0, 0, 0 };
    }
    module.instruments[0].sample = SquareSample(16);
    return module;
}

TempFolder::TempFolder()
{
    static std::mt19937 random(std::random_device {}());
    m_path = std::filesystem::temp_directory_path() / ("velmora-engine-" + std::to_string(random()));
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempFolder::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    const std::string path = Path(name);
    modwriter::WriteFile(path, bytes);
    return path;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

void UseDiskOutput(const std::string& capture, int delayMs)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", std::to_string(delayMs).c_str(), 1);
}

void StartEngine(int rate, int mode, int filter)
{
    ASSERT_EQ(MIDASstartup(), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_MIXBUFLEN, 1000), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_MIXBUFBLOCKS, 2), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_MIXRATE, rate), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_FILTER_MODE, filter), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_OUTPUTMODE, mode), 1);
    ASSERT_EQ(MIDASinit(), 1) << MIDASgetErrorMessage(MIDASgetLastError());
}

void EngineTest::SetUp()
{
    ASSERT_EQ(MIDASclose(), 1);
    UseDiskOutput(m_folder.Path("capture.raw"), 1);
}

void EngineTest::TearDown()
{
    EXPECT_EQ(MIDASstopBackgroundPlay(), 1);
    EXPECT_EQ(MIDASclose(), 1);
}

std::vector<std::uint8_t> EngineTest::Mix(double seconds)
{
    int32_t rate = 0, channels = 0, bits = 0, frames = 0;
    EXPECT_EQ(MIDASgetOutputFormat(&rate, &channels, &bits, &frames), 1);
    const auto bytes = static_cast<std::size_t>(seconds * rate) * static_cast<std::size_t>(channels * bits / 8);
    std::vector<std::uint8_t> buffer(bytes);
    EXPECT_EQ(MIDASmixInto(buffer.data(), static_cast<uint32_t>(buffer.size())), 1) << LastErrorText();
    return buffer;
}

int EngineTest::Position(MIDASmodulePlayHandle play)
{
    MIDASplayStatus status {};
    EXPECT_EQ(MIDASgetPlayStatus(play, &status), 1) << LastErrorText();
    return status.position;
}

std::string EngineTest::LastErrorText()
{
    return MIDASgetErrorMessage(MIDASgetLastError());
}

} // namespace enginetest

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct SongFacts {
    int number;
    const char* title;
    int restartOrder; // where the song goes on after its last order position
};

constexpr SongFacts Songs[] = {
    {1, "Velmora Skies", 2},
    {2, "Glass Harbour", 1},
    {3, "Ember Drive", 2},
    {4, "Quiet Orbit", 1},
    {5, "Last Tram Home", 1},
};

std::vector<char> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::filesystem::path SongPath(const std::filesystem::path& folder, int number)
{
    return folder / ("song" + std::to_string(number) + ".xm");
}

class Song : public ::testing::TestWithParam<SongFacts> {
protected:
    std::vector<char> Bytes() const { return ReadFile(SongPath(VELMORA_ASSETS, GetParam().number)); }
};

TEST_P(Song, DescribesItselfAsAnAlbumTrack)
{
    const auto bytes = Bytes();
    ASSERT_FALSE(bytes.empty()) << "missing " << SongPath(VELMORA_ASSETS, GetParam().number);
    openmpt::module song(bytes);
    EXPECT_EQ(song.get_metadata("type"), "xm");
    EXPECT_EQ(song.get_metadata("title"), GetParam().title);
    EXPECT_GE(song.get_num_orders(), 8);
    EXPECT_LE(song.get_num_orders(), 24);
    EXPECT_GE(song.get_num_channels(), 6);
    EXPECT_GE(song.get_duration_seconds(), 60.0);
    EXPECT_LE(song.get_duration_seconds(), 180.0);
    EXPECT_GE(song.get_num_instruments(), 6);
    EXPECT_NE(song.get_metadata("message").find("Vilmar Yrndahl (VYR)"), std::string::npos) << "the composer's credit";
}

TEST_P(Song, WritesMusicNotATestTone)
{
    openmpt::module song(Bytes());
    std::set<int> pitches;
    for (std::int32_t pattern = 0; pattern < song.get_num_patterns(); ++pattern)
        for (std::int32_t row = 0; row < song.get_pattern_num_rows(pattern); ++row)
            for (std::int32_t channel = 0; channel < song.get_num_channels(); ++channel) {
                const int note =
                    song.get_pattern_row_channel_command(pattern, row, channel, openmpt::module::command_note);
                if (note > 0 && note <= 120)
                    pitches.insert(note);
            }
    EXPECT_GE(pitches.size(), 20u) << "a melody, chords and a bass need many pitches";
}

TEST_P(Song, LoopsBackToItsRestartPosition)
{
    openmpt::module song(Bytes());
    song.set_repeat_count(-1);
    const double length = song.get_duration_seconds();
    std::vector<std::int16_t> buffer(2 * 4096);
    std::size_t frames = 0;
    const auto target = static_cast<std::size_t>((length + 0.5) * 44100);
    while (frames < target) {
        const std::size_t got = song.read_interleaved_stereo(44100, 4096, buffer.data());
        ASSERT_GT(got, 0u) << "the song stopped instead of looping";
        frames += got;
    }
    EXPECT_EQ(song.get_current_order(), GetParam().restartOrder);
}

TEST_P(Song, PlaysAtAListenableLevelWithoutClipping)
{
    openmpt::module song(Bytes());
    song.set_repeat_count(0);
    std::vector<std::int16_t> buffer(2 * 4096);
    double sumOfSquares = 0;
    std::size_t samples = 0;
    int peak = 0;
    while (const std::size_t frames = song.read_interleaved_stereo(44100, 4096, buffer.data())) {
        for (std::size_t i = 0; i < frames * 2; ++i) {
            const int value = buffer[i];
            peak = std::max(peak, std::abs(value));
            sumOfSquares += static_cast<double>(value) * value;
        }
        samples += frames * 2;
    }
    ASSERT_GT(samples, 0u);
    const double rms = 20.0 * std::log10(std::sqrt(sumOfSquares / samples) / 32768.0);
    EXPECT_LT(peak, 32767) << "the song clips";
    EXPECT_GE(rms, -20.0);
    EXPECT_LE(rms, -10.0);
}

INSTANTIATE_TEST_SUITE_P(Disc, Song, ::testing::ValuesIn(Songs),
    [](const auto& info) { return "Song" + std::to_string(info.param.number); });

TEST(Songs, EachHasItsOwnTempoAndTitle)
{
    std::set<int> tempos;
    std::set<std::string> titles;
    for (const SongFacts& facts : Songs) {
        openmpt::module song(ReadFile(SongPath(VELMORA_ASSETS, facts.number)));
        tempos.insert(song.get_current_tempo());
        titles.insert(song.get_metadata("title"));
        EXPECT_LE(song.get_metadata("title").size(), 18u);
    }
    EXPECT_EQ(tempos.size(), 5u);
    EXPECT_EQ(titles.size(), 5u);
}

TEST(Songs, ComposerWritesTheCommittedFilesAgain)
{
    const std::filesystem::path folder = VELMORA_COMPOSED;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string command = std::string("\"") + VELMORA_COMPOSER + "\" \"" + folder.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const SongFacts& facts : Songs) {
        const auto committed = ReadFile(SongPath(VELMORA_ASSETS, facts.number));
        const auto written = ReadFile(SongPath(folder, facts.number));
        ASSERT_FALSE(written.empty()) << "song" << facts.number << ".xm was not written";
        EXPECT_TRUE(committed == written) << "song" << facts.number << ".xm differs from the composer's output";
    }
}

} // namespace

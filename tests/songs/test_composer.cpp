#include "tools/composer/Drums.h"
#include "tools/composer/Instruments.h"
#include "tools/composer/Notation.h"
#include "tools/composer/PatternBuilder.h"
#include "tools/composer/SongBuilder.h"
#include "tools/composer/Theory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

using namespace composer;

TEST(Notation, ReadsNotesInTrackerAndPlainSpelling)
{
    EXPECT_EQ(ParseNote("C-4"), 49);
    EXPECT_EQ(ParseNote("A-4"), 58);
    EXPECT_EQ(ParseNote("C#4"), 50);
    EXPECT_EQ(ParseNote("Db4"), 50);
    EXPECT_EQ(ParseNote("Cb4"), 48); // the letter names the octave, the flat leaves it
    EXPECT_EQ(ParseNote("G4"), 56);
    EXPECT_EQ(ParseNote("B-7"), 96);
    EXPECT_THROW(ParseNote("H-4"), std::invalid_argument);
    EXPECT_THROW(ParseNote("C-8"), std::invalid_argument);
    EXPECT_THROW(ParseNote("C-"), std::invalid_argument);
}

TEST(Notation, ReadsALineOfEventsWithLengthsVolumesAndEffects)
{
    const NoteLine line = ParseNotes("E-5/4v40 . | G-5/2:408 ==/8 v20 C-4i3");
    ASSERT_EQ(line.events.size(), 5u);
    EXPECT_EQ(line.rows, 4 + 1 + 2 + 8 + 1 + 1);
    EXPECT_EQ(line.events[0].row, 0);
    EXPECT_EQ(line.events[0].note, ParseNote("E-5"));
    EXPECT_EQ(line.events[0].volume, 40);
    EXPECT_EQ(line.events[1].row, 5);
    EXPECT_EQ(line.events[1].effect, 4);
    EXPECT_EQ(line.events[1].param, 0x08);
    EXPECT_EQ(line.events[1].volume, -1);
    EXPECT_EQ(line.events[2].row, 7);
    EXPECT_EQ(line.events[2].note, modwriter::NoteOff);
    EXPECT_EQ(line.events[3].row, 15);
    EXPECT_EQ(line.events[3].note, 0);
    EXPECT_EQ(line.events[3].volume, 20);
    EXPECT_EQ(line.events[4].row, 16);
    EXPECT_EQ(line.events[4].instrument, 3);
}

TEST(Notation, RejectsWhatItCannotRead)
{
    EXPECT_THROW(ParseNotes("C-4/0"), std::invalid_argument);
    EXPECT_THROW(ParseNotes("C-4v65"), std::invalid_argument);
    EXPECT_THROW(ParseNotes("C-4:4"), std::invalid_argument);
    EXPECT_THROW(ParseNotes("C-4x"), std::invalid_argument);
    EXPECT_THROW(ParseNotes("hello"), std::invalid_argument);
}

TEST(Theory, ReadsChordSymbols)
{
    const Chord fmaj7 = ParseChord("Fmaj7");
    EXPECT_EQ(fmaj7.root, 5);
    EXPECT_EQ(fmaj7.intervals, (std::vector<int>{0, 4, 7, 11}));
    EXPECT_EQ(ParseChord("Am").intervals, (std::vector<int>{0, 3, 7}));
    EXPECT_EQ(ParseChord("Bbmaj7").root, 10);
    EXPECT_EQ(ParseChord("F#m7").intervals, (std::vector<int>{0, 3, 7, 10}));
    EXPECT_EQ(ParseChord("Am7b5").intervals, (std::vector<int>{0, 3, 6, 10}));
    const Chord slash = ParseChord("C/E");
    EXPECT_EQ(slash.root, 0);
    EXPECT_EQ(slash.bass, 4);
    EXPECT_THROW(ParseChord("Cxyz"), std::invalid_argument);
    EXPECT_THROW(ParseChord("C/"), std::invalid_argument);
}

TEST(Theory, SharesRowsAmongTheChordsOfAProgression)
{
    const Progression even = ParseProgression("Am F C G", 64);
    ASSERT_EQ(even.size(), 4u);
    EXPECT_EQ(even[2].row, 32);
    EXPECT_EQ(even[2].rows, 16);
    const Progression given = ParseProgression("Am:24 F:8 C:32", 64);
    ASSERT_EQ(given.size(), 3u);
    EXPECT_EQ(given[1].row, 24);
    EXPECT_EQ(given[2].rows, 32);
    EXPECT_THROW(ParseProgression("Am:8 F", 64), std::invalid_argument);
    EXPECT_THROW(ParseProgression("Am:8 F:8", 64), std::invalid_argument);
    EXPECT_THROW(ParseProgression("", 64), std::invalid_argument);
}

TEST(Theory, VoicesChordsCloseAndWithLittleMovement)
{
    const int c4 = ParseNote("C-4");
    EXPECT_EQ(ChordTone(ParseChord("Am"), 0, c4), ParseNote("C-4"));
    EXPECT_EQ(ChordTone(ParseChord("Am"), 2, c4), ParseNote("A-4"));
    EXPECT_EQ(ChordTone(ParseChord("Am"), 3, c4), ParseNote("C-5"));
    EXPECT_EQ(BassNote(ParseChord("C/E"), ParseNote("A-1")), ParseNote("E-2"));

    // More tones than voices: the root goes, the third and seventh stay.
    EXPECT_EQ(Voicing(ParseChord("Cmaj7"), 3, c4, ParseNote("C-6"), {}),
        (std::vector<int>{ParseNote("E-4"), ParseNote("G-4"), ParseNote("B-4")}));
    // From C-E-G to F the common C stays and the others step up.
    const std::vector<int> c = {ParseNote("C-4"), ParseNote("E-4"), ParseNote("G-4")};
    EXPECT_EQ(Voicing(ParseChord("F"), 3, ParseNote("A-3"), ParseNote("E-5"), c),
        (std::vector<int>{ParseNote("C-4"), ParseNote("F-4"), ParseNote("A-4")}));
}

TEST(PatternBuilder, RepeatsDrumStepsAndDelaysEchoes)
{
    PatternBuilder pattern(16, 3);
    DrumKit kit;
    kit['k'] = {5, 49, 60};
    pattern.Drums(0, kit, "k...");
    for (int row = 0; row < 16; ++row)
        EXPECT_EQ(pattern.At(row, 0).instrument, row % 4 == 0 ? 5 : 0) << "row " << row;
    EXPECT_EQ(pattern.At(4, 0).volume, 1 + 60);
    EXPECT_THROW(pattern.Drums(0, kit, "x"), std::invalid_argument);

    pattern.Notes(1, 2, "C-4/4v40 E-4/4 ==/2");
    pattern.Echo(1, 2, 3, 7, 0.5, 64);
    EXPECT_EQ(pattern.At(3, 2).note, ParseNote("C-4"));
    EXPECT_EQ(pattern.At(3, 2).instrument, 7);
    EXPECT_EQ(pattern.At(3, 2).volume, 1 + 20);
    EXPECT_EQ(pattern.At(7, 2).volume, 1 + 32);
    EXPECT_EQ(pattern.At(11, 2).note, modwriter::NoteOff);
    EXPECT_THROW(pattern.Notes(1, 2, "C-4/17"), std::invalid_argument);
}

TEST(PatternBuilder, WritesBassFromTheChordsAndHoldsPadNotesThatStay)
{
    PatternBuilder pattern(32, 4);
    const Progression chords = ParseProgression("C Am", 32);
    pattern.Bass(0, 1, chords, "R...F...O...T..=", ParseNote("A-1"));
    EXPECT_EQ(pattern.At(0, 0).note, ParseNote("C-2"));
    EXPECT_EQ(pattern.At(4, 0).note, ParseNote("G-2"));
    EXPECT_EQ(pattern.At(8, 0).note, ParseNote("C-3"));
    EXPECT_EQ(pattern.At(12, 0).note, ParseNote("E-2"));
    EXPECT_EQ(pattern.At(15, 0).note, modwriter::NoteOff);
    EXPECT_EQ(pattern.At(16, 0).note, ParseNote("A-1"));

    pattern.Pad(1, 3, 2, chords, ParseNote("C-4"), ParseNote("C-6"));
    // C-E-G to C-E-A: only the top voice moves and is struck again.
    int struck = 0;
    for (int voice = 1; voice <= 3; ++voice)
        struck += pattern.At(16, voice).note != 0;
    EXPECT_EQ(struck, 1);
}

TEST(SongBuilder, PlacesEveryNoteOfAPlacedChannelAndSignsTheSong)
{
    SongBuilder song("placed", 3, 6, 125);
    const int tone = song.Add(Pluck("tone", song.Sound(1.0, 200), {}));
    song.Place(1, 32);
    song.Place(2, 255);
    auto pattern = song.NewPattern(16);
    pattern.Notes(0, tone, "C-4/4 E-4/4 ==/8");
    pattern.Notes(1, tone, "C-4/4 E-4/4 ==/8", 0, {-1, 1, 0x34});
    pattern.Echo(0, 2, 2, tone, 0.5, 64);
    song.Add(std::move(pattern));
    const modwriter::Module module = song.Finish({0}, 0);

    const auto cell = [&](int row, int channel) {
        return module.patterns[0].cells[static_cast<std::size_t>(row) * 3 + channel];
    };
    EXPECT_EQ(cell(0, 0).effect, 0) << "an unplaced channel keeps its instrument's panning";
    EXPECT_EQ(cell(0, 1).effect, 0x8);
    EXPECT_EQ(cell(0, 1).param, 32);
    EXPECT_EQ(cell(2, 2).param, 255);
    EXPECT_EQ(cell(6, 2).param, 255);
    EXPECT_EQ(cell(8, 1).effect, 0) << "a note-off has nowhere to go";
    EXPECT_EQ(cell(1, 1).effect, 0x4) << "the rows between notes keep their own effects";

    ASSERT_EQ(module.instruments.size(), 2u);
    EXPECT_EQ(module.instruments.back().name, Credit);
    EXPECT_TRUE(module.instruments.back().sample.data.empty()) << "the credit makes no sound";
    EXPECT_THROW(song.Place(3, 128), std::invalid_argument);
    EXPECT_THROW(song.Place(0, 256), std::invalid_argument);

    // A placed note can't carry an effect of its own as well.
    SongBuilder clash("clash", 1, 6, 125);
    clash.Add(Pluck("tone", clash.Sound(1.0), {}));
    clash.Place(0, 64);
    auto notes = clash.NewPattern(4);
    notes.Notes(0, 1, "C-4:304/4");
    clash.Add(std::move(notes));
    EXPECT_THROW(clash.Finish({0}, 0), std::invalid_argument);
}

TEST(Instruments, LoopsJoinWithoutASeam)
{
    const Shape shape{1.0, 128, 50};
    for (const auto& instrument :
        {Lead("lead", shape, {}), Pad("pad", shape, {}), Bass("bass", shape, {}), Pluck("pluck", shape, {})}) {
        const auto& sample = instrument.sample;
        ASSERT_GT(sample.loopLength, 0) << instrument.name;
        const int end = sample.loopStart + sample.loopLength;
        ASSERT_LE(end, static_cast<int>(sample.data.size()));
        // The frame after the loop's last is its first again: the step across
        // the seam is no bigger than the largest step inside the loop.
        int largest = 0;
        for (int i = sample.loopStart; i + 1 < end; ++i)
            largest = std::max(largest, std::abs(sample.data[i + 1] - sample.data[i]));
        EXPECT_LE(std::abs(sample.data[sample.loopStart] - sample.data[end - 1]), largest) << instrument.name;
        if (sample.loopStart > 0) {
            EXPECT_LE(std::abs(sample.data[sample.loopStart - 1] - sample.data[end - 1]), 2) << instrument.name;
        }
        EXPECT_TRUE(instrument.volumeEnvelope.enabled) << instrument.name;
    }
}

TEST(Instruments, DrumsEndInSilenceAndPeakAtTheirLevel)
{
    const Shape shape{0.5, 128, 50};
    for (const auto& drum : {Kick(shape), Snare(shape), Clap(shape), ClosedHat(shape), OpenHat(shape), Shaker(shape),
             Rim(shape), Crash(shape), Tom(shape)}) {
        const auto& data = drum.sample.data;
        ASSERT_FALSE(data.empty()) << drum.name;
        EXPECT_EQ(data.back(), 0) << drum.name;
        EXPECT_EQ(drum.sample.loopLength, 0) << drum.name;
        int peak = 0;
        for (auto v : data)
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_NEAR(peak, 16384, 2) << drum.name;
    }
}

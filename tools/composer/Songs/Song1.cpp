// "Velmora Skies": the opener. A minor, 125 BPM, bright and driving, with a
// singing saw lead over four-on-the-floor drums.

#include "tools/composer/Drums.h"
#include "tools/composer/SongBuilder.h"
#include "tools/composer/Songs/Songs.h"
#include "tools/composer/Theory.h"

namespace composer {
namespace {

namespace ch {
enum : int { Lead,
    Echo,
    Arp,
    Pad1,
    Pad2,
    Pad3,
    Bass,
    Kick,
    Hats,
    Snare };
}

constexpr const char* VerseBass = "R..R..R.R..R..O.";
constexpr const char* ChorusBass = "R.ROR.ROR.ROR.RO";

} // namespace

modwriter::Module Song1()
{
    SongBuilder song("Velmora Skies", 10, 6, 125);
    song.SetMaster(0.9);
    const int lead = song.Add(composer::Lead("Lead", song.Sound(1.0), {Waveform::Saw, 2600, 6500, 8, {4, 250, 50, 250}}));
    const int echo = song.Add(composer::Lead("Lead echo", song.Sound(0.9), {Waveform::Saw, 1800, 3000, 8, {4, 250, 50, 250}}));
    const int harmony = song.Add(composer::Lead("Lead harmony", song.Sound(0.7), {Waveform::Square, 2200, 4000, 6, {6, 250, 48, 250}}));
    const int arp = song.Add(composer::Pluck("Arp", song.Sound(0.6), {Waveform::Square, 4500, 5, 1.2, 450}));
    const int pad = song.Add(composer::Pad("Pad", song.Sound(0.75), {Waveform::Saw, 1700, 5, 16, {500, 400, 52, 800}}));
    const int bass = song.Add(composer::Bass("Bass", song.Sound(0.6), {Waveform::Saw, 600, 2600, 0.5, {2, 250, 48, 50}}));
    const int bell = song.Add(composer::Bell("Bell", song.Sound(0.7), 1800));
    DrumKit kit;
    kit['k'] = {song.Add(composer::Kick(song.Sound(1.0))), 49, 60};
    kit['s'] = {song.Add(composer::Snare(song.Sound(1.0))), 49, 58};
    kit['S'] = {kit['s'].instrument, 49, 64};
    kit['r'] = {kit['s'].instrument, 49, 30};
    kit['h'] = {song.Add(composer::ClosedHat(song.Sound(1.0))), 49, 36};
    kit['H'] = {kit['h'].instrument, 49, 50};
    kit['o'] = {song.Add(composer::OpenHat(song.Sound(0.9))), 49, 32};
    kit['c'] = {song.Add(composer::Clap(song.Sound(0.8, 110))), 49, 40};
    kit['x'] = {song.Add(composer::Crash(song.Sound(0.6, 96))), 49, 44};
    const int tom = song.Add(composer::Tom(song.Sound(0.9, 140)));

    // The stage: bass, kick, snare and the tune in the middle, the chord's
    // voices spread from left to right. The echo and the harmony answer from
    // the left, the arpeggio from the right; the hats lean a little left to
    // hold the top end level against it.
    song.Place(ch::Echo, 24);
    song.Place(ch::Arp, 232);
    song.Place(ch::Pad1, 16);
    song.Place(ch::Pad3, 240);
    song.Place(ch::Hats, 104);
    kit['1'] = {tom, 56, 50};
    kit['2'] = {tom, 51, 50};
    kit['3'] = {tom, 46, 54};

    const int padLow = ParseNote("A-3"), padHigh = ParseNote("E-5");
    const int arpLow = ParseNote("E-5"), bassLow = ParseNote("G-1");
    const Style leadStyle{-1, 6, 0x34};
    const Style softPad{40};
    const Style padStyle{48};

    const Progression verse = ParseProgression("Am F C G", 64);
    const Progression verseTurn = ParseProgression("Am F C E", 64);
    const Progression chorus = ParseProgression("F G Em Am", 64);
    const Progression chorusTurn = ParseProgression("F G C E", 64);
    const Progression breakdown = ParseProgression("Dm Am F G", 64);
    const Progression rise = ParseProgression("Dm Am F E", 64);

    const char* themeA = "E-4/4 A-4/2 B-4/2 C-5/6 B-4/2 | A-4/6 G-4/2 F-4/4 E-4/4 | G-4/4 E-4/2 G-4/2 C-5/4 D-5/4 | B-4/8 D-5/4 B-4/2 G-4/2";
    const char* themeA2 = "E-4/4 A-4/2 B-4/2 C-5/6 E-5/2 | F-5/6 E-5/2 C-5/4 A-4/4 | G-4/4 C-5/2 E-5/2 D-5/4 C-5/4 | B-4/12 G#4/4";
    const char* themeB = "A-4/3 C-5/3 F-5/4 E-5/2 C-5/4 | D-5/3 B-4/3 G-4/4 B-4/2 D-5/4 | E-5/6 D-5/2 B-4/4 G-4/4 | A-4/12 E-4/2 G-4/2";
    const char* themeB2 = "A-4/3 C-5/3 F-5/4 E-5/2 F-5/4 | G-5/3 F-5/3 D-5/4 B-4/2 D-5/4 | E-5/6 D-5/2 C-5/4 E-5/4 | D-5/4 C-5/4 B-4/6 ==/2";
    const char* harmonyA = "C-4/4 E-4/2 G-4/2 A-4/6 G-4/2 | F-4/6 E-4/2 C-4/4 C-4/4 | E-4/4 C-4/2 E-4/2 G-4/4 B-4/4 | G-4/8 B-4/4 G-4/2 D-4/2";

    // 0: intro: the theme's first notes on a bell over pads, bass and arpeggio.
    auto p = song.NewPattern();
    p.Pad(ch::Pad1, 3, pad, verse, padLow, padHigh, softPad);
    p.Arp(ch::Arp, arp, verse, "0123", arpLow, {28});
    p.Bass(ch::Bass, bass, verse, "R...............", bassLow, {44});
    p.Notes(ch::Lead, bell, "E-5/4 A-5/2 B-5/2 C-6/6 B-5/2 | A-5/16 | G-5/4 E-5/2 G-5/2 C-6/4 D-6/4 | B-5/16", 0, {40});
    p.Echo(ch::Lead, ch::Echo, 6, bell, 0.45, 40);
    p.Drums(ch::Hats, kit, "h.", 32);
    p.Drums(ch::Snare, kit, "x", 0, 1);
    const int intro = song.Add(std::move(p));

    // 1: the bass and the kick arrive, a snare roll leads in.
    p = song.NewPattern();
    p.Pad(ch::Pad1, 3, pad, verse, padLow, padHigh, softPad);
    p.Arp(ch::Arp, arp, verse, "0123", arpLow, {24});
    p.Bass(ch::Bass, bass, verse, VerseBass, bassLow);
    p.Drums(ch::Kick, kit, "k...");
    p.Drums(ch::Hats, kit, "..h.");
    p.Drums(ch::Snare, kit, "....s.......s...", 0, 48);
    p.Drums(ch::Snare, kit, "r.r.s.r.sssrSSSS", 48);
    const int build = song.Add(std::move(p));

    auto full = [&](const Progression& chords, const char* melody, const char* bassRhythm, bool crash) {
        auto q = song.NewPattern();
        q.Pad(ch::Pad1, 3, pad, chords, padLow, padHigh, {46});
        q.Arp(ch::Arp, arp, chords, "0120", arpLow, {30});
        q.Bass(ch::Bass, bass, chords, bassRhythm, bassLow);
        q.Notes(ch::Lead, lead, melody, 0, leadStyle);
        q.Echo(ch::Lead, ch::Echo, 3, echo, 0.45, 64);
        q.Drums(ch::Kick, kit, "k...");
        q.Drums(ch::Hats, kit, "hhoh");
        q.Drums(ch::Snare, kit, "....s.......s...");
        if (crash)
            q.Drums(ch::Snare, kit, "x", 0, 1);
        return q;
    };

    // 2-5: the theme, then the chorus.
    const int a1 = song.Add(full(verse, themeA, VerseBass, true));
    auto q = full(verseTurn, themeA2, VerseBass, false);
    q.Drums(ch::Snare, kit, "....s...s.s.ssSS", 48);
    const int a2 = song.Add(std::move(q));
    q = full(chorus, themeB, ChorusBass, true);
    q.Drums(ch::Snare, kit, "....c.......c...");
    q.Drums(ch::Snare, kit, "x", 0, 1);
    q.Clear(ch::Echo);
    q.Notes(ch::Echo, harmony, "C-4/3 E-4/3 A-4/4 G-4/2 A-4/4 | B-4/3 G-4/3 D-4/4 G-4/2 B-4/4 | B-4/6 B-4/2 G-4/4 E-4/4 | E-4/12 C-4/2 E-4/2", 0, {34});
    const int b1 = song.Add(std::move(q));
    q = full(chorusTurn, themeB2, ChorusBass, false);
    q.Drums(ch::Snare, kit, "....c.......c...", 0, 48);
    q.Drums(ch::Snare, kit, "....c...1.2.3.33", 48);
    q.Clear(ch::Echo);
    q.Notes(ch::Echo, harmony, "C-4/3 F-4/3 A-4/4 G-4/2 A-4/4 | B-4/3 A-4/3 B-4/4 G-4/2 B-4/4 | C-5/6 G-4/2 G-4/4 C-5/4 | B-4/4 A-4/4 G#4/6 ==/2", 0, {34});
    const int b2 = song.Add(std::move(q));

    // 6: the breakdown: no kick, a bell over the pads.
    p = song.NewPattern();
    for (int c : {ch::Lead, ch::Echo})
        p.Off(c);
    p.Pad(ch::Pad1, 3, pad, breakdown, padLow, padHigh, padStyle);
    p.Arp(ch::Arp, arp, breakdown, "0.1.2.1.", arpLow, {22});
    p.Bass(ch::Bass, bass, breakdown, "R.......=.......", bassLow);
    p.Notes(ch::Lead, bell, "F-5/8 A-5/8 | E-5/8 C-5/8 | A-4/8 C-5/4 F-5/4 | D-5/16", 0, {40});
    p.Echo(ch::Lead, ch::Echo, 6, bell, 0.4, 40);
    p.Drums(ch::Hats, kit, "..h.");
    p.Drums(ch::Snare, kit, "x", 0, 1);
    const int down = song.Add(std::move(p));

    // 7: the rise back into the theme.
    p = song.NewPattern();
    p.Pad(ch::Pad1, 3, pad, rise, padLow, padHigh, padStyle);
    p.Arp(ch::Arp, arp, rise, "0121", arpLow, {26});
    p.Bass(ch::Bass, bass, rise, "R...R...R...R...", bassLow);
    p.Notes(ch::Lead, bell, "A-5/8 F-5/8 | E-5/8 A-5/8 | C-6/8 A-5/8 | G#5/8 B-5/8", 0, {40});
    p.Echo(ch::Lead, ch::Echo, 6, bell, 0.4, 40);
    p.Drums(ch::Kick, kit, "k.......", 32);
    p.Drums(ch::Hats, kit, "hhoh", 32);
    p.Drums(ch::Snare, kit, "r...s...r...s...r.r.s.r.s.s.ssss", 0, 32);
    p.Drums(ch::Snare, kit, "s.s.s.s.ssssSSSS", 48);
    p.Drums(ch::Snare, kit, "s.s.s.s.", 32, 8);
    p.Drums(ch::Snare, kit, "ssssssss", 40, 8);
    const int up = song.Add(std::move(p));

    // 8: the theme again with a harmony under it.
    q = full(verse, themeA, VerseBass, true);
    q.Clear(ch::Echo);
    q.Notes(ch::Echo, harmony, harmonyA, 0, {34});
    q.Arp(ch::Arp, arp, verse, "0123", arpLow, {26});
    const int a3 = song.Add(std::move(q));

    return song.Finish({intro, build, a1, a2, b1, b2, down, up, a3, a2, b1, b2}, 2);
}

} // namespace composer

// "Ember Drive": E minor, 140 BPM, restless and bright: a running
// arpeggio, a galloping bass and a square lead that climbs.

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

constexpr const char* Gallop = "R.RRO.RRR.RRO.RR";

} // namespace

modwriter::Module Song3()
{
    SongBuilder song("Ember Drive", 10, 6, 140);
    song.SetMaster(0.85);
    const int lead = song.Add(composer::Lead("Lead", song.Sound(0.85), {Waveform::Square, 3200, 7000, 10, {2, 200, 52, 150}, 1.8}));
    const int echo = song.Add(composer::Lead("Lead echo", song.Sound(0.9), {Waveform::Square, 2000, 3000, 10, {2, 200, 52, 150}, 1.8}));
    const int harmony = song.Add(composer::Lead("Harmony", song.Sound(0.8), {Waveform::Saw, 2400, 4000, 7, {4, 200, 50, 150}, 1.2}));
    const int arp = song.Add(composer::Pluck("Arp", song.Sound(0.8), {Waveform::Saw, 5500, 6, 1.5, 300}));
    const int pad = song.Add(composer::Pad("Pad", song.Sound(0.8), {Waveform::Saw, 2000, 5, 20, {300, 300, 54, 500}}));
    const int bass = song.Add(composer::Bass("Bass", song.Sound(0.65), {Waveform::Saw, 700, 3200, 0.4, {1, 120, 40, 40}}));
    const int bell = song.Add(composer::Bell("Bell", song.Sound(0.9), 1600));
    DrumKit kit;
    kit['k'] = {song.Add(composer::Kick(song.Sound(1.0), 1.2)), 49, 62};
    const int snare = song.Add(composer::Snare(song.Sound(1.0), 1.1));
    kit['s'] = {snare, 49, 60};
    kit['S'] = {snare, 49, 64};
    kit['r'] = {snare, 49, 30};
    const int hat = song.Add(composer::ClosedHat(song.Sound(1.0)));
    kit['h'] = {hat, 49, 30};
    kit['H'] = {hat, 49, 44};
    kit['o'] = {song.Add(composer::OpenHat(song.Sound(0.9))), 49, 34};
    kit['x'] = {song.Add(composer::Crash(song.Sound(0.7, 90))), 49, 48};
    kit['c'] = {song.Add(composer::Clap(song.Sound(0.9, 140))), 49, 46};
    const int tom = song.Add(composer::Tom(song.Sound(1.0)));
    kit['1'] = {tom, 58, 54};
    kit['2'] = {tom, 54, 54};
    kit['3'] = {tom, 49, 58};
    kit['4'] = {tom, 44, 60};

    // The stage: the lead, bass, kick and snare in the middle, the pad's
    // voices spread wide. The echo and the harmony run on the left, the
    // arpeggio on the right; the hats and toms stand a touch left of the middle.
    song.Place(ch::Echo, 24);
    song.Place(ch::Arp, 232);
    song.Place(ch::Pad1, 16);
    song.Place(ch::Pad3, 240);
    song.Place(ch::Hats, 112);

    const int padLow = ParseNote("G-3"), padHigh = ParseNote("D-5");
    const int arpLow = ParseNote("B-4"), bassLow = ParseNote("E-1");
    const Style leadStyle{-1, 8, 0x44};
    const Style padStyle{50};

    const Progression verse = ParseProgression("Em C D Bm", 64);
    const Progression verseTurn = ParseProgression("Em C D B", 64);
    const Progression chorus = ParseProgression("C D Bm Em", 64);
    const Progression chorusTurn = ParseProgression("Am C D B", 64);
    const Progression breakdown = ParseProgression("Em:32 Cmaj7:32", 64);
    const Progression rise = ParseProgression("Am:32 B:32", 64);

    const char* themeA = "B-3/2 E-4/2 G-4/2 B-4/4 A-4/2 G-4/2 F#4/2 | G-4/4 E-4/4 C-4/2 E-4/2 G-4/4 | F#4/2 A-4/2 D-5/4 C-5/2 B-4/2 A-4/4 | F#4/6 D-4/2 B-3/8";
    const char* themeA2 = "B-3/2 E-4/2 G-4/2 B-4/4 A-4/2 G-4/2 F#4/2 | G-4/4 E-4/4 C-5/4 B-4/2 A-4/2 | A-4/2 F#4/2 D-5/4 E-5/2 D-5/2 C-5/2 A-4/2 | B-4/8 D#5/4 F#5/4";
    const char* themeB = "E-5/6 D-5/2 C-5/4 G-4/4 | F#5/6 E-5/2 D-5/4 A-4/4 | D-5/4 B-4/4 F#4/4 B-4/4 | G-4/4 F#4/2 E-4/10";
    const char* themeB2 = "E-5/6 D-5/2 C-5/4 A-4/4 | E-5/6 G-5/2 E-5/4 C-5/4 | F#5/4 E-5/2 D-5/2 A-4/4 D-5/4 | D#5/8 B-4/4 F#4/4";
    const char* harmonyB = "C-5/6 B-4/2 G-4/4 E-4/4 | D-5/6 C-5/2 A-4/4 F#4/4 | B-4/4 F#4/4 D-4/4 F#4/4 | E-4/4 D#4/2 B-3/10";
    const char* harmonyB2 = "C-5/6 B-4/2 A-4/4 E-4/4 | C-5/6 E-5/2 C-5/4 G-4/4 | D-5/4 C-5/2 A-4/2 F#4/4 A-4/4 | B-4/8 F#4/4 D#4/4";

    auto full = [&](const Progression& chords, const char* melody, const char* arpSteps) {
        auto q = song.NewPattern();
        q.Pad(ch::Pad1, 3, pad, chords, padLow, padHigh, padStyle);
        q.Arp(ch::Arp, arp, chords, arpSteps, arpLow, {40});
        q.Bass(ch::Bass, bass, chords, Gallop, bassLow);
        q.Notes(ch::Lead, lead, melody, 0, leadStyle);
        q.Echo(ch::Lead, ch::Echo, 3, echo, 0.5, 64);
        q.Drums(ch::Kick, kit, "k.......k.k.....");
        q.Drums(ch::Hats, kit, "Hhoh");
        q.Drums(ch::Snare, kit, "....s.......s...");
        return q;
    };

    // 0: intro: the arpeggio over the pads, then hats and a half-time kick.
    auto p = song.NewPattern();
    p.Pad(ch::Pad1, 3, pad, verse, padLow, padHigh, {30});
    p.Arp(ch::Arp, arp, verse, "0120", arpLow, {40});
    p.Bass(ch::Bass, bass, verse, "R...........R.R.", bassLow, {50});
    p.Drums(ch::Hats, kit, "h.h.h.h.h.h.h.h.hhhhhhhhhhhhhhhh", 32);
    p.Drums(ch::Kick, kit, "k.......", 32);
    p.Drums(ch::Snare, kit, "x", 0, 1);
    const int intro = song.Add(std::move(p));

    // 1: the drums come in with a tom run at the end.
    p = song.NewPattern();
    p.Pad(ch::Pad1, 3, pad, verse, padLow, padHigh, padStyle);
    p.Arp(ch::Arp, arp, verse, "0120", arpLow, {38});
    p.Bass(ch::Bass, bass, verse, Gallop, bassLow);
    p.Drums(ch::Kick, kit, "k...k...k...k...", 0, 56);
    p.Drums(ch::Hats, kit, "Hhoh", 0, 56);
    p.Drums(ch::Snare, kit, "x", 0, 1);
    p.Drums(ch::Snare, kit, "....s.......s...", 1, 47);
    p.Drums(ch::Snare, kit, "r.r.s.r.ssssSSSS", 48);
    p.Drums(ch::Hats, kit, "1.1.2.2.3.3.4.4.", 56, 8);
    p.Drums(ch::Hats, kit, "11223344", 56);
    const int build = song.Add(std::move(p));

    auto q = full(verse, themeA, "0120");
    q.Drums(ch::Snare, kit, "x", 0, 1);
    const int a1 = song.Add(std::move(q));
    q = full(verseTurn, themeA2, "0120");
    q.Drums(ch::Snare, kit, "....s.......s.ss", 48);
    const int a2 = song.Add(std::move(q));
    q = full(chorus, themeB, "01234321");
    q.Drums(ch::Snare, kit, "x...c.......c...");
    q.Clear(ch::Echo);
    q.Notes(ch::Echo, harmony, harmonyB, 0, {36});
    const int b1 = song.Add(std::move(q));
    q = full(chorusTurn, themeB2, "01234321");
    q.Drums(ch::Snare, kit, "....c.......c...", 0, 48);
    q.Drums(ch::Snare, kit, "....c...s.s.SSSS", 48);
    q.Clear(ch::Echo);
    q.Notes(ch::Echo, harmony, harmonyB2, 0, {36});
    const int b2 = song.Add(std::move(q));

    // 6: the breakdown: bells and arpeggio, the beat holds its breath.
    p = song.NewPattern();
    p.Off(ch::Echo);
    p.Pad(ch::Pad1, 3, pad, breakdown, padLow, padHigh, {40});
    p.Arp(ch::Arp, arp, breakdown, "0.1.2.3.4.3.2.1.", arpLow, {36});
    p.Bass(ch::Bass, bass, breakdown, "R...............", bassLow, {50});
    p.Notes(ch::Lead, bell, "E-5/8 G-5/8 | B-5/12 A-5/4 | G-5/8 E-5/8 | B-4/16", 0, {44});
    p.Echo(ch::Lead, ch::Echo, 3, bell, 0.4, 44);
    p.Drums(ch::Hats, kit, "..h.");
    p.Drums(ch::Snare, kit, "x", 0, 1);
    const int down = song.Add(std::move(p));

    // 7: the climb back: a snare roll that doubles up, toms at the top.
    p = song.NewPattern();
    p.Pad(ch::Pad1, 3, pad, rise, padLow, padHigh, {40});
    p.Arp(ch::Arp, arp, rise, "0123", arpLow, {38});
    p.Bass(ch::Bass, bass, rise, "R.R.R.R.", bassLow);
    p.Notes(ch::Lead, bell, "A-5/8 C-6/8 | E-6/16 | D#6/8 F#6/8 | B-5/16", 0, {44});
    p.Echo(ch::Lead, ch::Echo, 3, bell, 0.4, 44);
    p.Drums(ch::Kick, kit, "k...", 32);
    p.Drums(ch::Hats, kit, "h.h.");
    p.Drums(ch::Snare, kit, "r.......r.......r...r...r...r...s.s.s.s.s.s.s.s.ssssssssSSSSSSSS");
    p.Drums(ch::Hats, kit, "1.2.3.4.", 56);
    const int up = song.Add(std::move(p));

    // 8-9: the theme again with the harmony a third below.
    q = full(verse, themeA, "01234321");
    q.Drums(ch::Snare, kit, "x", 0, 1);
    q.Clear(ch::Echo);
    q.Notes(ch::Echo, harmony, "G-3/2 B-3/2 E-4/2 G-4/4 F#4/2 E-4/2 D-4/2 | E-4/4 C-4/4 G-3/2 C-4/2 E-4/4 | D-4/2 F#4/2 A-4/4 A-4/2 G-4/2 F#4/4 | D-4/6 B-3/2 F#3/8", 0, {34});
    const int a3 = song.Add(std::move(q));
    q = full(verseTurn, themeA2, "01234321");
    q.Clear(ch::Echo);
    q.Notes(ch::Echo, harmony, "G-3/2 B-3/2 E-4/2 G-4/4 F#4/2 E-4/2 D-4/2 | E-4/4 C-4/4 G-4/4 G-4/2 E-4/2 | F#4/2 D-4/2 A-4/4 C-5/2 A-4/2 A-4/2 F#4/2 | F#4/8 B-4/4 D#5/4", 0, {34});
    q.Drums(ch::Snare, kit, "....s.......s.ss", 48);
    const int a4 = song.Add(std::move(q));

    return song.Finish({intro, build, a1, a2, b1, b2, down, up, a3, a4, b1, b2, b1, b2}, 2);
}

} // namespace composer

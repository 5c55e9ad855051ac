// "Glass Harbour": D major, 96 BPM, calm, airy and bright: glassy bells and
// an electric piano over open pads, a light round bass and a brushed beat.

#include "tools/composer/Drums.h"
#include "tools/composer/SongBuilder.h"
#include "tools/composer/Songs/Songs.h"
#include "tools/composer/Theory.h"

namespace composer {
namespace {

namespace ch {
enum : int { Bell,
    Echo,
    Keys,
    Pad1,
    Pad2,
    Pad3,
    Bass,
    Kick,
    Shaker,
    Rim };
}

} // namespace

modwriter::Module Song2()
{
    SongBuilder song("Glass Harbour", 10, 6, 96);
    song.SetMaster(1.0);
    const int bell = song.Add(composer::Bell("Bell", song.Sound(1.0), 2200, 3.0));
    const int echo = song.Add(composer::Bell("Bell echo", song.Sound(1.0), 2200, 3.0));
    const int keys = song.Add(composer::EPiano("Piano", song.Sound(1.0), 2000));
    const int pad = song.Add(composer::Pad("Pad", song.Sound(0.85), {Waveform::Saw, 3200, 5, 14, {900, 600, 50, 1200}}));
    const int bass = song.Add(composer::Bass("Bass", song.Sound(0.4), {Waveform::Saw, 420, 900, 0.7, {4, 400, 44, 120}}));
    const int flute = song.Add(composer::Lead("Flute", song.Sound(0.9), {Waveform::Triangle, 2500, 3500, 5, {60, 300, 52, 300}, 1.0}));
    DrumKit kit;
    kit['k'] = {song.Add(composer::Kick(song.Sound(1.0), 0.6)), 49, 44};
    kit['r'] = {song.Add(composer::Rim(song.Sound(1.0))), 49, 50};
    kit['s'] = {song.Add(composer::Snare(song.Sound(1.0), 0.8)), 49, 48};
    const int shaker = song.Add(composer::Shaker(song.Sound(1.0)));
    kit['m'] = {shaker, 49, 40};
    kit['M'] = {shaker, 49, 56};
    kit['x'] = {song.Add(composer::Crash(song.Sound(0.5))), 49, 30};

    // The stage: the bells just right of the middle and their echo far to
    // the left, the piano to the right, the pad's voices spread wide; the
    // shaker a touch left and the rim and brushes right keep the top level.
    song.Place(ch::Bell, 136);
    song.Place(ch::Echo, 32);
    song.Place(ch::Keys, 176);
    song.Place(ch::Pad1, 24);
    song.Place(ch::Pad3, 232);
    song.Place(ch::Shaker, 116);
    song.Place(ch::Rim, 176);

    const int padLow = ParseNote("A-3"), padHigh = ParseNote("F#5");
    const int keysLow = ParseNote("D-4"), bassLow = ParseNote("A-1");
    const Style padStyle{56};
    const Style bellStyle{64};
    const Style fluteStyle{40, 6, 0x23};

    const Progression a = ParseProgression("Gmaj7 F#m7 Em7 A", 64);
    const Progression a2 = ParseProgression("Gmaj7 F#m7 Bm7 A", 64);
    const Progression b = ParseProgression("Em7 F#m7 Gmaj7 A", 64);
    const Progression b2 = ParseProgression("Em7:16 F#m7:16 G:16 Asus4:8 A:8", 64);
    const Progression c = ParseProgression("Bm7 Gmaj7 D A", 64);
    const Progression c2 = ParseProgression("Bm7:16 Gmaj7:16 Em7:16 Asus4:8 A:8", 64);

    const char* themeA = "F#5/6 D-5/2 B-4/4 D-5/4 | C#5/6 A-4/2 E-5/8 | D-5/6 B-4/2 G-4/4 B-4/4 | A-4/8 C#5/4 E-5/4";
    const char* themeA2 = "F#5/6 D-5/2 B-4/4 F#5/4 | E-5/6 C#5/2 A-4/8 | B-4/4 D-5/4 F#5/4 A-5/4 | G-5/6 F#5/2 E-5/8";
    const char* themeB = "G-5/4 F#5/2 E-5/2 B-4/8 | A-5/4 G-5/2 F#5/2 C#5/8 | B-5/6 A-5/2 F#5/4 D-5/4 | E-5/8 A-4/4 C#5/4";
    const char* themeB2 = "G-5/4 F#5/2 E-5/2 B-4/8 | A-5/4 G-5/2 F#5/2 C#6/8 | D-6/6 B-5/2 G-5/4 B-5/4 | A-5/16";

    auto groove = [&](PatternBuilder& p, bool full) {
        p.Drums(ch::Kick, kit, full ? "k.........k....." : "k...............");
        p.Drums(ch::Shaker, kit, full ? ".mMm" : "..m.");
        if (full)
            p.Drums(ch::Rim, kit, "....r.......r..r");
    };
    auto section = [&](const Progression& chords, const char* melody, const char* comp, bool full) {
        auto p = song.NewPattern();
        p.Pad(ch::Pad1, 3, pad, chords, padLow, padHigh, padStyle);
        p.Arp(ch::Keys, keys, chords, comp, keysLow, {30});
        p.Bass(ch::Bass, bass, chords, full ? "R.......R.....F." : "R...............", bassLow, {60});
        p.Notes(ch::Bell, bell, melody, 0, bellStyle);
        p.Echo(ch::Bell, ch::Echo, 6, echo, 0.45, 54);
        groove(p, full);
        return p;
    };

    // 0: intro: pads, piano and a few bell notes; the shaker joins halfway.
    auto p = song.NewPattern();
    p.Pad(ch::Pad1, 3, pad, a, padLow, padHigh, padStyle);
    p.Arp(ch::Keys, keys, a, "0...2...1...2...", keysLow, {32});
    p.Bass(ch::Bass, bass, a, "R...............", bassLow, {44});
    p.Notes(ch::Bell, bell, "./8 A-5/4 F#5/4 | E-5/16 | ./8 B-5/4 A-5/4 | A-5/4 C#6/4 E-6/8", 0, {38});
    p.Echo(ch::Bell, ch::Echo, 6, echo, 0.45, 34);
    p.Drums(ch::Shaker, kit, "..m.", 32);
    const int intro = song.Add(std::move(p));

    const int sa1 = song.Add(section(a, themeA, "0.2.1.2.", true));
    const int sa2 = song.Add(section(a2, themeA2, "0.2.1.2.", true));
    auto q = section(b, themeB, "0.1.2.3.", true);
    q.Drums(ch::Rim, kit, "x", 0, 1);
    q.Drums(ch::Rim, kit, "....s.......s...", 0, 64);
    const int sb1 = song.Add(std::move(q));
    q = section(b2, themeB2, "0.1.2.3.", true);
    q.Drums(ch::Rim, kit, "....s.......s...", 0, 48);
    q.Drums(ch::Rim, kit, "....s.......s.ss", 48);
    const int sb2 = song.Add(std::move(q));

    // 5-6: the bridge: the flute takes the tune, the bells rest.
    q = section(c, "F#5/8 E-5/4 D-5/4 | D-5/8 B-4/8 | A-4/4 D-5/4 F#5/4 A-5/4 | G-5/8 E-5/8", "0..20..21..20.2.", true);
    q.Clear(ch::Bell);
    q.Clear(ch::Echo);
    q.Notes(ch::Bell, flute, "F#5/8 E-5/4 D-5/4 | D-5/8 B-4/8 | A-4/4 D-5/4 F#5/4 A-5/4 | G-5/8 E-5/6 ==/2", 0, fluteStyle);
    q.Notes(ch::Echo, echo, "./8 B-5/8 | ./8 F#5/8 | ./8 A-5/8 | ./8 C#6/8", 0, {26});
    const int sc1 = song.Add(std::move(q));
    q = section(c2, "", "0..20..21..20.2.", true);
    q.Clear(ch::Echo);
    q.Notes(ch::Bell, flute, "B-5/6 A-5/2 F#5/8 | D-5/6 E-5/2 F#5/8 | G-5/6 F#5/2 E-5/4 D-5/4 | E-5/12 ==/4", 0, fluteStyle);
    q.Drums(ch::Rim, kit, "....r.......r...", 0, 48);
    q.Drums(ch::Rim, kit, "....r...r.r.ssss", 48);
    const int sc2 = song.Add(std::move(q));

    // 7: the theme once more, the flute answering the bells.
    q = section(a, themeA, "0.2.1.2.", true);
    q.Clear(ch::Echo);
    q.Notes(ch::Echo, flute, "./8 A-4/8 | ./8 F#4/8 | ./8 E-4/8 | C#5/8 ==/8", 0, {30});
    const int sa3 = song.Add(std::move(q));

    return song.Finish({intro, sa1, sa2, sb1, sb2, sc1, sc2, sa3, sa2, sb1, sb2}, 1);
}

} // namespace composer

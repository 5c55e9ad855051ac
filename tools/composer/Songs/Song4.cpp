// "Quiet Orbit": F major, 80 BPM, a slow ballad for the small hours: a soft
// glassy lead with a bell shadow, electric piano and long pads, swelling
// from a whisper into its chorus.

#include "tools/composer/Drums.h"
#include "tools/composer/SongBuilder.h"
#include "tools/composer/Songs/Songs.h"
#include "tools/composer/Theory.h"

namespace composer {
namespace {

namespace ch {
enum : int { Lead,
    Shimmer,
    Keys,
    Pad1,
    Pad2,
    Pad3,
    Bass,
    Kick,
    Shaker,
    Rim };
}

// How loud a section plays its parts (volumes 0..64): the song swells from
// a whisper into its chorus and sinks back for the interlude.
struct Swell {
    int pad;
    int keys;
    int bass;
    int lead; // the tune, whichever voice sings it
};
constexpr Swell Hush{22, 30, 28, 28};
constexpr Swell Soft{38, 38, 46, 44};
constexpr Swell Rising{46, 42, 54, 48};
constexpr Swell Full{54, 48, 62, 54};

} // namespace

modwriter::Module Song4()
{
    SongBuilder song("Quiet Orbit", 10, 6, 80);
    // A song for the small hours sits below the rest of the disc.
    song.SetMaster(0.8);
    const int lead = song.Add(composer::Lead("Glass lead", song.Sound(1.0), {Waveform::Triangle, 2200, 4200, 6, {80, 500, 50, 500}, 1.3}));
    const int bell = song.Add(composer::Bell("Bell", song.Sound(1.0), 2600));
    const int keys = song.Add(composer::EPiano("Piano", song.Sound(1.0), 2600));
    const int pad = song.Add(composer::Pad("Pad", song.Sound(0.8), {Waveform::Saw, 900, 5, 12, {1500, 800, 52, 1500}}));
    const int bass = song.Add(composer::Bass("Bass", song.Sound(0.8), {Waveform::Saw, 400, 700, 0.8, {10, 600, 46, 200}}));
    DrumKit kit;
    kit['k'] = {song.Add(composer::Kick(song.Sound(1.0), 0.5)), 49, 58};
    kit['r'] = {song.Add(composer::Rim(song.Sound(1.0))), 49, 44};
    kit['s'] = {song.Add(composer::Snare(song.Sound(1.0), 0.7)), 49, 40};
    const int shaker = song.Add(composer::Shaker(song.Sound(0.9)));
    kit['m'] = {shaker, 49, 28};
    kit['M'] = {shaker, 49, 40};
    kit['x'] = {song.Add(composer::Crash(song.Sound(0.5))), 49, 28};

    // The stage: the glass lead and the bass in the middle, its bell
    // reflection to the right and the piano to the left, the pad's voices
    // spread wide; the shaker left of the middle, the rim right of it.
    song.Place(ch::Shimmer, 184);
    song.Place(ch::Keys, 72);
    song.Place(ch::Pad1, 16);
    song.Place(ch::Pad3, 240);
    song.Place(ch::Shaker, 96);
    song.Place(ch::Rim, 160);

    const int padLow = ParseNote("F-3"), padHigh = ParseNote("D-5");
    const int keysLow = ParseNote("C-4"), bassLow = ParseNote("G-1");
    auto leadStyle = [](const Swell& swell) { return Style{swell.lead, 8, 0x23}; };

    const Progression a = ParseProgression("Fmaj7 Am7 Bbmaj7 C", 64);
    const Progression a2 = ParseProgression("Dm7:16 Am7:16 Bbmaj7:16 Csus4:8 C:8", 64);
    const Progression b = ParseProgression("Bbmaj7 C Am7 Dm7", 64);
    const Progression b2 = ParseProgression("Bbmaj7:16 C:16 Dm7:16 Csus4:8 C:8", 64);
    const Progression c = ParseProgression("Dm7 Bbmaj7 Fmaj7 Csus4", 64);

    const char* themeA = "A-4/8 C-5/4 E-5/4 | E-5/6 D-5/2 C-5/8 | D-5/8 F-5/4 A-5/4 | G-5/12 E-5/4";
    const char* themeA2 = "F-5/8 E-5/4 D-5/4 | C-5/8 E-5/4 G-5/4 | F-5/6 E-5/2 D-5/8 | C-5/8 E-5/8";
    const char* themeB = "D-6/6 C-6/2 A-5/8 | C-6/6 Bb5/2 G-5/8 | A-5/6 G-5/2 E-5/4 C-5/4 | F-5/12 A-5/4";
    const char* themeB2 = "D-6/6 C-6/2 A-5/8 | C-6/6 Bb5/2 G-5/4 E-5/4 | F-5/6 A-5/2 D-6/8 | C-6/12 ==/4";

    auto section = [&](const Progression& chords, const char* melody, bool drums, const Swell& swell) {
        auto p = song.NewPattern();
        p.Pad(ch::Pad1, 3, pad, chords, padLow, padHigh, {swell.pad});
        p.Arp(ch::Keys, keys, chords, "0..1..2...3..2..", keysLow, {swell.keys});
        p.Bass(ch::Bass, bass, chords, drums ? "R.........R...F." : "R...............", bassLow, {swell.bass});
        p.Notes(ch::Lead, lead, melody, 0, leadStyle(swell));
        // The bell doubles the tune an octave up, a beat behind, like a reflection.
        p.Echo(ch::Lead, ch::Shimmer, 4, bell, 0.45, swell.lead, 12);
        if (drums) {
            p.Drums(ch::Kick, kit, "k.........k.....");
            p.Drums(ch::Rim, kit, "....r.......r...");
            p.Drums(ch::Shaker, kit, "m.Mmm.Mm");
        }
        return p;
    };

    // 0: intro: the piano and the pads, a bell far away.
    auto p = song.NewPattern();
    p.Pad(ch::Pad1, 3, pad, a, padLow, padHigh, {Hush.pad});
    p.Arp(ch::Keys, keys, a, "0..1..2...3..2..", keysLow, {Hush.keys});
    p.Bass(ch::Bass, bass, a, "R...............", bassLow, {Hush.bass});
    p.Notes(ch::Shimmer, bell, "C-6/8 A-5/8 | ./16 | D-6/8 A-5/8 | G-5/16", 0, {Hush.lead});
    const int intro = song.Add(std::move(p));

    const int a1 = song.Add(section(a, themeA, false, Soft));
    const int a2s = song.Add(section(a2, themeA2, false, Rising));
    auto q = section(b, themeB, true, Full);
    q.Drums(ch::Rim, kit, "x", 0, 1);
    const int b1 = song.Add(std::move(q));
    q = section(b2, themeB2, true, Full);
    q.Drums(ch::Rim, kit, "....s.......s.ss", 48);
    const int b2s = song.Add(std::move(q));

    // 5: interlude: the bell alone sings over the piano, the beat halves.
    p = song.NewPattern();
    p.Off(ch::Lead);
    p.Pad(ch::Pad1, 3, pad, c, padLow, padHigh, {Soft.pad});
    p.Arp(ch::Keys, keys, c, "0.1.2.3.2.1.0...", keysLow, {Soft.keys});
    p.Bass(ch::Bass, bass, c, "R.......F.......", bassLow, {Soft.bass});
    p.Notes(ch::Shimmer, bell, "F-5/4 A-5/4 C-6/8 | D-6/4 C-6/4 Bb5/8 | A-5/4 C-6/4 E-6/8 | F-6/8 G-6/8", 0, {40});
    p.Drums(ch::Kick, kit, "k...............");
    p.Drums(ch::Rim, kit, "........r.......");
    p.Drums(ch::Shaker, kit, "..m.");
    const int inter = song.Add(std::move(p));

    // 6-7: the theme with the beat, a counter-line in the bell.
    q = section(a, themeA, true, Rising);
    q.Clear(ch::Shimmer);
    q.Notes(ch::Shimmer, bell, "./8 F-5/8 | ./8 A-5/8 | ./8 F-5/8 | ./8 C-6/8", 0, {26});
    q.Drums(ch::Rim, kit, "x", 0, 1);
    const int a3 = song.Add(std::move(q));
    q = section(a2, themeA2, true, Rising);
    q.Clear(ch::Shimmer);
    q.Notes(ch::Shimmer, bell, "./8 A-5/8 | ./8 G-5/8 | ./8 F-5/8 | ./8 G-5/8", 0, {26});
    const int a4 = song.Add(std::move(q));

    return song.Finish({intro, a1, a2s, b1, b2s, inter, a3, a4, b1, b2s}, 1);
}

} // namespace composer

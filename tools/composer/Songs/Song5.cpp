// "Last Tram Home": G minor, a swung 108 BPM, warm and a little wistful:
// electric-piano stabs, a busy bass and a whistling lead to close the disc.

#include "tools/composer/Drums.h"
#include "tools/composer/SongBuilder.h"
#include "tools/composer/Songs/Songs.h"
#include "tools/composer/Theory.h"

namespace composer {
namespace {

namespace ch {
enum : int { Lead,
    Echo,
    Keys1,
    Keys2,
    Keys3,
    Pad,
    Bass,
    Kick,
    Hats,
    Snare };
}

constexpr const char* Walk = "R..R..O.R.F..T.R";
constexpr const char* Stabs = "..x=..x...x=.x..";

// Long and short rows in turn: 7 + 5 ticks make the shuffle.
void Swing(PatternBuilder& p)
{
    for (int row = 0; row < p.Rows(); ++row)
        p.Effect(ch::Pad, row, 0xF, row % 2 ? 5 : 7);
}

} // namespace

modwriter::Module Song5()
{
    SongBuilder song("Last Tram Home", 10, 6, 108);
    song.SetMaster(0.85);
    const int lead = song.Add(composer::Lead("Whistle", song.Sound(0.9), {Waveform::Square, 2600, 5000, 5, {20, 250, 48, 200}, 1.2}));
    const int echo = song.Add(composer::Lead("Whistle echo", song.Sound(0.9), {Waveform::Square, 1800, 2800, 5, {20, 250, 48, 200}, 1.2}));
    const int keys = song.Add(composer::EPiano("Piano", song.Sound(1.0), 1400));
    const int organ = song.Add(composer::Pad("Warm pad", song.Sound(0.7, 40), {Waveform::Triangle, 1800, 3, 10, {400, 400, 50, 600}}));
    const int bass = song.Add(composer::Bass("Bass", song.Sound(0.75), {Waveform::Saw, 650, 2200, 0.6, {1, 180, 30, 40}}));
    const int solo = song.Add(composer::Pluck("Clav", song.Sound(0.9), {Waveform::Square, 4000, 4, 0.8, 500}));
    DrumKit kit;
    kit['k'] = {song.Add(composer::Kick(song.Sound(1.0), 0.8)), 49, 60};
    const int snare = song.Add(composer::Snare(song.Sound(1.0), 0.9));
    kit['s'] = {snare, 49, 54};
    kit['g'] = {snare, 49, 20};
    kit['c'] = {song.Add(composer::Clap(song.Sound(1.0, 110))), 49, 44};
    const int hat = song.Add(composer::ClosedHat(song.Sound(1.0)));
    kit['h'] = {hat, 49, 28};
    kit['H'] = {hat, 49, 42};
    kit['o'] = {song.Add(composer::OpenHat(song.Sound(0.9))), 49, 30};
    kit['x'] = {song.Add(composer::Crash(song.Sound(0.6, 90))), 49, 36};

    // The stage: the whistle (and the clav's solo), bass, kick and snare in
    // the middle; the piano's stabs spread from left to right, the whistle's
    // echo on the right and the warm pad, whose channel carries the swing,
    // on the left by its own panning; the hats a hair left of the middle.
    song.Place(ch::Echo, 232);
    song.Place(ch::Keys1, 16);
    song.Place(ch::Keys3, 240);
    song.Place(ch::Hats, 120);

    const int keysLow = ParseNote("F-4"), keysHigh = ParseNote("F-5");
    const int padLow = ParseNote("D-4"), bassLow = ParseNote("A-1");
    const Style leadStyle{50, 6, 0x34};

    const Progression a = ParseProgression("Gm7 C7 Ebmaj7 D7", 64);
    const Progression b = ParseProgression("Cm7 F7 Bbmaj7 Ebmaj7", 64);
    const Progression b2 = ParseProgression("Cm7:16 F7:16 Bbmaj7:16 Am7b5:8 D7:8", 64);
    const Progression vamp = ParseProgression("Gm7 C7 Gm7 C7", 64);

    const char* themeA = "./2 D-5/2 F-5/2 G-5/3 F-5/1 D-5/2 Bb4/2 C-5/2 | D-5/6 E-5/2 G-5/4 E-5/2 C-5/2 | D-5/3 Bb4/3 G-4/2 Bb4/4 D-5/4 | C-5/4 A-4/2 F#4/2 A-4/6 ==/2";
    const char* themeA2 = "./2 D-5/2 F-5/2 G-5/3 A-5/1 Bb5/4 A-5/2 | G-5/6 E-5/2 C-5/4 Bb4/4 | G-5/3 F-5/3 D-5/2 Eb5/4 D-5/4 | F#5/8 A-5/4 ==/4";
    const char* themeB = "G-5/4 Eb5/2 C-5/2 Bb4/4 C-5/4 | A-4/3 C-5/3 Eb5/4 D-5/2 C-5/4 | D-5/6 F-5/2 A-5/8 | G-5/6 F-5/2 D-5/4 Bb4/4";
    const char* themeB2 = "G-5/4 Eb5/2 C-5/2 Bb4/4 C-5/4 | A-4/3 C-5/3 F-5/4 Eb5/2 D-5/4 | D-5/6 Bb4/2 F-5/8 | Eb5/4 C-5/4 F#5/4 A-5/4";

    auto band = [&](const Progression& chords, const char* melody) {
        auto p = song.NewPattern();
        p.Chords(ch::Keys1, 3, keys, chords, Stabs, keysLow, keysHigh, {32});
        p.Pad(ch::Pad, 1, organ, chords, padLow, padLow + 12, {30});
        p.Bass(ch::Bass, bass, chords, Walk, bassLow, {62});
        p.Notes(ch::Lead, lead, melody, 0, leadStyle);
        p.Echo(ch::Lead, ch::Echo, 3, echo, 0.4, 50);
        p.Drums(ch::Kick, kit, "k.....k...k.....");
        p.Drums(ch::Snare, kit, "..g.s..g..g.s.g.");
        p.Drums(ch::Hats, kit, "H.hhH.ohH.hhH.oh");
        Swing(p);
        return p;
    };

    // 0: intro: bass and piano vamp, the drums creep in.
    auto p = song.NewPattern();
    p.Chords(ch::Keys1, 3, keys, vamp, Stabs, keysLow, keysHigh, {34});
    p.Bass(ch::Bass, bass, vamp, Walk, bassLow, {56});
    p.Drums(ch::Hats, kit, "H.h.H.h.H.h.H.hh");
    p.Drums(ch::Kick, kit, "k.....k...k.....", 32);
    p.Drums(ch::Snare, kit, "....s.......s.ss", 48);
    Swing(p);
    const int intro = song.Add(std::move(p));

    auto q = band(a, themeA);
    q.Drums(ch::Snare, kit, "x", 0, 1);
    const int a1 = song.Add(std::move(q));
    const int a2 = song.Add(band(a, themeA2));
    q = band(b, themeB);
    q.Drums(ch::Snare, kit, "x...c.......c...");
    const int b1 = song.Add(std::move(q));
    q = band(b2, themeB2);
    q.Drums(ch::Snare, kit, "....c.......c...", 0, 48);
    q.Drums(ch::Snare, kit, "....c...s.s.ssss", 48);
    const int b2s = song.Add(std::move(q));

    // 5-6: the clav takes a solo over the vamp, then over the turn.
    q = band(vamp, "");
    q.Off(ch::Lead);
    q.Off(ch::Echo);
    q.Notes(ch::Lead, solo, "G-4/2 Bb4/2 D-5/2 F-5/2 G-5/3 F-5/1 D-5/4 | E-5/2 G-5/2 Bb5/3 A-5/1 G-5/2 E-5/2 C-5/4 | D-5/2 F-5/2 G-5/2 Bb5/2 A-5/3 G-5/1 F-5/2 D-5/2 | E-5/3 C-5/3 Bb4/2 G-4/8", 0, {48});
    q.Drums(ch::Snare, kit, "x", 0, 1);
    const int s1 = song.Add(std::move(q));
    q = band(a, "");
    q.Off(ch::Lead);
    q.Off(ch::Echo);
    q.Notes(ch::Lead, solo, "Bb5/3 A-5/1 G-5/2 F-5/2 D-5/2 F-5/2 G-5/4 | E-5/3 G-5/3 C-6/2 Bb5/2 G-5/2 E-5/4 | Eb5/2 F-5/2 G-5/2 Bb5/2 D-6/4 Bb5/4 | A-5/2 F#5/2 D-5/2 C-5/2 A-4/2 F#4/2 D-4/4", 0, {48});
    q.Drums(ch::Snare, kit, "..g.s..g..g.s.g...g.s..g..g.s.g...g.s..g..g.s.g...g.s...s.s.ssss");
    const int s2 = song.Add(std::move(q));

    // 7: a break: only bass, kick and claps, the piano answering.
    p = song.NewPattern();
    p.Off(ch::Pad);
    p.Bass(ch::Bass, bass, vamp, Walk, bassLow, {62});
    p.Chords(ch::Keys1, 3, keys, vamp, "........x.....x.", keysLow, keysHigh, {44});
    p.Drums(ch::Kick, kit, "k.....k...k.....");
    p.Drums(ch::Snare, kit, "....c.......c...", 0, 48);
    p.Drums(ch::Snare, kit, "....c...s.s.ssss", 48);
    p.Drums(ch::Hats, kit, "h.h.");
    Swing(p);
    const int brk = song.Add(std::move(p));

    return song.Finish({intro, a1, a2, b1, b2s, s1, s2, brk, a1, a2, b1, b2s}, 1);
}

} // namespace composer

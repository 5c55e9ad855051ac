#pragma once

// Modules made up for the tests and the benchmarks.

#include "tools/modwriter/ModuleWriter.h"

#include <cstdint>
#include <vector>

// An XM module of `orders` order positions whose rows last long enough that
// the position never moves by itself during a test.
std::vector<std::uint8_t> SlowModule(int orders);

// A busy song: every channel plays a note on every third row, over looping
// 16-bit samples with volume envelopes (where the format has them), so the
// work grows with the channel count. 24 order positions over 8 patterns at
// speed 6, tempo 125: about three minutes. channels: 1..32 for XM; a MOD
// holds 4.
modwriter::Module BusySong(int channels);

// A held 1 kHz sine whose volume rises row by row, 1/64 to full over 64
// rows of 20 ms, then again from the start: its level tells the time
// within the song's 1.28 s. For checks of where play goes on.
modwriter::Module RampSong();
inline constexpr double RampRowSeconds = 0.02;

// A song whose samples take about megabytes MB: the ramp's notes, played by
// instruments of long noise that the module carries and never plays.
modwriter::Module BigSong(int megabytes);

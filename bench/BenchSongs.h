#pragma once

// Busy modules for the benchmarks: every channel plays a note on every third
// row, over looping 16-bit samples with volume envelopes (where the format
// has them), so the work grows with the channel count.

#include "tools/modwriter/ModuleWriter.h"

namespace bench {

// 24 order positions over 8 patterns at speed 6, tempo 125: about three
// minutes. channels: 1..32 for XM; a MOD holds 4.
modwriter::Module BusySong(int channels);

} // namespace bench

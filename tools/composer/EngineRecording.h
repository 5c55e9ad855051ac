#pragma once

// A song as the disc plays it: mixed by the engine library itself, through
// the path its sound device pulls from, at 44.1 kHz in 16-bit stereo.

#include "tools/composer/MixMeasures.h"

#include <string>

namespace composer {

struct SongRecording {
    std::string title;
    StereoRecording audio;
};

// The first `seconds` of the module at `path`, or all of it if it is
// shorter: the silence the engine plays after its end is left out.
// Throws std::runtime_error with the engine's own words when it fails.
SongRecording RecordSong(const std::string& path, double seconds);

} // namespace composer

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

// The first `seconds` of the module at `path`, silence after its end.
// Throws std::runtime_error with the engine's own words when it fails.
SongRecording RecordSong(const std::string& path, double seconds);

} // namespace composer

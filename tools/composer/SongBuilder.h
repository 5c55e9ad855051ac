#pragma once

// Gathers one song: its instruments, patterns and order list, into a module,
// signed by its composer.

#include "tools/composer/Instruments.h"
#include "tools/composer/PatternBuilder.h"
#include "tools/modwriter/ModuleWriter.h"

#include <string>
#include <vector>

namespace composer {

// Who wrote the songs. Players list instrument names as a module's message,
// so the name goes into an instrument slot of its own, as tracker musicians sign.
inline constexpr const char* Credit = "Vilmar Yrndahl (VYR)";

class SongBuilder {
public:
    // `speed` ticks per row, `tempo` in BPM as the module header stores it.
    SongBuilder(std::string title, int channels, int speed, int tempo);

    int Channels() const { return module_.channels; }
    int Speed() const { return module_.initialSpeed; }
    int Tempo() const { return module_.initialTempo; }

    // Every sample's peak is scaled by `master`, the song's overall loudness (0..1).
    void SetMaster(double master) { master_ = master; }
    // The shape for an instrument of this song: peak `level` (0..1) at panning 0..255.
    Shape Sound(double level, int pan = 128) const;

    int Add(modwriter::Instrument instrument); // its 1-based number
    // Every note on `channel` is heard at `pan` (0 left .. 128 middle .. 255
    // right), whatever its instrument's own panning: the song's stage. The
    // notes of a placed channel leave their effect column to it: Finish
    // throws std::invalid_argument for one that brings an effect of its own.
    void Place(int channel, int pan);
    PatternBuilder NewPattern(int rows = 64) const { return PatternBuilder(rows, module_.channels); }
    int Add(PatternBuilder&& pattern); // its pattern index

    // The song plays `orders` and then loops back to order position `restart`.
    modwriter::Module Finish(std::vector<int> orders, int restart);

private:
    void Stage(modwriter::Pattern& pattern) const;

    modwriter::Module module_;
    double master_ = 1.0;
    std::vector<int> pans_; // per channel; -1: the instruments' own
};

} // namespace composer

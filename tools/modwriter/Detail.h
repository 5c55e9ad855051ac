#pragma once

// Pieces shared by the three format writers; not part of the public interface.

#include "tools/modwriter/ModuleWriter.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace modwriter::detail {

// Appends little- or big-endian fields to a growing file image.
class ByteWriter {
public:
    void U8(unsigned value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }
    void S8(int value) { U8(static_cast<std::uint8_t>(static_cast<std::int8_t>(value))); }
    void U16LE(unsigned value);
    void U32LE(std::uint32_t value);
    void U16BE(unsigned value);
    // Writes exactly `width` bytes: the text cut or padded with `pad`.
    void Text(std::string_view text, std::size_t width, char pad = '\0');
    void Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void PadTo(std::size_t size)
    {
        if (bytes_.size() < size)
            Zeros(size - bytes_.size());
    }

    void PatchU16LE(std::size_t offset, unsigned value);
    void PatchU8(std::size_t offset, unsigned value) { bytes_[offset] = static_cast<std::uint8_t>(value); }

    std::size_t Size() const { return bytes_.size(); }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// How far (in semitones, fractional) C-4 of this sample sits above a sample
// played at 8363 Hz: the formats differ only in how they store this.
double PitchOffset(const Sample& sample);

// Throws std::invalid_argument when the description is inconsistent in a way
// no format can store (cells that don't fill rows * channels, orders that name
// missing patterns, ...).
void Validate(const Module& module, int maxChannels, int maxRows);

// The pattern's cell with the module's channel count.
inline const Cell& CellAt(const Module& module, const Pattern& pattern, int row, int channel)
{
    return pattern.cells[static_cast<std::size_t>(row) * module.channels + channel];
}

// Effect numbers in the XM/MOD numbering used by Cell::effect.
inline constexpr std::uint8_t EffectSetVolume = 0xC;
inline constexpr std::uint8_t EffectPositionJump = 0xB;
inline constexpr std::uint8_t EffectPatternBreak = 0xD;
inline constexpr std::uint8_t EffectSpeed = 0xF;

} // namespace modwriter::detail

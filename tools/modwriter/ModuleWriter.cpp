#include "tools/modwriter/ModuleWriter.h"
#include "tools/modwriter/Detail.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace modwriter {
namespace detail {

void ByteWriter::U16LE(unsigned value)
{
    U8(value & 0xFF);
    U8((value >> 8) & 0xFF);
}

void ByteWriter::U32LE(std::uint32_t value)
{
    U16LE(value & 0xFFFF);
    U16LE(value >> 16);
}

void ByteWriter::U16BE(unsigned value)
{
    U8((value >> 8) & 0xFF);
    U8(value & 0xFF);
}

void ByteWriter::Text(std::string_view text, std::size_t width, char pad)
{
    for (std::size_t i = 0; i < width; ++i)
        U8(static_cast<unsigned char>(i < text.size() ? text[i] : pad));
}

void ByteWriter::PatchU16LE(std::size_t offset, unsigned value)
{
    bytes_[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes_[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

double PitchOffset(const Sample& sample)
{
    if (sample.sampleRate <= 0)
        throw std::invalid_argument("sample \"" + sample.name + "\" has no sample rate");
    return 12.0 * std::log2(sample.sampleRate / 8363.0) + sample.relativeNote + sample.fineTune / 128.0;
}

void Validate(const Module& module, int maxChannels, int maxRows)
{
    if (module.channels < 1 || module.channels > maxChannels)
        throw std::invalid_argument(
            "channel count " + std::to_string(module.channels) + " is outside 1.." + std::to_string(maxChannels));
    if (module.orders.empty())
        throw std::invalid_argument("the song has no order positions");
    if (module.restartPosition < 0 || module.restartPosition >= static_cast<int>(module.orders.size()))
        throw std::invalid_argument("restart position lies outside the order list");
    for (auto order : module.orders) {
        if (order >= module.patterns.size())
            throw std::invalid_argument("order list names missing pattern " + std::to_string(order));
    }
    for (std::size_t i = 0; i < module.patterns.size(); ++i) {
        const auto& pattern = module.patterns[i];
        if (pattern.rows < 1 || pattern.rows > maxRows)
            throw std::invalid_argument(
                "pattern " + std::to_string(i) + " has " + std::to_string(pattern.rows) + " rows");
        if (pattern.cells.size() != static_cast<std::size_t>(pattern.rows) * module.channels)
            throw std::invalid_argument("pattern " + std::to_string(i) + " does not hold rows * channels cells");
    }
    for (const auto& instrument : module.instruments) {
        const auto& sample = instrument.sample;
        if (sample.loopLength < 0 || sample.loopStart < 0 ||
            static_cast<std::size_t>(sample.loopStart) + static_cast<std::size_t>(sample.loopLength) >
                sample.data.size())
            throw std::invalid_argument("sample \"" + sample.name + "\" loops outside its data");
        for (const auto* envelope : {&instrument.volumeEnvelope, &instrument.panningEnvelope}) {
            if (envelope->points.size() > 12)
                throw std::invalid_argument("instrument \"" + instrument.name + "\" has more than 12 envelope points");
        }
    }
}

} // namespace detail

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    if (std::fclose(file.release()) != 0)
        throw std::runtime_error("cannot finish " + path + ": " + std::strerror(errno));
}

} // namespace modwriter

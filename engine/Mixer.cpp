#include "engine/Mixer.h"
#include "engine/ModulePlayer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmora::engine {
namespace {

// The "more" filter's corner: gentle at high rates, about a quarter of the
// rate at low ones.
constexpr double MoreFilterCutoffHz = 6000.0;

int InterpolationTaps(FilterMode mode)
{
    return mode == FilterMode::None ? 1 : 8;
}

std::uint8_t ToUnsigned8(int sample16)
{
    return static_cast<std::uint8_t>(std::clamp((sample16 + 128) >> 8, -128, 127) + 128);
}

std::int16_t ToSigned16(float sample)
{
    return static_cast<std::int16_t>(std::lrint(std::clamp(sample * 32768.0f, -32768.0f, 32767.0f)));
}

} // namespace

Mixer::Mixer(const OutputFormat& format)
    : m_format(format)
{
    const auto samples = static_cast<std::size_t>(format.blockFrames) * format.channels;
    if (format.filter == FilterMode::More) {
        m_lowPass = std::make_unique<LowPass>(format.rate, std::min(MoreFilterCutoffHz, format.rate * 0.25), format.channels);
        m_float.resize(samples);
    } else {
        m_pcm.resize(samples);
    }
}

void Mixer::Fill(std::uint8_t* out, std::size_t bytes)
{
    std::lock_guard lock(m_mutex);
    const std::size_t frameBytes = m_format.FrameBytes();
    std::size_t frames = bytes / frameBytes;
    while (frames > 0) {
        const std::size_t block = std::min(frames, static_cast<std::size_t>(m_format.blockFrames));
        MixBlock(out, block);
        out += block * frameBytes;
        frames -= block;
    }
}

void Mixer::MixBlock(std::uint8_t* out, std::size_t frames)
{
    std::size_t done = 0;
    if (m_current && !m_ended) {
        m_heardOrder = m_current->CurrentOrder();
        done = m_lowPass ? RenderFiltered(out, frames) : RenderPlain(out, frames);
        m_ended = done < frames;
    }
    const std::uint8_t silence = m_format.sampleFormat == SampleFormat::Unsigned8 ? 0x80 : 0x00;
    const std::size_t frameBytes = m_format.FrameBytes();
    std::memset(out + done * frameBytes, silence, (frames - done) * frameBytes);
}

std::size_t Mixer::RenderPlain(std::uint8_t* out, std::size_t frames)
{
    const std::size_t done = m_current->Render(m_format.rate, m_format.channels, frames, m_pcm.data());
    const std::size_t samples = done * static_cast<std::size_t>(m_format.channels);
    if (m_format.sampleFormat == SampleFormat::Signed16) {
        std::memcpy(out, m_pcm.data(), samples * sizeof(std::int16_t));
    } else {
        for (std::size_t i = 0; i < samples; ++i)
            out[i] = ToUnsigned8(m_pcm[i]);
    }
    return done;
}

std::size_t Mixer::RenderFiltered(std::uint8_t* out, std::size_t frames)
{
    const std::size_t done = m_current->Render(m_format.rate, m_format.channels, frames, m_float.data());
    m_lowPass->Process(m_float.data(), done);
    const std::size_t samples = done * static_cast<std::size_t>(m_format.channels);
    if (m_format.sampleFormat == SampleFormat::Signed16) {
        for (std::size_t i = 0; i < samples; ++i) {
            const std::int16_t value = ToSigned16(m_float[i]);
            std::memcpy(out + i * 2, &value, sizeof value);
        }
    } else {
        for (std::size_t i = 0; i < samples; ++i)
            out[i] = ToUnsigned8(ToSigned16(m_float[i]));
    }
    return done;
}

void Mixer::Play(ModulePlayer& player, bool loop)
{
    std::lock_guard lock(m_mutex);
    player.Start(loop, InterpolationTaps(m_format.filter));
    m_current = &player;
    m_ended = false;
    m_heardOrder = 0;
    if (m_lowPass)
        m_lowPass->Reset();
}

void Mixer::Stop(const ModulePlayer& player)
{
    std::lock_guard lock(m_mutex);
    if (m_current == &player)
        m_current = nullptr;
}

int Mixer::HeardOrder() const
{
    std::lock_guard lock(m_mutex);
    return m_heardOrder;
}

int Mixer::JumpToOrder(int order)
{
    std::lock_guard lock(m_mutex);
    if (!m_current)
        return 0;
    m_heardOrder = m_current->JumpToOrder(order);
    m_ended = false;
    return m_heardOrder;
}

} // namespace velmora::engine

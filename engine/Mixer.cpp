#include "engine/Mixer.h"
#include "engine/ModulePlayer.h"

#include <algorithm>
#include <cstring>

namespace velmora::engine {
namespace {

// The "more" filter's corner: gentle at high rates, about a quarter of the
// rate at low ones.
constexpr double MoreFilterCutoffHz = 6000.0;

// Frames the decoder renders per call: the gauge knows the order position
// of what is heard to this many frames.
constexpr std::size_t OrderMarkFrames = 256;

int InterpolationTaps(FilterMode mode)
{
    return mode == FilterMode::None ? 1 : 8;
}

// Rounds to nearest by truncating a value made positive: std::lrint is a
// call into libm for every sample, and a branch on the sign mispredicts
// half the time.
std::int16_t ToSigned16(float sample)
{
    const float scaled = std::clamp(sample * 32768.0f, -32768.0f, 32767.0f);
    return static_cast<std::int16_t>(static_cast<int>(scaled + 32768.5f) - 32768);
}

std::uint8_t ToUnsigned8(int sample16)
{
    return static_cast<std::uint8_t>(std::clamp((sample16 + 128) >> 8, -128, 127) + 128);
}

} // namespace

Mixer::Mixer(const OutputFormat& format)
    : m_format(format)
    , m_ahead(format.channels, static_cast<std::size_t>(format.aheadFrames + format.fadeFrames))
    , m_fadeIn(static_cast<std::size_t>(format.fadeFrames * format.channels))
{
    if (format.filter == FilterMode::More)
        m_lowPass = std::make_unique<LowPass>(format.rate, std::min(MoreFilterCutoffHz, format.rate * 0.25), format.channels);
}

bool Mixer::Sounding() const
{
    return (m_current && !m_ended) || !m_ahead.Empty();
}

void Mixer::SetWaitWhileSilent(bool wait)
{
    {
        std::lock_guard lock(m_mutex);
        m_waitWhileSilent = wait;
    }
    m_sound.notify_all();
}

void Mixer::Fill(std::uint8_t* out, std::size_t bytes)
{
    std::unique_lock lock(m_mutex);
    m_sound.wait(lock, [this] { return !m_waitWhileSilent || Sounding(); });
    const std::size_t frameBytes = m_format.FrameBytes();
    const auto blockFrames = static_cast<std::size_t>(m_format.blockFrames);
    const std::uint8_t silence = m_format.sampleFormat == SampleFormat::Unsigned8 ? 0x80 : 0x00;
    std::size_t frames = bytes / frameBytes;
    while (frames > 0) {
        const std::size_t block = std::min(frames, blockFrames);
        if (m_ahead.Frames() < block && m_current && !m_ended)
            RenderAhead(std::max(block, static_cast<std::size_t>(m_format.aheadFrames)));
        const std::size_t sounding = std::min(block, m_ahead.Frames());
        if (sounding > 0) {
            m_heardOrder = m_ahead.NextOrder();
            Emit(out, sounding);
            m_ahead.Consume(sounding);
        }
        std::memset(out + sounding * frameBytes, silence, (block - sounding) * frameBytes);
        out += block * frameBytes;
        frames -= block;
    }
}

void Mixer::RenderAhead(std::size_t frames)
{
    while (m_ahead.Frames() < frames) {
        const std::size_t wanted = std::min(OrderMarkFrames, frames - m_ahead.Frames());
        float* room = m_ahead.Append(wanted, m_current->CurrentOrder());
        const std::size_t got = m_current->Render(m_format.rate, m_format.channels, wanted, room);
        if (got < wanted) {
            m_ahead.Truncate(m_ahead.Frames() - (wanted - got));
            m_ended = true;
            return;
        }
    }
}

void Mixer::FadeOutAhead()
{
    const auto fade = static_cast<std::size_t>(m_format.fadeFrames);
    // The device may have taken everything rendered: the fade needs the
    // song's next frames.
    if (m_current && !m_ended)
        RenderAhead(fade);
    const std::size_t kept = std::min(m_ahead.Frames(), fade);
    m_ahead.Truncate(kept);
    const auto channels = static_cast<std::size_t>(m_format.channels);
    float* samples = m_ahead.Data();
    for (std::size_t i = 0; i < kept; ++i) {
        const float gain = 1.0f - (static_cast<float>(i) + 0.5f) / static_cast<float>(fade);
        for (std::size_t c = 0; c < channels; ++c)
            samples[i * channels + c] *= gain;
    }
}

void Mixer::FadeInCurrent(int order)
{
    const auto fade = static_cast<std::size_t>(m_format.fadeFrames);
    const auto channels = static_cast<std::size_t>(m_format.channels);
    const std::size_t got = m_current->Render(m_format.rate, m_format.channels, fade, m_fadeIn.data());
    m_ended = got < fade;
    // The fading-out sound, at most `fade` frames, now counts as the new one.
    const std::size_t overlap = std::min(m_ahead.Frames(), got);
    m_ahead.Relabel(order);
    if (got > overlap)
        std::fill_n(m_ahead.Append(got - overlap, order), (got - overlap) * channels, 0.0f);
    float* samples = m_ahead.Data();
    for (std::size_t i = 0; i < got; ++i) {
        const float gain = (static_cast<float>(i) + 0.5f) / static_cast<float>(fade);
        for (std::size_t c = 0; c < channels; ++c)
            samples[i * channels + c] += m_fadeIn[i * channels + c] * gain;
    }
}

void Mixer::Emit(std::uint8_t* out, std::size_t frames)
{
    float* samples = m_ahead.Data();
    if (m_lowPass)
        m_lowPass->Process(samples, frames);
    const std::size_t count = frames * static_cast<std::size_t>(m_format.channels);
    if (m_format.sampleFormat == SampleFormat::Signed16) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::int16_t value = ToSigned16(samples[i]);
            std::memcpy(out + i * 2, &value, sizeof value);
        }
    } else {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = ToUnsigned8(ToSigned16(samples[i]));
    }
}

void Mixer::Play(ModulePlayer& player, bool loop)
{
    {
        std::lock_guard lock(m_mutex);
        FadeOutAhead();
        player.Start(loop, InterpolationTaps(m_format.filter));
        m_current = &player;
        m_heardOrder = 0;
        FadeInCurrent(0);
    }
    m_sound.notify_all();
}

void Mixer::Stop(const ModulePlayer& player)
{
    std::lock_guard lock(m_mutex);
    if (m_current != &player)
        return;
    FadeOutAhead();
    m_current = nullptr;
}

int Mixer::HeardOrder() const
{
    std::lock_guard lock(m_mutex);
    return m_heardOrder;
}

int Mixer::JumpToOrder(int order)
{
    std::unique_lock lock(m_mutex);
    if (!m_current)
        return 0;
    FadeOutAhead();
    const int from = m_current->JumpToOrder(order);
    m_heardOrder = from;
    FadeInCurrent(from);
    lock.unlock();
    // A song without loop may have ended, leaving the device thread waiting.
    m_sound.notify_all();
    return from;
}

} // namespace velmora::engine

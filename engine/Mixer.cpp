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
constexpr std::size_t OrderMarkFrames = 1024;

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
    : format_(format), ahead_(format.channels, static_cast<std::size_t>(format.aheadFrames + format.fadeFrames)),
      fadeIn_(static_cast<std::size_t>(format.fadeFrames * format.channels))
{
    if (format.filter == FilterMode::More)
        lowPass_ =
            std::make_unique<LowPass>(format.rate, std::min(MoreFilterCutoffHz, format.rate * 0.25), format.channels);
}

bool Mixer::Sounding() const
{
    return (current_ && !ended_) || !ahead_.Empty();
}

void Mixer::SetWaitWhileSilent(bool wait)
{
    {
        std::lock_guard lock(mutex_);
        waitWhileSilent_ = wait;
    }
    sound_.notify_all();
}

void Mixer::Fill(std::uint8_t* out, std::size_t bytes)
{
    std::unique_lock lock(mutex_);
    sound_.wait(lock, [this] { return !waitWhileSilent_ || Sounding(); });
    const std::size_t frameBytes = format_.FrameBytes();
    const auto blockFrames = static_cast<std::size_t>(format_.blockFrames);
    const std::uint8_t silence = format_.sampleFormat == SampleFormat::Unsigned8 ? 0x80 : 0x00;
    std::size_t frames = bytes / frameBytes;
    while (frames > 0) {
        const std::size_t block = std::min(frames, blockFrames);
        if (ahead_.Frames() < block && current_ && !ended_)
            RenderAhead(std::max(block, static_cast<std::size_t>(format_.aheadFrames)));
        const std::size_t sounding = std::min(block, ahead_.Frames());
        if (sounding > 0) {
            heardOrder_ = ahead_.NextOrder();
            Emit(out, sounding);
            ahead_.Consume(sounding);
        }
        std::memset(out + sounding * frameBytes, silence, (block - sounding) * frameBytes);
        out += block * frameBytes;
        frames -= block;
    }
}

void Mixer::RenderAhead(std::size_t frames)
{
    while (ahead_.Frames() < frames) {
        const std::size_t wanted = std::min(OrderMarkFrames, frames - ahead_.Frames());
        float* room = ahead_.Append(wanted, current_->CurrentOrder());
        const std::size_t got = current_->Render(format_.rate, format_.channels, wanted, room);
        if (got < wanted) {
            ahead_.Truncate(ahead_.Frames() - (wanted - got));
            ended_ = true;
            return;
        }
    }
}

void Mixer::FadeOutAhead()
{
    const auto fade = static_cast<std::size_t>(format_.fadeFrames);
    // The device may have taken everything rendered: the fade needs the
    // song's next frames.
    if (current_ && !ended_)
        RenderAhead(fade);
    const std::size_t kept = std::min(ahead_.Frames(), fade);
    ahead_.Truncate(kept);
    const auto channels = static_cast<std::size_t>(format_.channels);
    float* samples = ahead_.Data();
    for (std::size_t i = 0; i < kept; ++i) {
        const float gain = 1.0f - (static_cast<float>(i) + 0.5f) / static_cast<float>(fade);
        for (std::size_t c = 0; c < channels; ++c)
            samples[i * channels + c] *= gain;
    }
}

void Mixer::FadeInCurrent(int order)
{
    const auto fade = static_cast<std::size_t>(format_.fadeFrames);
    const auto channels = static_cast<std::size_t>(format_.channels);
    const std::size_t got = current_->Render(format_.rate, format_.channels, fade, fadeIn_.data());
    ended_ = got < fade;
    // The fading-out sound, at most `fade` frames, now counts as the new one.
    const std::size_t overlap = std::min(ahead_.Frames(), got);
    ahead_.Relabel(order);
    if (got > overlap)
        std::fill_n(ahead_.Append(got - overlap, order), (got - overlap) * channels, 0.0f);
    float* samples = ahead_.Data();
    for (std::size_t i = 0; i < got; ++i) {
        const float gain = (static_cast<float>(i) + 0.5f) / static_cast<float>(fade);
        for (std::size_t c = 0; c < channels; ++c)
            samples[i * channels + c] += fadeIn_[i * channels + c] * gain;
    }
}

void Mixer::Emit(std::uint8_t* out, std::size_t frames)
{
    float* samples = ahead_.Data();
    if (lowPass_)
        lowPass_->Process(samples, frames);
    const std::size_t count = frames * static_cast<std::size_t>(format_.channels);
    if (format_.sampleFormat == SampleFormat::Signed16) {
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
        std::lock_guard lock(mutex_);
        FadeOutAhead();
        player.Start(loop, InterpolationTaps(format_.filter));
        current_ = &player;
        heardOrder_ = 0;
        FadeInCurrent(0);
    }
    sound_.notify_all();
}

void Mixer::Stop(const ModulePlayer& player)
{
    std::lock_guard lock(mutex_);
    if (current_ != &player)
        return;
    FadeOutAhead();
    current_ = nullptr;
}

int Mixer::HeardOrder() const
{
    std::lock_guard lock(mutex_);
    return heardOrder_;
}

int Mixer::JumpToOrder(int order)
{
    std::unique_lock lock(mutex_);
    if (!current_)
        return 0;
    FadeOutAhead();
    const int from = current_->JumpToOrder(order);
    heardOrder_ = from;
    FadeInCurrent(from);
    lock.unlock();
    // A song without loop may have ended, leaving the device thread waiting.
    sound_.notify_all();
    return from;
}

} // namespace velmora::engine

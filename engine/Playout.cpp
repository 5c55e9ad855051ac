#include "engine/Playout.h"
#include "engine/Samples.h"

#include <algorithm>
#include <cstring>

namespace velmora::engine {
namespace {

// A change of volume takes this long from silence to full scale: quick to
// follow, slow enough that no step is heard.
constexpr double GainRampSeconds = 0.03;

// Generations count up and may wrap around.
bool Before(std::uint32_t a, std::uint32_t b)
{
    return static_cast<std::int32_t>(a - b) < 0;
}

} // namespace

Playout::Playout(const OutputFormat& format, SampleRing& ring, PlayControl& control)
    : format_(format), channels_(static_cast<std::size_t>(format.channels)),
      fadeFrames_(static_cast<std::size_t>(format.fadeFrames)), ring_(ring), control_(control),
      mix_(static_cast<std::size_t>(format.blockFrames) * channels_), tail_(fadeFrames_ * channels_),
      nextTail_(fadeFrames_ * channels_), fadeStep_(1.0f / static_cast<float>(fadeFrames_)),
      gainStep_(static_cast<float>(1.0 / (format.rate * GainRampSeconds)))
{
    playing_ = control_.generation.load(std::memory_order_acquire);
    gain_ = control_.volume.load(std::memory_order_relaxed);
}

void Playout::Fill(std::uint8_t* out, std::size_t bytes)
{
    const std::size_t frameBytes = format_.FrameBytes();
    const std::size_t blockFrames = mix_.size() / channels_;
    std::size_t frames = bytes / frameBytes;
    bool sounded = false;
    if (format_.sampleFormat == SampleFormat::Signed16 && SteadyAtFullScale()) {
        const std::size_t copied = CopyStraight(out, frames);
        sounded = copied > 0;
        out += copied * frameBytes;
        frames -= copied;
    }
    while (frames > 0) {
        const std::size_t block = std::min(frames, blockFrames);
        Mix(block);
        sounded = sounded ||
            std::any_of(mix_.begin(), mix_.begin() + static_cast<std::ptrdiff_t>(block * channels_),
                [](float sample) { return sample != 0.0f; });
        Emit(out, block);
        out += block * frameBytes;
        frames -= block;
    }
    Publish();
    control_.silent.store(!sounded, std::memory_order_release);
    if (sounded)
        control_.silentBuffers.store(0, std::memory_order_relaxed);
    else
        control_.silentBuffers.fetch_add(1, std::memory_order_relaxed);
    // Half of what is kept ahead is gone: the decoder renders more now
    // rather than when its sleep ends, which on a device faster than real
    // time would be too late.
    const std::size_t ahead = ring_.Available() * SampleRing::ChunkFrames;
    if (ahead < static_cast<std::size_t>(format_.aheadFrames) / 2 &&
        !control_.decoderWakePosted.exchange(true, std::memory_order_acq_rel))
        control_.decoderWake.release();
}

void Playout::Mix(std::size_t frames)
{
    const std::uint32_t wanted = control_.generation.load(std::memory_order_acquire);
    if (wanted != playing_)
        SwitchTo(wanted);
    const bool paused = control_.paused.load(std::memory_order_relaxed);
    if (control_.fadeInAgain.exchange(false, std::memory_order_relaxed))
        pauseGain_ = 0.0f;
    const float volume = control_.volume.load(std::memory_order_relaxed);
    const bool steady = !paused && pauseGain_ == 1.0f && tailPosition_ >= tailFrames_ &&
        fadeInPosition_ >= fadeFrames_ && gain_ == volume;
    float frame[OutputFormat::MaxChannels];
    for (std::size_t i = steady ? CopySteady(frames) : 0; i < frames; ++i) {
        std::fill_n(frame, channels_, 0.0f);
        // Paused, the song's place holds once its fade is out.
        const bool holding = paused && pauseGain_ == 0.0f;
        const bool taken = !holding && TakeFrame(frame, true);
        pauseGain_ = paused ? std::max(0.0f, pauseGain_ - fadeStep_) : std::min(1.0f, pauseGain_ + fadeStep_);
        float fadeIn = 1.0f;
        if (taken && fadeInPosition_ < fadeFrames_)
            fadeIn = (static_cast<float>(fadeInPosition_++) + 0.5f) / static_cast<float>(fadeFrames_);
        else if (!taken && !holding)
            fadeInPosition_ = 0; // ran dry: what comes next fades in
        gain_ += std::clamp(volume - gain_, -gainStep_, gainStep_);
        const float* tail = tailPosition_ < tailFrames_ ? &tail_[tailPosition_++ * channels_] : nullptr;
        float* out = &mix_[i * channels_];
        for (std::size_t c = 0; c < channels_; ++c)
            out[c] = (frame[c] * fadeIn * pauseGain_ + (tail ? tail[c] : 0.0f)) * gain_;
    }
}

bool Playout::SteadyAtFullScale()
{
    const std::uint32_t wanted = control_.generation.load(std::memory_order_acquire);
    return wanted == playing_ && !control_.paused.load(std::memory_order_relaxed) &&
        !control_.fadeInAgain.load(std::memory_order_relaxed) && pauseGain_ == 1.0f && tailPosition_ >= tailFrames_ &&
        fadeInPosition_ >= fadeFrames_ && gain_ == 1.0f && control_.volume.load(std::memory_order_relaxed) == 1.0f;
}

template <typename WriteRun>
std::size_t Playout::TakeRuns(std::size_t frames, WriteRun writeRun)
{
    std::size_t done = 0;
    while (done < frames && ring_.Available() > 0) {
        const SampleRing::Chunk& chunk = ring_.Front();
        if (Before(chunk.generation, playing_)) {
            ring_.Pop();
            offset_ = 0;
            continue;
        }
        if (chunk.generation != playing_)
            break; // a later change's: the frame by frame way takes it up
        if (offset_ == 0) {
            heardOrder_ = chunk.order;
            heardChunkTimeMs_ = chunk.timeMs;
        }
        const std::size_t run = std::min(frames - done, chunk.frames - offset_);
        writeRun(chunk.samples + offset_ * channels_, done, run);
        offset_ += run;
        done += run;
        heardChunkOffset_ = offset_;
        heardAny_ = true;
        if (offset_ == chunk.frames) {
            ring_.Pop();
            offset_ = 0;
        }
    }
    return done;
}

std::size_t Playout::CopyStraight(std::uint8_t* out, std::size_t frames)
{
    const std::size_t frameBytes = channels_ * sizeof(std::int16_t);
    return TakeRuns(frames, [&](const std::int16_t* from, std::size_t at, std::size_t run) {
        std::memcpy(out + at * frameBytes, from, run * frameBytes);
    });
}

std::size_t Playout::CopySteady(std::size_t frames)
{
    const float gain = gain_ * FromSigned16;
    return TakeRuns(frames, [&](const std::int16_t* from, std::size_t at, std::size_t run) {
        float* to = &mix_[at * channels_];
        for (std::size_t i = 0; i < run * channels_; ++i)
            to[i] = from[i] * gain;
    });
}

void Playout::SwitchTo(std::uint32_t generation)
{
    // What still fades out from an earlier change goes on fading under the
    // sound heard now, which fades out from its next frame.
    std::fill(nextTail_.begin(), nextTail_.end(), 0.0f);
    float frame[OutputFormat::MaxChannels];
    for (std::size_t j = 0; j < fadeFrames_; ++j) {
        float* out = &nextTail_[j * channels_];
        if (tailPosition_ + j < tailFrames_) {
            const float* earlier = &tail_[(tailPosition_ + j) * channels_];
            std::copy_n(earlier, channels_, out);
        }
        if (pauseGain_ > 0.0f && TakeFrame(frame, false)) {
            const std::size_t in = fadeInPosition_ + j;
            const float fadeIn =
                in < fadeFrames_ ? (static_cast<float>(in) + 0.5f) / static_cast<float>(fadeFrames_) : 1.0f;
            const float fadeOut = 1.0f - (static_cast<float>(j) + 0.5f) / static_cast<float>(fadeFrames_);
            for (std::size_t c = 0; c < channels_; ++c)
                out[c] += frame[c] * fadeIn * fadeOut * pauseGain_;
        }
    }
    tail_.swap(nextTail_);
    tailPosition_ = 0;
    tailFrames_ = fadeFrames_;
    // What the change cut off is never heard.
    while (ring_.Available() > 0 && Before(ring_.Front().generation, generation))
        ring_.Pop();
    offset_ = 0;
    playing_ = generation;
    fadeInPosition_ = 0;
    heardAny_ = false;
}

bool Playout::TakeFrame(float* frame, bool followChanges)
{
    while (ring_.Available() > 0) {
        const SampleRing::Chunk& chunk = ring_.Front();
        if (Before(chunk.generation, playing_)) {
            ring_.Pop();
            offset_ = 0;
            continue;
        }
        if (chunk.generation != playing_) {
            // A later change's sound: heard once the change is published,
            // which may already have happened during this buffer.
            const std::uint32_t wanted = control_.generation.load(std::memory_order_acquire);
            if (followChanges && Before(playing_, wanted) && !Before(wanted, chunk.generation)) {
                SwitchTo(wanted);
                continue;
            }
            return false;
        }
        if (offset_ == 0) {
            heardOrder_ = chunk.order;
            heardChunkTimeMs_ = chunk.timeMs;
        }
        for (std::size_t c = 0; c < channels_; ++c)
            frame[c] = chunk.samples[offset_ * channels_ + c] * FromSigned16;
        heardChunkOffset_ = ++offset_;
        heardAny_ = true;
        if (offset_ == chunk.frames) {
            ring_.Pop();
            offset_ = 0;
        }
        return true;
    }
    return false;
}

void Playout::Publish()
{
    if (!heardAny_)
        return;
    const auto timeMs = static_cast<std::uint32_t>(
        heardChunkTimeMs_ + heardChunkOffset_ * 1000 / static_cast<std::size_t>(format_.rate));
    control_.heardOrder.store(
        PlayControl::Pack(playing_, static_cast<std::uint32_t>(heardOrder_)), std::memory_order_release);
    control_.heardTimeMs.store(PlayControl::Pack(playing_, timeMs), std::memory_order_release);
}

void Playout::Emit(std::uint8_t* out, std::size_t frames) const
{
    const std::size_t count = frames * channels_;
    if (format_.sampleFormat == SampleFormat::Signed16) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::int16_t value = ToSigned16(mix_[i]);
            std::memcpy(out + i * 2, &value, sizeof value);
        }
    } else {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = ToUnsigned8(ToSigned16(mix_[i]));
    }
}

} // namespace velmora::engine

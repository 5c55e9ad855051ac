#pragma once

// Sound the decoder rendered ahead of the device, the next frame to play
// first, with the order position each stretch of it comes from: the decoder
// runs a few device buffers ahead, while the gauge must show the order of
// what is heard. Interleaved float frames in storage reserved up front, so
// the audio thread never allocates.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::engine {

class AheadBuffer {
public:
    AheadBuffer(int channels, std::size_t capacityFrames);

    std::size_t Frames() const { return static_cast<std::size_t>(end_ - begin_); }
    bool Empty() const { return end_ == begin_; }
    // The interleaved samples held, the next frame to play first.
    float* Data() { return samples_.data() + Offset(begin_); }

    // Room for `frames` more after those held, rendered from order position
    // `order`: returns where to write them. At most the capacity is held.
    float* Append(std::size_t frames, int order);
    // Keeps only the first `frames`.
    void Truncate(std::size_t frames);
    // The first `frames` went to the device.
    void Consume(std::size_t frames);
    // All frames held now count as coming from `order`.
    void Relabel(int order);
    // The order position of the next frame to play; held frames only.
    int NextOrder() const { return marks_.front().order; }

private:
    // Where a run of frames from one order position starts.
    struct Mark {
        std::uint64_t frame;
        int order;
    };

    std::size_t Offset(std::uint64_t frame) const { return static_cast<std::size_t>(frame - base_) * channels_; }

    std::size_t channels_;
    std::size_t capacity_;
    std::vector<float> samples_;
    std::vector<Mark> marks_;
    // Frames count up from the first ever rendered: base_ is the frame in
    // the storage's first place, [begin_, end_) the frames held.
    std::uint64_t base_ = 0;
    std::uint64_t begin_ = 0;
    std::uint64_t end_ = 0;
};

} // namespace velmora::engine

#include "engine/AheadBuffer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace velmora::engine {
namespace {

// Order changes held at once before the list has to grow: several per
// device buffer would be an odd song.
constexpr std::size_t ReservedMarks = 64;

} // namespace

AheadBuffer::AheadBuffer(int channels, std::size_t capacityFrames)
    : channels_(static_cast<std::size_t>(channels)), capacity_(capacityFrames), samples_(capacityFrames * channels_)
{
    marks_.reserve(ReservedMarks);
}

float* AheadBuffer::Append(std::size_t frames, int order)
{
    if (Frames() + frames > capacity_)
        throw std::logic_error("more sound rendered ahead than the buffer holds");
    if (end_ + frames - base_ > capacity_) {
        // Move what is held to the front: at most a few device buffers.
        std::memmove(samples_.data(), Data(), Frames() * channels_ * sizeof(float));
        base_ = begin_;
    }
    if (marks_.empty() || Empty() || marks_.back().order != order) {
        if (Empty())
            marks_.clear();
        marks_.push_back({end_, order});
    }
    float* room = samples_.data() + Offset(end_);
    end_ += frames;
    return room;
}

void AheadBuffer::Truncate(std::size_t frames)
{
    end_ = begin_ + std::min<std::uint64_t>(frames, Frames());
    while (marks_.size() > 1 && marks_.back().frame >= end_)
        marks_.pop_back();
}

void AheadBuffer::Consume(std::size_t frames)
{
    begin_ += std::min<std::uint64_t>(frames, Frames());
    // Keep the mark the next frame belongs to, drop the ones before it.
    std::size_t passed = 0;
    while (passed + 1 < marks_.size() && marks_[passed + 1].frame <= begin_)
        ++passed;
    marks_.erase(marks_.begin(), marks_.begin() + static_cast<std::ptrdiff_t>(passed));
}

void AheadBuffer::Relabel(int order)
{
    marks_.clear();
    marks_.push_back({begin_, order});
}

} // namespace velmora::engine

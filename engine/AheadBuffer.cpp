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
    : m_channels(static_cast<std::size_t>(channels))
    , m_capacity(capacityFrames)
    , m_samples(capacityFrames * m_channels)
{
    m_marks.reserve(ReservedMarks);
}

float* AheadBuffer::Append(std::size_t frames, int order)
{
    if (Frames() + frames > m_capacity)
        throw std::logic_error("more sound rendered ahead than the buffer holds");
    if (m_end + frames - m_base > m_capacity) {
        // Move what is held to the front: at most a few device buffers.
        std::memmove(m_samples.data(), Data(), Frames() * m_channels * sizeof(float));
        m_base = m_begin;
    }
    if (m_marks.empty() || Empty() || m_marks.back().order != order) {
        if (Empty())
            m_marks.clear();
        m_marks.push_back({ m_end, order });
    }
    float* room = m_samples.data() + Offset(m_end);
    m_end += frames;
    return room;
}

void AheadBuffer::Truncate(std::size_t frames)
{
    m_end = m_begin + std::min<std::uint64_t>(frames, Frames());
    while (m_marks.size() > 1 && m_marks.back().frame >= m_end)
        m_marks.pop_back();
}

void AheadBuffer::Consume(std::size_t frames)
{
    m_begin += std::min<std::uint64_t>(frames, Frames());
    // Keep the mark the next frame belongs to, drop the ones before it.
    std::size_t passed = 0;
    while (passed + 1 < m_marks.size() && m_marks[passed + 1].frame <= m_begin)
        ++passed;
    m_marks.erase(m_marks.begin(), m_marks.begin() + static_cast<std::ptrdiff_t>(passed));
}

void AheadBuffer::Relabel(int order)
{
    m_marks.clear();
    m_marks.push_back({ m_begin, order });
}

} // namespace velmora::engine

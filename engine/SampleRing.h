#pragma once

// Rendered sound on its way from the decoder to the audio callback: a ring
// of chunks of 16-bit samples (the output holds no more), with one writer
// and one reader. Each chunk carries the
// generation, order position and play time it was rendered at, so the
// reader knows what it is hearing and what a change has cut off. Neither
// side ever waits for the other, and all storage is reserved up front.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::engine {

class SampleRing {
public:
    // Frames in one chunk: the decoder renders this many per call, and the
    // order position heard is known to this many frames.
    static constexpr std::size_t ChunkFrames = 1024;

    struct Chunk {
        std::uint32_t generation = 0;
        int order = 0;
        std::uint32_t timeMs = 0;        // play time of the chunk's first frame
        std::size_t frames = 0;          // 1..ChunkFrames
        std::int16_t* samples = nullptr; // interleaved
    };

    SampleRing(int channels, std::size_t chunks);

    SampleRing(const SampleRing&) = delete;
    SampleRing& operator=(const SampleRing&) = delete;

    std::size_t Capacity() const { return chunks_.size(); }

    // The writer's side. Back() is the free chunk to fill, valid while
    // Room() > 0; Push() hands it to the reader.
    std::size_t Room() const;
    Chunk& Back();
    void Push();
    // Chunks pushed so far, for the writer's own bookkeeping.
    std::uint64_t Written() const { return written_.load(std::memory_order_relaxed); }

    // The reader's side. Front() is the oldest chunk, valid while
    // Available() > 0; Pop() gives it back to the writer.
    std::size_t Available() const;
    const Chunk& Front() const;
    void Pop();
    std::uint64_t Read() const { return read_.load(std::memory_order_acquire); }

private:
    std::size_t channels_;
    std::vector<std::int16_t> samples_;
    std::vector<Chunk> chunks_;
    // Counts of chunks, never reset: their difference is what is held.
    std::atomic<std::uint64_t> written_{0};
    std::atomic<std::uint64_t> read_{0};
};

} // namespace velmora::engine

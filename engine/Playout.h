#pragma once

// The consuming side of the sound, and all the audio callback does: takes
// rendered frames from the ring, fades across changes, pauses and resumes
// with a fade, ramps the master gain, converts to the device's format and
// publishes what was heard. It never locks, waits or allocates.

#include "engine/Options.h"
#include "engine/PlayControl.h"
#include "engine/SampleRing.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::engine {

class Playout {
public:
    Playout(const OutputFormat& format, SampleRing& ring, PlayControl& control);

    // Writes the next `bytes` of output (whole frames) in the device's format.
    void Fill(std::uint8_t* out, std::size_t bytes);

private:
    // Mixes `frames` float frames into mix_.
    void Mix(std::size_t frames);
    // While the sound plays on with nothing fading, whole runs of it are
    // copied at the gain; returns the frames copied, fewer where a change
    // comes or the ring runs dry.
    std::size_t CopySteady(std::size_t frames);
    // The commonest case of all, 16-bit output at full volume: the ring's
    // samples are the output's, copied as they are.
    bool SteadyAtFullScale();
    std::size_t CopyStraight(std::uint8_t* out, std::size_t frames);
    // Takes up to `frames` frames of the generation heard off the ring, in
    // runs that each lie in one chunk, handing each run to
    // writeRun(samples, frames done before it, run's frames) and keeping
    // the heard position; returns the frames taken.
    template <typename WriteRun>
    std::size_t TakeRuns(std::size_t frames, WriteRun writeRun);
    // Moves on to a new generation: what sounds now fades out over the
    // fade's length, and what the change cut off is dropped.
    void SwitchTo(std::uint32_t generation);
    // The next frame of the current generation, when it is rendered already.
    // followChanges: a change published meanwhile is switched to first.
    bool TakeFrame(float* frame, bool followChanges);
    void Publish();
    void Emit(std::uint8_t* out, std::size_t frames) const;

    const OutputFormat format_;
    const std::size_t channels_;
    const std::size_t fadeFrames_;
    SampleRing& ring_;
    PlayControl& control_;

    std::vector<float> mix_;
    // The sound a change cut off, already faded out, mixed under the new one.
    std::vector<float> tail_;
    std::vector<float> nextTail_;
    std::size_t tailPosition_ = 0;
    std::size_t tailFrames_ = 0;

    std::uint32_t playing_ = 0;      // the generation heard
    std::size_t offset_ = 0;         // frames taken from the ring's front chunk
    std::size_t fadeInPosition_ = 0; // frames of the generation heard so far
    float pauseGain_ = 1.0f;
    float gain_ = 1.0f;
    const float fadeStep_;
    const float gainStep_;

    // What was heard last of the current generation.
    bool heardAny_ = false;
    int heardOrder_ = 0;
    std::uint32_t heardChunkTimeMs_ = 0;
    std::size_t heardChunkOffset_ = 0;
};

} // namespace velmora::engine

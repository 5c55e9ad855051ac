#pragma once

// The decoder's thread, for as long as the engine plays in the background:
// it carries out the program thread's changes, keeps the ring filled ahead
// of the device, pauses the device while nothing sounds (and closes it after
// a long silence), and opens the output again about once a second after it
// was lost.

#include "engine/Options.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace velmora::engine {

class AudioOutput;
class Decoder;
struct PlayControl;

class AudioWorker {
public:
    AudioWorker(const OutputFormat& format, Decoder& decoder, AudioOutput& output, PlayControl& control);
    // Stops the thread once the device has played out what it holds, and
    // leaves it paused.
    ~AudioWorker();

    AudioWorker(const AudioWorker&) = delete;
    AudioWorker& operator=(const AudioWorker&) = delete;

    // Runs change on the decoder's thread and returns once it has run,
    // throwing what it threw. One caller at a time.
    void Call(const std::function<void()>& change);
    // Looks at the pause state and the device now rather than later.
    void Wake();

private:
    void Run();
    // Runs the change waiting, if any; false once the thread should end.
    bool RunChange();
    // Starts, pauses or reopens the device; returns how long the thread
    // may sleep.
    std::chrono::milliseconds TendDevice(std::size_t framesAhead);
    // Lets the device play out what it holds before the thread ends.
    void Drain();

    const OutputFormat format_;
    Decoder& decoder_;
    AudioOutput& output_;
    PlayControl& control_;

    // Only between the program's thread and this one: the callback never
    // takes it.
    std::mutex mutex_;
    std::condition_variable done_;
    const std::function<void()>* change_ = nullptr;
    std::exception_ptr failure_;
    bool stopping_ = false;

    bool lost_ = false;
    std::chrono::steady_clock::time_point retryAt_;
    // Since when the device has been paused; closed after a long silence.
    std::optional<std::chrono::steady_clock::time_point> idleSince_;
    bool resting_ = false;
    std::thread thread_;
};

} // namespace velmora::engine

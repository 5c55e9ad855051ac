#include "engine/AudioWorker.h"
#include "engine/AudioOutput.h"
#include "engine/Decoder.h"
#include "engine/PlayControl.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>

namespace velmora::engine {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds RetryEvery{1000};
// While the device is paused it is still looked at now and then, so that
// a lost one is opened again before anything wants to play.
constexpr milliseconds IdleCheckEvery{1000};
constexpr milliseconds ShortestSleep{5};
constexpr milliseconds LongestSleep{500};
// Silence this long closes the device; a song, or a resume, wakes the thread
// and opens it again.
constexpr std::chrono::seconds RestAfter{10};
constexpr milliseconds RestCheckEvery{10000};

} // namespace

AudioWorker::AudioWorker(const OutputFormat& format, Decoder& decoder, AudioOutput& output, PlayControl& control)
    : format_(format), decoder_(decoder), output_(output), control_(control),
      // An output that didn't open waits for its sound server from the start.
      lost_(!output.IsOpen()), retryAt_(std::chrono::steady_clock::now()), thread_([this] { Run(); })
{
}

AudioWorker::~AudioWorker()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    control_.decoderWake.release();
    thread_.join();
}

void AudioWorker::Call(const std::function<void()>& change)
{
    std::unique_lock lock(mutex_);
    change_ = &change;
    failure_ = nullptr;
    control_.decoderWake.release();
    done_.wait(lock, [this] { return change_ == nullptr; });
    if (failure_)
        std::rethrow_exception(failure_);
}

void AudioWorker::Wake()
{
    control_.decoderWake.release();
}

void AudioWorker::Run()
{
    // The callback, at SDL's own raised priority, only takes what this
    // thread rendered: on a busy machine this one must not be the one that
    // waits. Where the system refuses (no privilege, no rtkit), it runs as
    // it was.
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH);
    milliseconds sleep{0};
    while (true) {
        (void)control_.decoderWake.try_acquire_for(sleep);
        control_.decoderWakePosted.store(false, std::memory_order_release);
        if (!RunChange())
            break;
        const std::size_t ahead = decoder_.Fill(static_cast<std::size_t>(format_.aheadFrames));
        sleep = TendDevice(ahead);
    }
    Drain();
    output_.SetRunning(false);
    // SDL frees a thread's error text only for threads it started itself;
    // this one opened and closed devices, so it hands its own back.
    SDL_TLSCleanup();
}

void AudioWorker::Drain()
{
    // Closing the device drops what the sound server still holds of it:
    // the fade-out of what stopped would be cut off mid-swing, and a
    // restart would go on past what was heard. A buffer of silence after
    // the last sound pushes it through, SDL's own wait as the device
    // closes doing the rest. The callback comes once per buffer the server
    // takes, so this follows the device, bounded for one that stalls.
    if (lost_ || resting_ || !output_.Running())
        return;
    constexpr std::uint32_t flushingBuffers = 1;
    const auto buffer = milliseconds(1000 * format_.blockFrames / format_.rate + 1);
    const auto until = std::chrono::steady_clock::now() + buffer * (flushingBuffers + 2);
    while (control_.silentBuffers.load(std::memory_order_relaxed) < flushingBuffers &&
        std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(ShortestSleep);
}

bool AudioWorker::RunChange()
{
    std::unique_lock lock(mutex_);
    if (stopping_)
        return false;
    if (!change_)
        return true;
    const std::function<void()>* change = change_;
    std::exception_ptr failure;
    lock.unlock();
    try {
        (*change)();
    } catch (...) {
        failure = std::current_exception();
    }
    lock.lock();
    failure_ = failure;
    change_ = nullptr;
    done_.notify_all();
    return true;
}

milliseconds AudioWorker::TendDevice(std::size_t framesAhead)
{
    const auto now = std::chrono::steady_clock::now();
    const bool silent = control_.silent.load(std::memory_order_acquire);
    const bool wanted = !control_.paused.load(std::memory_order_relaxed) && (decoder_.Sounding() || !silent);
    if (resting_) {
        if (!wanted)
            return RestCheckEvery;
        resting_ = false;
        if (!output_.Reopen()) {
            lost_ = true;
            retryAt_ = now + RetryEvery;
            std::fprintf(stderr, "velmora: the sound output can't be opened; trying again once a second\n");
            return RetryEvery;
        }
    }
    if (lost_) {
        if (now < retryAt_)
            return std::chrono::duration_cast<milliseconds>(retryAt_ - now) + milliseconds(1);
        if (!output_.Reopen()) {
            retryAt_ = now + RetryEvery;
            return RetryEvery;
        }
        lost_ = false;
        control_.fadeInAgain.store(true, std::memory_order_relaxed);
        std::fprintf(stderr, "velmora: the sound output is back\n");
    } else if (output_.Lost()) {
        lost_ = true;
        retryAt_ = now + RetryEvery;
        std::fprintf(stderr, "velmora: the sound output was lost; opening it again once a second\n");
        return RetryEvery;
    }

    if (wanted && !output_.Running())
        output_.SetRunning(true);
    else if (!wanted && output_.Running() && silent)
        output_.SetRunning(false);

    if (!output_.Running()) {
        // A paused device still has SDL's thread hand it silence; after a
        // while of nothing it is closed, and opened again for the next song.
        if (!idleSince_) {
            idleSince_ = now;
        } else if (now - *idleSince_ >= RestAfter) {
            output_.Close();
            resting_ = true;
            idleSince_.reset();
            return RestCheckEvery;
        }
        return IdleCheckEvery;
    }
    idleSince_.reset();
    const milliseconds buffer{1000 * format_.blockFrames / format_.rate};
    if (!wanted || !decoder_.Sounding())
        return std::max(buffer, ShortestSleep); // until the fade has gone out
    // Woken again when half of what is ahead has been heard.
    const std::size_t half = static_cast<std::size_t>(format_.aheadFrames) / 2;
    const std::size_t spare = framesAhead > half ? framesAhead - half : 0;
    return std::clamp(milliseconds(static_cast<long>(spare * 1000 / static_cast<std::size_t>(format_.rate))),
        ShortestSleep, LongestSleep);
}

} // namespace velmora::engine

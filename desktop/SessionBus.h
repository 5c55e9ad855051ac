#pragma once

// The desktop session's message bus, when there is one: a connection that
// may own a name, and that the message loop serves. A thread of its own
// watches the connection and wakes the loop, which handles what came in;
// nothing on the loop's thread ever waits for the bus. If the bus goes
// away, the connection closes quietly and the program goes on without it.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct sd_bus;

class TSessionBus : public std::enable_shared_from_this<TSessionBus> {
public:
    // The user's session bus; none when there is no session bus (no error:
    // the program runs on its own).
    static std::shared_ptr<TSessionBus> Open();
    ~TSessionBus();

    TSessionBus(const TSessionBus&) = delete;
    TSessionBus& operator=(const TSessionBus&) = delete;

    sd_bus* Handle() const { return bus_; }
    bool Connected() const { return connected_; }

    // True when the name is ours now; false when another holds it.
    bool ClaimName(const std::string& name);

    // Calls a method of another program's object with string arguments,
    // waiting at most timeoutMs for its answer. Only before the loop runs.
    bool Call(const std::string& destination, const std::string& path, const std::string& interface,
        const std::string& method, const std::vector<std::string>& arguments, int timeoutMs, std::string& error);

    // From now on the message loop serves the connection.
    void AttachToLoop();
    // Something was queued to send: the watcher looks again at once.
    void Kick();

private:
    explicit TSessionBus(sd_bus* bus);

    // On the loop's thread: handles what came in, sends what waits, and
    // tells the watcher what to wait for next.
    void Serve();
    void Watch();
    void StopWatching();
    void Lose();

    sd_bus* bus_;
    bool connected_ = true;
    int kick_ = -1; // an eventfd that ends the watcher's wait

    std::mutex mutex_;
    std::condition_variable armed_;
    bool waitArmed_ = false;
    bool stopping_ = false;
    short events_ = 0;
    std::uint64_t deadlineUs_ = UINT64_MAX; // CLOCK_MONOTONIC
    std::thread watcher_;
};

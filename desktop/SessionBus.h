#pragma once

// The desktop session's message bus, when there is one: a connection that
// may own a name, served by a thread of its own. Once Serve() is called,
// everything sd-bus does with the connection happens on that thread (its
// objects are not thread-safe): calls from the bus are answered there at
// once, whatever the message loop is doing, and what the program's thread
// wants sent (a signal) is handed over through Send(). If the bus goes
// away, the connection closes quietly and the program goes on without it.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct sd_bus;

class TSessionBus {
public:
    // The user's session bus, connected and answering within answerWithin;
    // none when there is no session bus (no error: the program runs on its
    // own) or when it doesn't answer in time (said on stderr).
    static std::shared_ptr<TSessionBus> Open(std::chrono::milliseconds answerWithin);
    // Stops the thread, lets out what waits to be sent for a moment at
    // most, and closes the connection.
    ~TSessionBus();

    TSessionBus(const TSessionBus&) = delete;
    TSessionBus& operator=(const TSessionBus&) = delete;

    // The connection: before Serve(), to set up objects; after it, only on
    // the bus's thread (in handlers and in what Send runs).
    sd_bus* Handle() const { return bus_; }
    bool Connected() const { return connected_; }

    // Before Serve(). True when the name is ours now; false when another
    // holds it, or the bus didn't answer in time.
    bool ClaimName(const std::string& name, std::chrono::milliseconds answerWithin);
    // Before Serve(). Calls a method of another program's object with
    // string arguments, waiting at most answerWithin for its answer; false
    // with the bus's error (name and text) otherwise.
    struct TCallError {
        std::string Name;
        std::string Message;
    };
    bool Call(const std::string& destination, const std::string& path, const std::string& interface,
        const std::string& method, const std::vector<std::string>& arguments, std::chrono::milliseconds answerWithin,
        TCallError& error);

    // From now on the bus's own thread serves the connection.
    void Serve();
    // Runs work with the connection on the bus's thread, soon; from any
    // thread. Dropped once the bus is gone.
    void Send(std::function<void(sd_bus*)> work);
    // Runs work with the connection where nothing else uses it (on the
    // bus's thread while it serves, else here) and waits for it: for
    // taking objects off the bus before they go.
    void RunAlone(const std::function<void(sd_bus*)>& work);

private:
    explicit TSessionBus(sd_bus* bus);

    void Run();
    void Kick();
    // Runs what was handed over; false once the thread should end.
    bool RunSent();

    sd_bus* bus_;
    std::atomic<bool> connected_{true};
    int kick_ = -1; // an eventfd that ends the thread's wait

    std::mutex mutex_;
    std::condition_variable ran_;
    bool stopping_ = false;
    bool serving_ = false; // the thread runs and takes what is sent
    std::vector<std::function<void(sd_bus*)>> sent_;
    std::thread thread_;
};

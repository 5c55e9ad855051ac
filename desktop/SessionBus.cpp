#include "desktop/SessionBus.h"

#include "toolkit/windowing/Application.h"

#include <systemd/sd-bus.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

std::uint64_t MonotonicUs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000 + static_cast<std::uint64_t>(now.tv_nsec) / 1000;
}

} // namespace

std::shared_ptr<TSessionBus> TSessionBus::Open()
{
    // Where the session names no bus, none is tried: sd-bus would look in
    // the same two places, at the cost of half a megabyte of its code.
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if ((!address || !*address) && (!runtime || access((std::string(runtime) + "/bus").c_str(), F_OK) != 0))
        return nullptr;
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0)
        return nullptr;
    return std::shared_ptr<TSessionBus>(new TSessionBus(bus));
}

TSessionBus::TSessionBus(sd_bus* bus) : bus_(bus), kick_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

TSessionBus::~TSessionBus()
{
    StopWatching();
    sd_bus_flush_close_unref(bus_);
    if (kick_ >= 0)
        close(kick_);
}

bool TSessionBus::ClaimName(const std::string& name)
{
    return sd_bus_request_name(bus_, name.c_str(), 0) >= 0;
}

bool TSessionBus::Call(const std::string& destination, const std::string& path, const std::string& interface,
    const std::string& method, const std::vector<std::string>& arguments, int timeoutMs, std::string& error)
{
    sd_bus_message* call = nullptr;
    sd_bus_message* reply = nullptr;
    sd_bus_error failure = SD_BUS_ERROR_NULL;
    int result = sd_bus_message_new_method_call(
        bus_, &call, destination.c_str(), path.c_str(), interface.c_str(), method.c_str());
    for (const std::string& argument : arguments) {
        if (result >= 0)
            result = sd_bus_message_append(call, "s", argument.c_str());
    }
    if (result >= 0)
        result = sd_bus_call(bus_, call, static_cast<std::uint64_t>(timeoutMs) * 1000, &failure, &reply);
    if (result < 0)
        error = failure.message ? failure.message : "no answer";
    sd_bus_error_free(&failure);
    sd_bus_message_unref(reply);
    sd_bus_message_unref(call);
    return result >= 0;
}

void TSessionBus::AttachToLoop()
{
    watcher_ = std::thread([this] { Watch(); });
    Serve();
}

void TSessionBus::Kick()
{
    if (kick_ < 0)
        return;
    const std::uint64_t one = 1;
    (void)!write(kick_, &one, sizeof one);
}

void TSessionBus::Serve()
{
    if (!connected_)
        return;
    int result = 0;
    while ((result = sd_bus_process(bus_, nullptr)) > 0) { }
    const int events = result < 0 ? result : sd_bus_get_events(bus_);
    std::uint64_t deadline = UINT64_MAX;
    if (events < 0 || sd_bus_get_timeout(bus_, &deadline) < 0) {
        Lose();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        events_ = static_cast<short>(events);
        deadlineUs_ = deadline;
        waitArmed_ = true;
    }
    armed_.notify_one();
}

void TSessionBus::Watch()
{
    const int fd = sd_bus_get_fd(bus_);
    std::weak_ptr<TSessionBus> self = weak_from_this();
    while (true) {
        short events = 0;
        std::uint64_t deadline = UINT64_MAX;
        {
            std::unique_lock lock(mutex_);
            armed_.wait(lock, [this] { return waitArmed_ || stopping_; });
            if (stopping_)
                return;
            waitArmed_ = false;
            events = events_;
            deadline = deadlineUs_;
        }
        pollfd watched[2] = {{fd, events, 0}, {kick_, POLLIN, 0}};
        int timeoutMs = -1;
        if (deadline != UINT64_MAX) {
            const std::uint64_t now = MonotonicUs();
            timeoutMs =
                deadline <= now ? 0 : static_cast<int>(std::min<std::uint64_t>((deadline - now + 999) / 1000, 60000));
        }
        poll(watched, 2, timeoutMs);
        std::uint64_t kicks = 0;
        (void)!read(kick_, &kicks, sizeof kicks);
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
        }
        // The connection outlives every call posted here only while the
        // program runs; a call left over at the end finds it gone.
        Application().Post([self] {
            if (auto bus = self.lock())
                bus->Serve();
        });
    }
}

void TSessionBus::StopWatching()
{
    if (!watcher_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    armed_.notify_one();
    Kick();
    watcher_.join();
}

void TSessionBus::Lose()
{
    connected_ = false;
    StopWatching();
    sd_bus_close(bus_);
}

#include "desktop/SessionBus.h"

#include <systemd/sd-bus.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

using std::chrono::milliseconds;

std::uint64_t MonotonicUs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000 + static_cast<std::uint64_t>(now.tv_nsec) / 1000;
}

std::uint64_t Us(milliseconds duration)
{
    return static_cast<std::uint64_t>(std::max<milliseconds::rep>(0, duration.count())) * 1000;
}

// How long the connection may take to let out what waits to be sent as
// the program ends.
constexpr milliseconds flushWithin{100};

// Lets the connection write what it holds, for at most until deadlineUs.
void FlushUntil(sd_bus* bus, std::uint64_t deadlineUs)
{
    while (MonotonicUs() < deadlineUs) {
        const int events = sd_bus_get_events(bus);
        if (events <= 0 || !(events & POLLOUT))
            return;
        if (sd_bus_process(bus, nullptr) < 0)
            return;
        pollfd watched{sd_bus_get_fd(bus), POLLOUT, 0};
        poll(&watched, 1, static_cast<int>((deadlineUs - std::min(deadlineUs, MonotonicUs()) + 999) / 1000));
    }
}

} // namespace

std::shared_ptr<TSessionBus> TSessionBus::Open(milliseconds answerWithin)
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
    // sd-bus waits for a bus that takes the connection but never answers
    // for a minute and a half before it gives up: the window waits for no
    // such bus.
    const std::uint64_t deadline = MonotonicUs() + Us(answerWithin);
    int ready = 0;
    while ((ready = sd_bus_is_ready(bus)) == 0) {
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0)
            break;
        if (processed > 0)
            continue;
        const std::uint64_t now = MonotonicUs();
        if (now >= deadline)
            break;
        sd_bus_wait(bus, deadline - now);
    }
    if (ready <= 0) {
        sd_bus_close_unref(bus);
        if (ready == 0) {
            std::fprintf(stderr, "velmora: the session bus does not answer; the disc runs without media controls\n");
            // Libraries in the process (SDL's video, for its screensaver
            // and input methods) would wait on the same bus, without end:
            // they find none.
            setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/velmora-bus-not-answering", 1);
        }
        return nullptr;
    }
    return std::shared_ptr<TSessionBus>(new TSessionBus(bus));
}

TSessionBus::TSessionBus(sd_bus* bus) : bus_(bus), kick_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

TSessionBus::~TSessionBus()
{
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        Kick();
        thread_.join();
    }
    if (connected_)
        FlushUntil(bus_, MonotonicUs() + Us(flushWithin));
    sd_bus_close_unref(bus_);
    if (kick_ >= 0)
        close(kick_);
}

bool TSessionBus::ClaimName(const std::string& name, milliseconds answerWithin)
{
    sd_bus_set_method_call_timeout(bus_, Us(answerWithin));
    return sd_bus_request_name(bus_, name.c_str(), 0) >= 0;
}

bool TSessionBus::Call(const std::string& destination, const std::string& path, const std::string& interface,
    const std::string& method, const std::vector<std::string>& arguments, milliseconds answerWithin,
    TCallError& error)
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
        result = sd_bus_call(bus_, call, Us(answerWithin), &failure, &reply);
    if (result < 0) {
        error.Name = failure.name ? failure.name : "";
        error.Message = failure.message ? failure.message : "no answer";
    }
    sd_bus_error_free(&failure);
    sd_bus_message_unref(reply);
    sd_bus_message_unref(call);
    return result >= 0;
}

void TSessionBus::Serve()
{
    std::lock_guard lock(mutex_);
    serving_ = true;
    thread_ = std::thread([this] { Run(); });
}

void TSessionBus::RunAlone(const std::function<void(sd_bus*)>& work)
{
    std::unique_lock lock(mutex_);
    if (!serving_) {
        work(bus_);
        return;
    }
    bool done = false;
    sent_.push_back([&](sd_bus* bus) {
        work(bus);
        std::lock_guard ranLock(mutex_);
        done = true;
        ran_.notify_all();
    });
    lock.unlock();
    Kick();
    lock.lock();
    ran_.wait(lock, [&] { return done; });
}

void TSessionBus::Send(std::function<void(sd_bus*)> work)
{
    {
        std::lock_guard lock(mutex_);
        if (!connected_ || !serving_)
            return;
        sent_.push_back(std::move(work));
    }
    Kick();
}

void TSessionBus::Kick()
{
    if (kick_ < 0)
        return;
    const std::uint64_t one = 1;
    (void)!write(kick_, &one, sizeof one);
}

bool TSessionBus::RunSent()
{
    std::vector<std::function<void(sd_bus*)>> sent;
    bool stopping = false;
    {
        std::lock_guard lock(mutex_);
        stopping = stopping_;
        sent.swap(sent_);
    }
    for (const auto& work : sent)
        work(bus_);
    return !stopping;
}

void TSessionBus::Run()
{
    const int fd = sd_bus_get_fd(bus_);
    while (RunSent()) {
        int result = 0;
        while ((result = sd_bus_process(bus_, nullptr)) > 0) { }
        const int events = result < 0 ? result : sd_bus_get_events(bus_);
        std::uint64_t deadline = UINT64_MAX;
        if (events < 0 || sd_bus_get_timeout(bus_, &deadline) < 0)
            break;
        pollfd watched[2] = {{fd, static_cast<short>(events), 0}, {kick_, POLLIN, 0}};
        int timeoutMs = -1;
        if (deadline != UINT64_MAX) {
            const std::uint64_t now = MonotonicUs();
            timeoutMs =
                deadline <= now ? 0 : static_cast<int>(std::min<std::uint64_t>((deadline - now + 999) / 1000, 60000));
        }
        poll(watched, 2, timeoutMs);
        std::uint64_t kicks = 0;
        (void)!read(kick_, &kicks, sizeof kicks);
    }
    // The bus went away, or the program ends: from now on what is handed
    // over runs where it is handed over, and whoever waits for it is let go.
    std::vector<std::function<void(sd_bus*)>> sent;
    {
        std::lock_guard lock(mutex_);
        serving_ = false;
        sent.swap(sent_);
        if (!stopping_) {
            connected_ = false;
            sd_bus_close(bus_);
        }
    }
    for (const auto& work : sent)
        work(bus_);
}

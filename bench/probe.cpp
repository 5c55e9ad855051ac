// Figures of one program run for the whole-program benchmark.
//
//   probe map -- program [args...]
//       starts the program, waits for its first window to be mapped on the
//       X display and prints "pid <pid> window <id> mapped_ms <ms> cpu_ms
//       <ms>", the CPU it took to get there; the program keeps running.
//   probe run -- program [args...]
//       runs the program to its end, its output to /dev/null, and prints
//       "cpu_s <user + system seconds> maxrss_kb <peak resident KiB>".

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto MapTimeout = std::chrono::seconds(20);

enum class Output { ToNull, ToStderr };

// The program's output never reaches ours, which carries the figures.
pid_t Spawn(char** argv, Output output)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output == Output::ToNull)
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    pid_t child = 0;
    const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        throw std::runtime_error(std::string("cannot start ") + argv[0] + ": " + std::strerror(failed));
    return child;
}

// The pid a window says it belongs to, or 0 when it doesn't say.
long WindowPid(Display* display, Window window)
{
    const Atom property = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(
            display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data) {
        if (format == 32 && count == 1)
            pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    return pid;
}

// A window may be gone by the time its property is asked for.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

// CPU milliseconds the process's threads have had, from the scheduler.
double CpuMs(pid_t pid)
{
    double nanoseconds = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
        std::ifstream in(task.path() / "schedstat");
        double running = 0;
        if (in >> running)
            nanoseconds += running;
    }
    return nanoseconds / 1e6;
}

int Map(char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        throw std::runtime_error("no X display");
    XSetErrorHandler(IgnoreError);
    // Top-level windows are the root's children: their mapping is reported
    // to whoever listens on the root for structure changes below it.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = Clock::now();
    const pid_t child = Spawn(argv, Output::ToStderr);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() - start < MapTimeout) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.override_redirect)
                continue;
            const auto mapped = Clock::now();
            const long owner = WindowPid(display, event.xmap.window);
            if (owner != 0 && owner != child)
                continue;
            std::printf("pid %d window %lu mapped_ms %.1f cpu_ms %.1f\n", child, event.xmap.window,
                std::chrono::duration<double, std::milli>(mapped - start).count(), CpuMs(child));
            XCloseDisplay(display);
            return 0;
        }
        poll(&connection, 1, 100);
    }
    throw std::runtime_error(std::string(argv[0]) + " mapped no window");
}

int Run(char** argv)
{
    const pid_t child = Spawn(argv, Output::ToNull);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(std::string(argv[0]) + " failed");
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
        (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    std::printf("cpu_s %.4f maxrss_kb %ld\n", cpu, usage.ru_maxrss);
    return 0;
}

} // namespace

int main(int argc, char** argv)
try {
    if (argc < 4 || std::strcmp(argv[2], "--") != 0)
        throw std::runtime_error("usage: probe map|run -- program [args...]");
    const std::string verb = argv[1];
    if (verb == "map")
        return Map(argv + 3);
    if (verb == "run")
        return Run(argv + 3);
    throw std::runtime_error("unknown verb " + verb);
} catch (const std::exception& error) {
    std::fprintf(stderr, "probe: %s\n", error.what());
    return 1;
}

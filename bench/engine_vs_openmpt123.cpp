// CPU seconds per minute of playback: the engine's own mixing path against
// Debian's openmpt123 rendering the same module at the same rate and format.
//
//   engine_vs_openmpt123 [module]    (without one, a busy 8-channel XM is made)
//
// The engine mixes by hand through the path the sound device pulls from, one
// device buffer at a time, with SDL's dummy driver standing in for a device.

#include "engine/Midas.h"
#include "engine/MidasTesting.h"
#include "tests/support/TestModules.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int Rate = 44100;
constexpr int Repeats = 3;

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

void Check(int ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(std::string(what) + ": " + MIDASgetErrorMessage(MIDASgetLastError()));
}

// CPU seconds the engine takes to mix `frames` of the module.
double EngineSeconds(const std::string& path, std::size_t frames)
{
    Check(MIDASstartup(), "startup");
    Check(MIDASsetOption(MIDAS_OPTION_MIXBUFLEN, 1000), "option");
    Check(MIDASsetOption(MIDAS_OPTION_MIXBUFBLOCKS, 2), "option");
    Check(MIDASsetOption(MIDAS_OPTION_MIXRATE, Rate), "option");
    Check(MIDASsetOption(MIDAS_OPTION_FILTER_MODE, 1), "option");
    Check(MIDASsetOption(MIDAS_OPTION_OUTPUTMODE, MIDAS_MODE_16BIT_STEREO), "option");
    Check(MIDASinit(), "init");
    int32_t rate = 0, channels = 0, bits = 0, blockFrames = 0;
    Check(MIDASgetOutputFormat(&rate, &channels, &bits, &blockFrames), "output format");
    const MIDASmodule module = MIDASloadModule(path.c_str());
    Check(module != 0, "load");
    std::vector<std::uint8_t> block(static_cast<std::size_t>(blockFrames) * 4);

    const double start = ProcessCpuSeconds();
    Check(MIDASplayModule(module, 0) != 0, "play");
    for (std::size_t done = 0; done < frames; done += static_cast<std::size_t>(blockFrames))
        Check(MIDASmixInto(block.data(), static_cast<uint32_t>(block.size())), "mix");
    const double seconds = ProcessCpuSeconds() - start;

    MIDASfreeModule(module);
    MIDASclose();
    return seconds;
}

// CPU seconds (user + system) of one openmpt123 run writing to /dev/null.
double Openmpt123Seconds(const std::string& path)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string rate = std::to_string(Rate);
    std::vector<std::string> words{
        "openmpt123", "--batch", "--quiet", "--stdout", "--no-float", "--samplerate", rate, path};
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "openmpt123", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("openmpt123 could not be started (apt-get install openmpt123)");
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("openmpt123 failed");
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
        (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

} // namespace

int main(int argc, char** argv)
try {
    // No device is needed: the engine is driven by hand.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string path;
    std::filesystem::path made;
    if (argc > 1) {
        path = argv[1];
    } else {
        made = std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(getpid()) + ".xm");
        path = made.string();
        modwriter::WriteFile(path, modwriter::WriteXM(BusySong(8)));
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    openmpt::module probe(bytes);
    const double seconds = probe.get_duration_seconds();
    const auto frames = static_cast<std::size_t>(seconds * Rate);

    double engine = 1e9, player = 1e9;
    for (int i = 0; i < Repeats; ++i) {
        engine = std::min(engine, EngineSeconds(path, frames));
        player = std::min(player, Openmpt123Seconds(path));
    }
    if (!made.empty())
        std::filesystem::remove(made);

    const double minutes = seconds / 60.0;
    std::printf("module: %s, %.1f s at %d Hz, 16-bit stereo, best of %d\n",
        argc > 1 ? path.c_str() : "generated 8-channel XM", seconds, Rate, Repeats);
    std::printf("engine:     %.4f CPU s per minute of playback\n", engine / minutes);
    std::printf("openmpt123: %.4f CPU s per minute of playback\n", player / minutes);
    std::printf("ratio engine / openmpt123: %.3f\n", engine / player);
    return 0;
} catch (const std::exception& error) {
    std::fprintf(stderr, "engine_vs_openmpt123: %s\n", error.what());
    return 1;
}

// Any bytes as a module file through the engine's C interface: refused
// with an error text, or loaded, described, played, moved and freed.

#include "FuzzSupport.h"

#include "engine/Midas.h"
#include "engine/MidasTesting.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// The engine mixes by hand into a buffer; no device pulls.
bool Setup()
{
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    FUZZ_CHECK(MIDASstartup());
    FUZZ_CHECK(MIDASsetOption(MIDAS_OPTION_MIXRATE, 8000));
    FUZZ_CHECK(MIDASinit());
    return true;
}

// The input as a file the engine opens by its path, without touching a disk.
class TMemoryFile {
public:
    TMemoryFile(const std::uint8_t* data, std::size_t size) : fd_(::memfd_create("module", MFD_CLOEXEC))
    {
        FUZZ_CHECK(fd_ >= 0);
        for (std::size_t done = 0; done < size;) {
            const ssize_t wrote = ::write(fd_, data + done, size - done);
            FUZZ_CHECK(wrote > 0);
            done += static_cast<std::size_t>(wrote);
        }
    }
    ~TMemoryFile() { ::close(fd_); }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};

void Mix(int blocks)
{
    std::int32_t rate = 0, channels = 0, bits = 0, frames = 0;
    FUZZ_CHECK(MIDASgetOutputFormat(&rate, &channels, &bits, &frames));
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(frames) * channels * bits / 8);
    for (int i = 0; i < blocks; ++i)
        FUZZ_CHECK(MIDASmixInto(buffer.data(), static_cast<std::uint32_t>(buffer.size())));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = Setup();
    (void)ready;
    const TMemoryFile file(data, size);
    const MIDASmodule module = MIDASloadModule(file.Path().c_str());
    if (!module) {
        FUZZ_CHECK(MIDASgetLastError() != MIDAS_ERROR_OK);
        FUZZ_CHECK(std::strlen(MIDASgetErrorMessage(MIDASgetLastError())) > 0);
        return 0;
    }
    MIDASmoduleInfo info{};
    FUZZ_CHECK(MIDASgetModuleInfo(module, &info));
    FUZZ_CHECK(std::memchr(info.songName, '\0', sizeof info.songName) != nullptr);

    const MIDASmodulePlayHandle play = MIDASplayModule(module, 1);
    FUZZ_CHECK(play != 0);
    Mix(4);
    MIDASplayStatus status{};
    FUZZ_CHECK(MIDASgetPlayStatus(play, &status));
    FUZZ_CHECK(status.position >= 0);
    FUZZ_CHECK(MIDASsetPosition(play, static_cast<std::int32_t>(info.songLength) - 1));
    Mix(2);
    FUZZ_CHECK(MIDASsetPosition(play, 1 << 30)); // past the end: the last position
    Mix(1);
    FUZZ_CHECK(MIDASstopModule(play));
    FUZZ_CHECK(MIDASfreeModule(module));
    return 0;
}

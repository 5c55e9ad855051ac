// Files only a POSIX system has in a module's place, and its own texts for
// what can't be opened.

#include "EngineTestSupport.h"

#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace enginetest {
namespace {

using ::testing::HasSubstr;

TEST_F(BadFiles, WhatIsNoModuleFileIsRefusedWithTheSystemsReason)
{
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    ExpectLoadFails(
        folder_.Path("missing.xm"), MIDAS_ERROR_FILE_OPEN, "the file can't be opened: No such file or directory");
    std::filesystem::create_directory(folder_.Path("folder.xm"));
    ExpectLoadFails(folder_.Path("folder.xm"), MIDAS_ERROR_FILE_OPEN, "the file can't be read: Is a directory");
    ExpectLoadFails("/dev/zero", MIDAS_ERROR_FILE_OPEN, "the file can't be read: it is no regular file");
    // A file far larger than any module is refused unread (it is sparse
    // here, so it takes no room).
    const std::string huge = folder_.Write("huge.xm", modwriter::WriteXM(LoopingSong()));
    std::filesystem::resize_file(huge, std::uintmax_t{3} << 30);
    ExpectLoadFails(huge, MIDAS_ERROR_BAD_MODULE, "the file holds 3.0 GiB, more than any module (at most 256.0 MiB)");
}

// A module that is swapped for a FIFO over and over while it is loaded:
// each load either plays the module or refuses the FIFO, and none waits for
// a writer. A load that does wait is let go by a writer, and fails the test.
TEST_F(BadFiles, AFileSwappedForAFifoNeverBlocksALoad)
{
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    const std::string path = folder_.Write("swapped.xm", modwriter::WriteXM(LoopingSong()));
    const std::string other = folder_.Path("other.xm");
    ASSERT_EQ(::mkfifo(other.c_str(), 0600), 0);

    std::atomic<bool> swapping = true;
    std::atomic<int> loads = 0;
    std::atomic<bool> blocked = false;
    std::thread swapper([&] {
        while (swapping)
            ::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, other.c_str(), RENAME_EXCHANGE);
    });
    std::thread watchdog([&] {
        using clock = std::chrono::steady_clock;
        int last = -1;
        for (auto since = clock::now(); swapping; std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
            if (loads != last) {
                last = loads;
                since = clock::now();
            } else if (clock::now() - since > std::chrono::seconds(3)) {
                blocked = true;
                for (const std::string& name : {path, other})
                    ::close(::open(name.c_str(), O_WRONLY | O_NONBLOCK));
                since = clock::now();
            }
        }
    });
    // Until both have happened often, whatever the scheduler makes of the
    // swapping thread.
    int played = 0;
    int refused = 0;
    for (int round = 0; round < 20000 && (round < 400 || played < 20 || refused < 20); ++round, ++loads) {
        if (MIDASmodule module = MIDASloadModule(path.c_str())) {
            ++played;
            MIDASfreeModule(module);
        } else {
            ++refused;
            EXPECT_THAT(LastErrorText(), HasSubstr("it is no regular file"));
        }
    }
    swapping = false;
    swapper.join();
    watchdog.join();
    EXPECT_FALSE(blocked) << "a load waited for a writer of the FIFO";
    EXPECT_GT(played, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace enginetest

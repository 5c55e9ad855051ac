// Writes the modules the end-to-end tests need beyond the disc's songs into
// a folder: ramp.xm, whose level tells the time within it, and
// untitled.xm, the same without a title of its own; with a size, big.xm
// too, a module of about that many MB that takes a while to read.
//
//   velmora_test_songs <folder> [<MB>]

#include "tests/support/TestModules.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

int main(int argc, char** argv)
try {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: velmora_test_songs <folder> [<MB>]\n");
        return 2;
    }
    const std::string folder = argv[1];
    modwriter::Module ramp = RampSong();
    modwriter::WriteFile(folder + "/ramp.xm", modwriter::WriteXM(ramp));
    ramp.name.clear();
    modwriter::WriteFile(folder + "/untitled.xm", modwriter::WriteXM(ramp));
    if (argc == 3)
        modwriter::WriteFile(folder + "/big.xm", modwriter::WriteXM(BigSong(std::atoi(argv[2]))));
    return 0;
} catch (const std::exception& error) {
    std::fprintf(stderr, "velmora_test_songs: %s\n", error.what());
    return 1;
}

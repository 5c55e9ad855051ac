// Writes the benchmark's modules into a folder: busy.4ch.mod, busy.8ch.xm
// and busy.32ch.xm, the same music on more and more channels.

#include "tests/support/TestModules.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv)
try {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_bench_songs folder\n");
        return 1;
    }
    const std::string folder = argv[1];
    modwriter::WriteFile(folder + "/busy.4ch.mod", modwriter::WriteMOD(BusySong(4)));
    modwriter::WriteFile(folder + "/busy.8ch.xm", modwriter::WriteXM(BusySong(8)));
    modwriter::WriteFile(folder + "/busy.32ch.xm", modwriter::WriteXM(BusySong(32)));
    return 0;
} catch (const std::exception& error) {
    std::fprintf(stderr, "write_bench_songs: %s\n", error.what());
    return 1;
}

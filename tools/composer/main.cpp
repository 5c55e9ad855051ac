// Writes the disc's five songs as song1.xm .. song5.xm into a folder.
// Everything is computed, nothing is random: each run writes the same bytes.

#include "tools/composer/Songs/Songs.h"
#include "tools/modwriter/ModuleWriter.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora_composer <output-dir>\n");
        return 2;
    }
    using Compose = modwriter::Module (*)();
    static constexpr Compose Songs[] = {
        composer::Song1, composer::Song2, composer::Song3, composer::Song4, composer::Song5};
    try {
        const std::string folder = argv[1];
        std::filesystem::create_directories(folder);
        for (int i = 0; i < 5; ++i) {
            const std::string path = folder + "/song" + std::to_string(i + 1) + ".xm";
            modwriter::WriteFile(path, modwriter::WriteXM(Songs[i]()));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora_composer: %s\n", error.what());
        return 1;
    }
    return 0;
}

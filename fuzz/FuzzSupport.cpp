#include "FuzzSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <unistd.h>

namespace fuzz {

std::string ScratchFolder(const char* harness)
{
    std::error_code error;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, error))
        base = std::filesystem::temp_directory_path();
    const std::filesystem::path folder = base / ("velmora-" + std::string(harness) + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder);
    // Removed when the process ends normally; a crashed run leaves it for a look.
    static std::vector<std::filesystem::path> made;
    made.push_back(folder);
    std::atexit([] {
        std::error_code ignored;
        for (const auto& path : made)
            std::filesystem::remove_all(path, ignored);
        made.clear();
    });
    return folder.string() + "/";
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    FUZZ_CHECK(out.good());
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace fuzz

#include "engine/ModuleFile.h"
#include "engine/Errors.h"

#include <cstdio>

namespace velmora::engine {
namespace {

// The largest modules in circulation hold a few dozen MiB of samples; a file
// far beyond that is refused before it is read.
constexpr std::uintmax_t largestModuleBytes = std::uintmax_t{256} << 20;

std::string SizeText(std::uintmax_t bytes)
{
    char text[32];
    if (bytes >= (std::uintmax_t{1} << 30))
        std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / (1u << 30));
    else
        std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1u << 20));
    return text;
}

} // namespace

EngineError ModuleFileError(ErrorCode code, const std::string& path, const std::string& reason)
{
    return EngineError(code, "Unable to load module " + path + ": " + reason);
}

void CheckModuleFileSize(const std::string& path, std::uintmax_t bytes)
{
    if (bytes == 0)
        throw ModuleFileError(ErrorCode::BadModule, path, "the file is empty");
    if (bytes > largestModuleBytes)
        throw ModuleFileError(ErrorCode::BadModule, path,
            "the file holds " + SizeText(bytes) + ", more than any module (at most " + SizeText(largestModuleBytes) +
                ")");
}

} // namespace velmora::engine

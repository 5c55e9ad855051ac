#include "app/ProgramPaths.h"

std::string DirectoryOf(const std::string& programPath)
{
    auto last = programPath.find_last_of("/\\:");
    return last == std::string::npos ? std::string() : programPath.substr(0, last + 1);
}

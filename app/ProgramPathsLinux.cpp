#include "app/ProgramPaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

std::string SettingsDirectoryFor(const std::string& programDir)
{
    if (access(programDir.empty() ? "." : programDir.c_str(), W_OK) == 0)
        return programDir;
    std::filesystem::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        base = config;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        base = std::filesystem::path(home) / ".config";
    else
        return programDir; // nowhere better: a failed write will say so
    const std::filesystem::path directory = base / "velmora";
    std::error_code ignored; // a folder that can't be made shows as a failed write
    std::filesystem::create_directories(directory, ignored);
    return directory.string() + "/";
}

#include "app/ProgramPaths.h"

#include "toolkit/graphics/Utf8Path.h"

#include <SDL.h>
#include <windows.h>

#include <string>

namespace {

// Whether a file may be made in the folder: the folder's attributes don't
// tell (Program Files looks writable and isn't), a file made and dropped
// again does.
bool MayWriteIn(const std::string& folder)
{
    const std::wstring probe =
        (PathOf(folder.empty() ? "." : folder) / (L".velmora-" + std::to_wstring(GetCurrentProcessId()))).wstring();
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace

// Beside the program while its folder may be written to, as a disc
// unpacked anywhere has it; otherwise (a program installed under Program
// Files) %APPDATA%\Velmora\.
std::string SettingsDirectoryFor(const std::string& programDir)
{
    if (MayWriteIn(programDir))
        return programDir;
    char* preferences = SDL_GetPrefPath("", "Velmora");
    if (!preferences)
        return programDir; // nowhere better: a failed write will say so
    std::string directory = preferences;
    SDL_free(preferences);
    return directory;
}

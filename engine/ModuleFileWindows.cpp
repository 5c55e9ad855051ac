#include "engine/Errors.h"
#include "engine/ModuleFile.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace velmora::engine {
namespace {

// Windows's own text for the error, in the user's language.
std::string SystemText(DWORD error)
{
    return std::system_category().message(static_cast<int>(error));
}

} // namespace

std::unique_ptr<ModuleFile> ModuleFile::Open(const std::string& path)
{
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    // Others may read and write it meanwhile, as a player must allow; a
    // directory opens only with a flag not given here.
    const HANDLE handle = CreateFileW(file.wstring().c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // Windows refuses a folder as access denied; the user dropped a folder.
        const DWORD attributes = GetFileAttributesW(file.wstring().c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            throw ModuleFileError(
                ErrorCode::FileOpen, path, "the file can't be read: " + std::generic_category().message(EISDIR));
        throw ModuleFileError(ErrorCode::FileOpen, path, "the file can't be opened: " + SystemText(error));
    }
    LARGE_INTEGER size{};
    const bool disk = GetFileType(handle) == FILE_TYPE_DISK;
    if (!disk || !GetFileSizeEx(handle, &size) || size.QuadPart < 0) {
        CloseHandle(handle);
        throw ModuleFileError(ErrorCode::FileOpen, path, "the file can't be read: it is no regular file");
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
        throw ModuleFileError(ErrorCode::FileOpen, path, "the file can't be opened");
    }
    auto opened = std::make_unique<ModuleFile>(descriptor);
    CheckModuleFileSize(path, static_cast<std::uintmax_t>(size.QuadPart));
    return opened;
}

} // namespace velmora::engine

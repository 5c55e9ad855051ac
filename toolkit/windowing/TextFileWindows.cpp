#include "toolkit/windowing/TextFile.h"

#include "toolkit/graphics/Utf8Path.h"
#include "toolkit/windowing/WindowsHandle.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD done = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        if (!WriteFile(file, bytes.data(), chunk, &done, nullptr) || done == 0)
            return false;
        bytes.remove_prefix(done);
    }
    return true;
}

} // namespace

TTextFileContents ReadTextFile(const std::string& path, std::size_t maxBytes)
{
    TTextFileContents file;
    const THandle handle(CreateFileW(PathOf(path).wstring().c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            file.State = TTextFileContents::TState::Missing;
        return file;
    }
    LARGE_INTEGER size{};
    if (GetFileType(handle.Get()) != FILE_TYPE_DISK || !GetFileSizeEx(handle.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return file;
    file.Bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char chunk[16384];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handle.Get(), chunk, sizeof chunk, &got, nullptr))
            return file;
        if (got == 0)
            break;
        // A file that grew past the bound while it was read is refused too.
        if (file.Bytes.size() + got > maxBytes)
            return file;
        file.Bytes.append(chunk, got);
    }
    file.State = TTextFileContents::TState::Read;
    return file;
}

bool ReplaceTextFile(const std::string& path, std::string_view bytes)
{
    const std::wstring target = PathOf(path).wstring();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;

    std::wstring temporary;
    THandle file;
    for (int attempt = 0; !file && attempt < 100; ++attempt) {
        temporary = target + L".new-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
        file.Reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (!file)
        return false;
    bool written = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
    written = file.Close() && written;
    // ReplaceFileW keeps the old file's attributes and access rights.
    if (written &&
        ((replacing &&
             ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) ||
            MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

std::string_view NewFileLineEnding()
{
    return "\r\n";
}

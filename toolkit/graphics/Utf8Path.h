#pragma once

// Paths are UTF-8 text throughout the program: as the command line, SDL's
// drops and the desktop hand them over. The file system takes them in its
// own form (bytes on Linux, UTF-16 on Windows) only where it is called.
// Bytes that are no UTF-8 pass through unchanged on Linux.

#include <filesystem>
#include <string>
#include <string_view>

inline std::filesystem::path PathOf(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

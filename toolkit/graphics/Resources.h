#pragma once

#include <cstddef>
#include <span>
#include <string_view>

// Files compiled into the executable (window layouts, pictures), found by
// their file names. The build generates one registration per embedding target.
struct TEmbeddedFile {
    const char* Name;
    const unsigned char* Data;
    std::size_t Size;
};

struct TResourceRegistration {
    template <std::size_t N>
    explicit TResourceRegistration(const TEmbeddedFile (&files)[N]) : TResourceRegistration(std::span(files, N))
    {
    }
    explicit TResourceRegistration(std::span<const TEmbeddedFile> files);
};

// The bytes of an embedded file; empty when no file of that name is embedded.
std::span<const unsigned char> FindEmbeddedFile(std::string_view name);

// The embedded files have been read: their pages go back to the system,
// and come again from the program's file should they be read once more.
void ReleaseResources();

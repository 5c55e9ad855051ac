#pragma once

// Text as the program writes it into a file it makes: each "\n" is the
// system's line end ("\r\n" on Windows).

#include "toolkit/windowing/TextFile.h"

#include <string>
#include <string_view>

inline std::string AsNewFile(std::string_view text)
{
    std::string written;
    for (const char c : text) {
        if (c == '\n')
            written += NewFileLineEnding();
        else
            written += c;
    }
    return written;
}

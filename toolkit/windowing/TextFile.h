#pragma once

// Small text files read whole and replaced whole, as settings files are:
// the one place that knows how each system keeps a file safe. Each system
// has its own file (TextFilePosix.cpp, TextFileWindows.cpp). Paths are
// UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

struct TTextFileContents {
    enum class TState { Missing, Read, Refused };
    TState State = TState::Refused;
    std::string Bytes;
};

// The file's bytes: only a regular file of at most maxBytes is read at all,
// and opening it never waits (a FIFO in its place is refused). Missing when
// there is no file; Refused when there is one that can't be read so.
TTextFileContents ReadTextFile(const std::string& path, std::size_t maxBytes);

// Puts a new file with these bytes in the place of path, written beside it
// and moved over it, so the old file stays whole until the new one is, and
// synced. The new file keeps what the system keeps of the old one (owner,
// permissions), and through a symbolic link the file it names is replaced
// or made, and the link stays. A file its owner made read-only is not
// replaced behind their back. False when the file could not be written.
bool ReplaceTextFile(const std::string& path, std::string_view bytes);

// How the system's text files end their lines, for a file made new.
std::string_view NewFileLineEnding();

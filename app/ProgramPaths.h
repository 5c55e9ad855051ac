#pragma once

// Where the program finds its songs and keeps its settings.

#include <string>

// The directory part of a program path: everything up to and including its
// last separator ("/", or "\" and ":" of paths written the other way);
// empty when it holds none.
std::string DirectoryOf(const std::string& programPath);

// Where Sound.opt lives, with a trailing separator: the program directory
// while the user may write there; otherwise (an installed program) the
// user's own configuration directory: on Linux $XDG_CONFIG_HOME/velmora/
// or ~/.config/velmora/, on Windows %APPDATA%\Velmora\, made when missing.
// Each system's in a file of its own (ProgramPathsLinux.cpp,
// ProgramPathsWindows.cpp).
std::string SettingsDirectoryFor(const std::string& programDir);

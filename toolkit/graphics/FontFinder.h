#pragma once

#include "toolkit/graphics/FontFace.h"

#include <memory>
#include <string>

// Finds the font file that draws a family in a style: fontconfig on Linux,
// the faces that come with the program on Windows. Each system's finder
// lives in a file of its own (FontFinderFontconfig.cpp,
// FontFinderWindows.cpp); the engine above knows neither.
class TFontFinder {
public:
    TFontFinder();
    ~TFontFinder();
    TFontFinder(const TFontFinder&) = delete;
    TFontFinder& operator=(const TFontFinder&) = delete;

    // The file, and the styles to fake, that draw family in a style.
    // Throws EPlatformError when no font file draws it.
    TFaceSource Find(const std::string& family, bool bold, bool italic);

    // Lets go of what finding took (a configuration, its caches), once the
    // faces a program shows are found; the next Find starts again. Only
    // what the finder made itself goes: libraries that share the process
    // keep theirs.
    void Release();

private:
    struct TState;
    std::unique_ptr<TState> state_;
};

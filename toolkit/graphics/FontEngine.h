#pragma once

#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/FontFace.h"
#include "toolkit/graphics/FontFinder.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>

// Finds and opens the faces fonts name. A face name goes through a short
// table of substitutes for the names of the classic desktop (its
// "MS Sans Serif" is drawn with Liberation Sans), then through the
// system's font finder, which maps "Arial" and the like to
// metric-compatible faces. Bold and
// italic take the styled file of a family when it has one; otherwise the
// face fakes them (emboldened or sheared outlines).
//
// Everything is cached: a name and style resolve through the finder once,
// and a face opened at a size stays open, with its glyph pictures, for the
// next call. One engine serves the process, on the thread that draws.
class TFontEngine {
public:
    static TFontEngine& Instance();
    ~TFontEngine();
    TFontEngine(const TFontEngine&) = delete;
    TFontEngine& operator=(const TFontEngine&) = delete;

    // The face for a font's name, height and bold and italic style; the
    // reference holds until the next call of Face. Throws EPlatformError
    // when no font file can be found or opened.
    TFontFace& Face(const TFont& font);
    TFontFace& Face(const std::string& faceName, int height, TFontStyles style);

    // Makes a font file known under a face name of its own, ahead of the
    // font finder (for fonts that come with the program).
    void RegisterFaceFile(const std::string& faceName, const std::string& path);

    // The file, and the styles to fake, that draw a face name in a style.
    TFaceSource Resolve(const std::string& faceName, TFontStyles style);

    // Lets go of the font finder's configuration and caches, once the faces
    // a program shows are resolved; a name not seen before starts it again.
    void ReleaseFontFinder();

private:
    TFontEngine();

    struct LibraryDeleter {
        void operator()(FT_LibraryRec_* library) const;
    };
    std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library_;
    TFontFinder finder_;
    std::map<std::string, std::string> registered_; // lower-case face name -> file
    std::map<std::pair<std::string, int>, TFaceSource> resolved_;
    std::map<std::tuple<std::string, int, int>, TFontFace*> byFont_;
    std::map<std::tuple<std::string, int, bool, bool, int>, std::unique_ptr<TFontFace>> faces_;
};

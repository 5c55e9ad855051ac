#pragma once

#include "toolkit/graphics/Font.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;
class TFontFile;

// A coverage mask, 0 (none) to 255 (full) per pixel, rows top to bottom.
// It is placed relative to a pen position on the surface: its left column
// Left pixels right of the pen, its top row Top pixels above it.
struct TGlyphImage {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Coverage;
};

// Where a face comes from and which styles it lacks and must be faked:
// emboldened outlines for bold, sheared outlines for italic.
struct TFaceSource {
    std::string File;
    int Index = 0; // face within a collection file
    bool SynthBold = false;
    bool SynthItalic = false;
};

// One font file opened at one size: its metrics, advances and the glyph
// pictures it has drawn, each kept for the next line that needs it.
class TFontFace {
public:
    static constexpr unsigned NoGlyph = 0xFFFFFFFFu;

    // height as TFont has it: negative the em, positive the cell, 0 the
    // default of -11. Throws EPlatformError when the file can't be opened.
    TFontFace(FT_LibraryRec_* library, const TFaceSource& source, int height);
    ~TFontFace();
    TFontFace(const TFontFace&) = delete;
    TFontFace& operator=(const TFontFace&) = delete;

    const TTextMetric& Metrics() const { return metrics_; }
    // An outline face: it scales to any size and can be drawn rotated.
    bool IsScalable() const { return scalable_; }
    int EmPixels() const { return em_; }

    // The glyph that draws a code point; .notdef (0) for one the face lacks.
    unsigned GlyphIndex(char32_t code) const;
    // Pixels along the baseline, as text is measured and laid out.
    int Advance(unsigned glyph);

    // A glyph turned angle tenths of a degree counter-clockwise, for a pen
    // position phaseX quarter pixels right of and phaseY quarter pixels
    // below a whole pixel (0..3 each). Valid until the next call.
    const TGlyphImage& Glyph(unsigned glyph, int angle, int phaseX, int phaseY);

    // A bar along the baseline from x0 to x1 (pixels from the pen), from
    // top to bottom pixels below the baseline (negative is above), turned
    // and placed like Glyph. Underlines and strike-outs are drawn with it.
    TGlyphImage Bar(int x0, int x1, int top, int bottom, int angle, int phaseX, int phaseY) const;

    // Pixels below the baseline to the top of the underline, and its thickness.
    int UnderlineOffset() const { return underlineOffset_; }
    int UnderlineThickness() const { return underlineThickness_; }
    // Pixels above the baseline to the top of the strike-out, and its thickness.
    int StrikeOutOffset() const { return strikeOutOffset_; }
    int StrikeOutThickness() const { return strikeOutThickness_; }

private:
    void SizeOutlineFace(int height);
    void SizeBitmapFace(int height);
    TGlyphImage RenderGlyph(unsigned glyph, int angle, int phaseX, int phaseY);

    FT_LibraryRec_* library_;
    std::unique_ptr<TFontFile> file_; // read by the face, which goes first
    FT_FaceRec_* face_ = nullptr;
    bool scalable_ = false;
    bool synthBold_ = false;
    bool synthItalic_ = false;
    int em_ = 0;
    int boldExtra_ = 0; // pixels a faked bold adds to each advance
    TTextMetric metrics_;
    int underlineOffset_ = 1;
    int underlineThickness_ = 1;
    int strikeOutOffset_ = 0;
    int strikeOutThickness_ = 1;
    std::unordered_map<unsigned, int> advances_;
    std::unordered_map<std::uint64_t, TGlyphImage> glyphs_;
};

#pragma once

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/Geometry.h"
#include "toolkit/graphics/Pixmap.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class TBitmap;

enum class TPenStyle : std::uint8_t { psSolid, psDash, psDot, psClear };
enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };

// How a copy combines source pixels with the pixels already there; the
// bitwise modes act on each colour channel's bits.
enum class TCopyMode : std::uint8_t {
    cmSrcCopy,    // plain copy
    cmSrcAnd,     // destination AND source
    cmSrcPaint,   // destination OR source
    cmNotSrcCopy, // NOT source
    cmSrcInvert,  // destination XOR source
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1; // pixels
    TPenStyle Style = TPenStyle::psSolid;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// Text layout options of DrawText; values as the classic desktop API has them.
enum TDrawTextFlag : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
};

// Draws into a pixel buffer through a logical origin and a clip rectangle.
// Coordinates given to the drawing operations are logical: (0, 0) is the
// origin, which for a control's canvas is the control's top-left corner.
// Every rectangle is right- and bottom-exclusive.
class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(TPixmap& target) : target_(&target) { }
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The surface, where the logical origin lies on it, and the part of it
    // (in the surface's own coordinates) that may be drawn on. Resets any
    // clip rectangle set through SetClipRect.
    void Attach(TPixmap* target, TPoint origin = {}, std::optional<TRect> bounds = std::nullopt);
    TPixmap* Target() const { return target_; }
    TPoint Origin() const { return origin_; }

    // Restricts drawing to r (logical coordinates) within the attached
    // bounds, until ResetClip or the next Attach.
    void SetClipRect(const TRect& r);
    void ResetClip();
    // The drawable area in logical coordinates.
    TRect ClipRect() const;

    TPen Pen;
    TBrush Brush;
    TCopyMode CopyMode = TCopyMode::cmSrcCopy;
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }

    // Shapes. Lines leave out their end point; Rectangle outlines with the
    // pen (a wide pen is centred on the edges) and fills with the brush.
    //
    // The pen: width 1 draws one-pixel lines; a width w above 1 puts a w by w
    // square, its centre pixel at offset w/2, on every point of a line. Dash
    // (18 on, 6 off) and dot (3 on, 3 off) patterns apply to one-pixel lines;
    // wider lines and every shape outline are solid. psClear draws no line
    // and no outline.
    //
    // Outlined shapes with a pen of width w: the outline covers the shape of
    // the bounds grown by w/2 (rounded down) minus the inside of the shape of
    // the bounds shrunk by (w+1)/2 - 1, so a one-pixel pen draws the outermost
    // ring and wider pens straddle the edge: width 2 on (1, 1, 35, 25) covers
    // (0, 0, 36, 26) minus (2, 2, 34, 24). The brush fills what the outline
    // leaves inside; with psClear it fills the whole shape.
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y);
    // Each segment without its end point, one dash pattern running through
    // all of them; PenPos stays where it was.
    void Polyline(std::span<const TPoint> points);
    TPoint PenPos() const { return penPos_; }
    void FillRect(const TRect& r);
    // A one-pixel frame in the brush colour: the outermost pixels of columns
    // Left..Right-1 and rows Top..Bottom-1. A clear brush draws nothing.
    void FrameRect(const TRect& r);
    void Rectangle(const TRect& r);
    // The ellipse inscribed in bounds touches all four sides: its pixels
    // reach column Left and Right-1, row Top and Bottom-1.
    void Ellipse(const TRect& bounds);
    // A wedge of the ellipse in bounds, counter-clockwise from the radial
    // through start to the radial through end, outlined and filled. Angles
    // are seen on the screen (y grows downward), so a wedge from the radial
    // through the right edge's middle to the one through the top edge's middle
    // is the upper right quarter. start and end are points of the grid lines
    // the bounds use: the centre of (0, 0, 10, 10) is (5, 5). Equal radials
    // give the whole ellipse.
    void Pie(const TRect& bounds, TPoint start, TPoint end);
    // Inverts every other pixel of the one-pixel frame of r, beginning at
    // its top-left corner; drawing it twice puts the pixels back.
    void DrawFocusRect(const TRect& r);

    // The colour value of a pixel, or -1 outside the drawable area.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // Copies sourceRect of source onto dest with CopyMode; stretches when
    // the sizes differ (nearest pixel). Source pixels outside the source's
    // surface (or its attached bounds) leave their destination untouched;
    // the source's clip rectangle plays no part. Source and destination may
    // be the same surface and overlap. On a paletted bitmap the combined
    // pixel snaps to the nearest palette entry, like every drawn colour.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
    // The whole picture at (x, y) with CopyMode.
    void Draw(int x, int y, const TBitmap& picture);
    // The whole picture at (x, y) with CopyMode, leaving out the pixels of
    // one colour.
    void DrawTransparent(int x, int y, const TBitmap& picture, TColor transparent);

    // Text in the canvas font, its escapement included. (x, y) is the
    // top-left corner of the first character cell. A solid brush first fills
    // the text's cells (WriteText) or the clip rectangle (TextRect).
    void WriteText(int x, int y, std::string_view text);
    void TextRect(const TRect& clip, int x, int y, std::string_view text);
    // Lays text out in r with DT_ options; returns the text's height. With
    // DT_CALCRECT nothing is drawn: r's right and bottom become the extent.
    int DrawText(std::string_view text, TRect& r, unsigned format);
    TSize TextExtent(std::string_view text) const;
    int TextWidth(std::string_view text) const { return TextExtent(text).Width; }
    int TextHeight(std::string_view text) const { return TextExtent(text).Height; }
    TTextMetric TextMetrics() const;

private:
    // Device (surface) coordinates of the drawable area.
    TRect DeviceClip() const;
    void PutPixel(int x, int y, TPixel pixel); // logical, clipped
    void FillDeviceSpan(int y, int x0, int x1, TPixel pixel);
    // A pen-width square on (x, y), logical.
    void PenDot(int x, int y, TPixel pixel);
    // The pen's line; phase counts pixels into the dash pattern.
    void PenLine(TPoint from, TPoint to, bool withEnd, int& phase);
    // Ellipse (no start and end) or pie wedge.
    void EllipticShape(const TRect& bounds, const TPoint* start, const TPoint* end);
    // dest is logical, sourceRect and readable are in the source's own
    // coordinates; source pixels equal to skip are left out.
    void CopyPixels(const TRect& dest, const TPixmap& source, const TRect& sourceRect, const TRect& readable,
        std::optional<TPixel> skip);

    TPixmap* target_ = nullptr;
    TPoint origin_;
    std::optional<TRect> bounds_;
    std::optional<TRect> clip_;
    TPoint penPos_;
    TFont font_;
    // Set by a paletted bitmap: drawn colours snap to their nearest entry.
    const std::vector<TPixel>* palette_ = nullptr;
    friend class TBitmap;
    friend class TCanvasSaver;
};

// The nearest palette entries of many pixels: each colour met is searched
// for once and kept in a small direct-mapped table; entries themselves are
// found without a search.
class TPaletteSnapper {
public:
    explicit TPaletteSnapper(const std::vector<TPixel>& palette);
    TPixel operator()(TPixel pixel);

private:
    static constexpr std::size_t slots = 4096;
    const std::vector<TPixel>& palette_;
    std::vector<TPixel> sorted_;
    std::vector<TPixel> keys_;
    std::vector<TPixel> values_;
};

// Saves a canvas's clip, pen, brush, font and copy mode, and puts them back.
class TCanvasSaver {
public:
    explicit TCanvasSaver(TCanvas& canvas);
    ~TCanvasSaver();
    TCanvasSaver(const TCanvasSaver&) = delete;
    TCanvasSaver& operator=(const TCanvasSaver&) = delete;

private:
    TCanvas& canvas_;
    std::optional<TRect> clip_;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TCopyMode copyMode_;
};

// Draws a 3-D frame of width rings along r's edge: top and left in the
// first colour, bottom and right in the second (so the corners at the top
// right and the bottom left go to the second); r shrinks accordingly. The
// canvas's pen is left as it was.
void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width);

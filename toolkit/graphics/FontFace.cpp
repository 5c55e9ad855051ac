#include "toolkit/graphics/FontFace.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/FontFile.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Enough for a few sizes and angles of the characters one window shows;
// past it the pictures are dropped and drawn again as they are needed.
constexpr std::size_t maxCachedGlyphs = 2048;

FT_Matrix Rotation(int angle)
{
    double a = angle * std::numbers::pi / 1800.0;
    auto c = static_cast<FT_Fixed>(std::lround(std::cos(a) * 65536.0));
    auto s = static_cast<FT_Fixed>(std::lround(std::sin(a) * 65536.0));
    // FreeType's y axis points up, so this turns counter-clockwise on screen.
    return {c, -s, s, c};
}

// Scan-converts an outline in pixel units (26.6, y up, pen at the origin)
// into an anti-aliased coverage mask.
TGlyphImage Rasterize(FT_Library library, FT_Outline& outline)
{
    FT_BBox box;
    FT_Outline_Get_CBox(&outline, &box);
    FT_Pos xMin = box.xMin & -64;
    FT_Pos yMin = box.yMin & -64;
    FT_Pos xMax = (box.xMax + 63) & -64;
    FT_Pos yMax = (box.yMax + 63) & -64;
    TGlyphImage image;
    image.Width = static_cast<int>((xMax - xMin) >> 6);
    image.Height = static_cast<int>((yMax - yMin) >> 6);
    if (image.Width <= 0 || image.Height <= 0)
        return {};
    image.Left = static_cast<int>(xMin >> 6);
    image.Top = static_cast<int>(yMax >> 6);
    image.Coverage.assign(static_cast<std::size_t>(image.Width) * image.Height, 0);

    FT_Outline_Translate(&outline, -xMin, -yMin);
    FT_Bitmap target{};
    target.rows = static_cast<unsigned>(image.Height);
    target.width = static_cast<unsigned>(image.Width);
    target.pitch = image.Width;
    target.buffer = image.Coverage.data();
    target.num_grays = 256;
    target.pixel_mode = FT_PIXEL_MODE_GRAY;
    if (FT_Outline_Get_Bitmap(library, &outline, &target) != 0)
        return {};
    return image;
}

// A bitmap glyph as a coverage mask: set bits become full coverage.
TGlyphImage FromBitmap(const FT_GlyphSlot slot)
{
    const FT_Bitmap& bitmap = slot->bitmap;
    TGlyphImage image;
    image.Left = slot->bitmap_left;
    image.Top = slot->bitmap_top;
    image.Width = static_cast<int>(bitmap.width);
    image.Height = static_cast<int>(bitmap.rows);
    image.Coverage.assign(static_cast<std::size_t>(image.Width) * image.Height, 0);
    for (int y = 0; y < image.Height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        std::uint8_t* out = image.Coverage.data() + static_cast<std::size_t>(y) * image.Width;
        for (int x = 0; x < image.Width; ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
                out[x] = row[x];
        }
    }
    return image;
}

} // namespace

TFontFace::TFontFace(FT_LibraryRec_* library, const TFaceSource& source, int height)
    : library_(library), synthBold_(source.SynthBold), synthItalic_(source.SynthItalic)
{
    file_ = std::make_unique<TFontFile>(source.File);
    const FT_Open_Args args = file_->OpenArgs();
    FT_Error error = FT_Open_Face(library_, &args, source.Index, &face_);
    if (error != 0) {
        face_ = nullptr;
        throw EPlatformError(FormatText(
            "Font file %s can't be opened (FreeType error %d)", source.File.c_str(), static_cast<int>(error)));
    }
    if (height == 0)
        height = -11;
    scalable_ = FT_IS_SCALABLE(face_);
    if (scalable_) {
        SizeOutlineFace(height);
    } else {
        synthBold_ = false;
        synthItalic_ = false;
        SizeBitmapFace(height);
    }
}

TFontFace::~TFontFace()
{
    if (face_)
        FT_Done_Face(face_);
}

// The cell is the face's Windows ascent plus descent at the em size, rounded
// to whole pixels; the ascent is rounded up so that the caps fit above the
// baseline, and the descent takes the rest of the cell.
void TFontFace::SizeOutlineFace(int height)
{
    const double unitsPerEm = face_->units_per_EM;
    double ascender = face_->ascender;
    double descender = -face_->descender;
    double avgWidth = 0;
    double strikePosition = 0;
    double strikeSize = 0;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            ascender = os2->usWinAscent;
            descender = os2->usWinDescent;
        }
        avgWidth = os2->xAvgCharWidth;
        strikePosition = os2->yStrikeoutPosition;
        strikeSize = os2->yStrikeoutSize;
    }
    const double total = std::max(ascender + descender, 1.0);

    em_ = height < 0 ? -height : static_cast<int>(std::lround(height * unitsPerEm / total));
    em_ = std::clamp(em_, 1, 2000);
    FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(em_));
    const double scale = em_ / unitsPerEm;

    int cell = std::max(1, static_cast<int>(std::lround(total * scale)));
    int ascent = std::min(cell, static_cast<int>(std::ceil(ascender * scale - 1e-6)));
    metrics_.Height = cell;
    metrics_.Ascent = ascent;
    metrics_.Descent = cell - ascent;
    metrics_.InternalLeading = std::max(0, cell - em_);
    metrics_.ExternalLeading = 0;
    boldExtra_ = synthBold_ ? std::max(1, static_cast<int>(std::lround(em_ / 24.0))) : 0;
    metrics_.AveCharWidth =
        avgWidth > 0 ? static_cast<int>(std::lround(avgWidth * scale)) + boldExtra_ : Advance(GlyphIndex(U'x'));
    metrics_.MaxCharWidth = static_cast<int>(std::ceil(face_->max_advance_width * scale)) + boldExtra_;
    metrics_.PitchAndFamily = TMPF_TRUETYPE;

    underlineThickness_ = std::max(1, static_cast<int>(std::lround(face_->underline_thickness * scale)));
    underlineOffset_ = static_cast<int>(std::lround(-face_->underline_position * scale - underlineThickness_ / 2.0));
    underlineOffset_ = std::clamp(underlineOffset_, 0, std::max(0, metrics_.Descent - underlineThickness_));
    if (strikeSize <= 0) {
        strikePosition = unitsPerEm * 0.3;
        strikeSize = face_->underline_thickness;
    }
    strikeOutThickness_ = std::max(1, static_cast<int>(std::lround(strikeSize * scale)));
    strikeOutOffset_ = static_cast<int>(std::lround(strikePosition * scale));
}

// A bitmap face comes in a few fixed sizes; the nearest one serves.
void TFontFace::SizeBitmapFace(int height)
{
    int best = 0;
    int bestDistance = -1;
    for (int i = 0; i < face_->num_fixed_sizes; ++i) {
        const FT_Bitmap_Size& size = face_->available_sizes[i];
        int have = height > 0 ? size.height : static_cast<int>((size.y_ppem + 32) >> 6);
        int distance = std::abs(have - std::abs(height));
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    if (face_->num_fixed_sizes > 0)
        FT_Select_Size(face_, best);
    const FT_Size_Metrics& size = face_->size->metrics;
    em_ = std::max<int>(1, size.y_ppem);
    metrics_.Ascent = static_cast<int>((size.ascender + 63) >> 6);
    metrics_.Descent = static_cast<int>((-size.descender + 63) >> 6);
    metrics_.Height = metrics_.Ascent + metrics_.Descent;
    metrics_.InternalLeading = std::max(0, metrics_.Height - em_);
    metrics_.AveCharWidth = Advance(GlyphIndex(U'x'));
    metrics_.MaxCharWidth = static_cast<int>((size.max_advance + 63) >> 6);
    metrics_.PitchAndFamily = 0;
    underlineThickness_ = 1;
    underlineOffset_ = std::min(1, std::max(0, metrics_.Descent - 1));
    strikeOutThickness_ = 1;
    strikeOutOffset_ = metrics_.Ascent / 3;
}

unsigned TFontFace::GlyphIndex(char32_t code) const
{
    return FT_Get_Char_Index(face_, code);
}

int TFontFace::Advance(unsigned glyph)
{
    if (glyph == NoGlyph)
        return 0;
    if (auto found = advances_.find(glyph); found != advances_.end())
        return found->second;
    int advance = 0;
    FT_Int32 flags = scalable_ ? FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP : FT_LOAD_DEFAULT;
    if (FT_Load_Glyph(face_, glyph, flags) == 0)
        advance = static_cast<int>((face_->glyph->advance.x + 32) >> 6) + boldExtra_;
    advances_.emplace(glyph, advance);
    return advance;
}

const TGlyphImage& TFontFace::Glyph(unsigned glyph, int angle, int phaseX, int phaseY)
{
    std::uint64_t key = (static_cast<std::uint64_t>(glyph) << 32) | (static_cast<std::uint64_t>(angle) << 4) |
        static_cast<std::uint64_t>(phaseX << 2) | static_cast<std::uint64_t>(phaseY);
    if (auto found = glyphs_.find(key); found != glyphs_.end())
        return found->second;
    if (glyphs_.size() >= maxCachedGlyphs)
        glyphs_.clear();
    return glyphs_.emplace(key, RenderGlyph(glyph, angle, phaseX, phaseY)).first->second;
}

TGlyphImage TFontFace::RenderGlyph(unsigned glyph, int angle, int phaseX, int phaseY)
{
    if (!scalable_) {
        // Bitmap faces have no outline to turn: their glyphs stay upright.
        if (FT_Load_Glyph(face_, glyph, FT_LOAD_DEFAULT | FT_LOAD_RENDER) != 0)
            return {};
        return FromBitmap(face_->glyph);
    }
    // Hinting fits outlines to the upright pixel grid, which a turned glyph
    // no longer sits on.
    FT_Int32 flags = FT_LOAD_NO_BITMAP | (angle == 0 ? FT_LOAD_DEFAULT : FT_LOAD_NO_HINTING);
    if (FT_Load_Glyph(face_, glyph, flags) != 0 || face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return {};
    FT_Outline& outline = face_->glyph->outline;
    if (synthItalic_) {
        FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000}; // about 12 degrees
        FT_Outline_Transform(&outline, &shear);
    }
    if (synthBold_)
        FT_Outline_EmboldenXY(&outline, boldExtra_ * 64, 0);
    if (angle != 0) {
        FT_Matrix rotation = Rotation(angle);
        FT_Outline_Transform(&outline, &rotation);
    }
    FT_Outline_Translate(&outline, phaseX * 16, -phaseY * 16);
    return Rasterize(library_, outline);
}

TGlyphImage TFontFace::Bar(int x0, int x1, int top, int bottom, int angle, int phaseX, int phaseY) const
{
    if (x1 <= x0 || bottom <= top)
        return {};
    FT_Outline outline;
    if (FT_Outline_New(library_, 4, 1, &outline) != 0)
        return {};
    const FT_Vector corners[4] = {
        {x0 * 64, -top * 64}, {x1 * 64, -top * 64}, {x1 * 64, -bottom * 64}, {x0 * 64, -bottom * 64}};
    std::copy(std::begin(corners), std::end(corners), outline.points);
    std::fill_n(outline.tags, 4, static_cast<unsigned char>(FT_CURVE_TAG_ON));
    outline.contours[0] = 3;
    if (angle != 0) {
        FT_Matrix rotation = Rotation(angle);
        FT_Outline_Transform(&outline, &rotation);
    }
    FT_Outline_Translate(&outline, phaseX * 16, -phaseY * 16);
    TGlyphImage image = Rasterize(library_, outline);
    FT_Outline_Done(library_, &outline);
    return image;
}

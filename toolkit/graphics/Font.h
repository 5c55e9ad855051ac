#pragma once

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Object.h"

#include <cstdint>
#include <string>

enum TFontStyleFlag : std::uint8_t {
    fsBold = 1 << 0,
    fsItalic = 1 << 1,
    fsUnderline = 1 << 2,
    fsStrikeOut = 1 << 3,
};
using TFontStyles = std::uint8_t;

// A font description: face name, pixel height, style, colour and the
// escapement that rotates its text. Faces are resolved through the font
// engine; a change of any value raises OnChange once.
class TFont : public TPersistent {
public:
    TFont() = default;
    const char* ClassName() const override { return "TFont"; }

    const std::string& Name() const { return name_; }
    void SetName(std::string name);

    // Pixels: negative is the character height (the em), as -11 for a
    // font of 8 points at 96 pixels per inch; positive is the cell height.
    int Height() const { return height_; }
    void SetHeight(int height);

    // Points at 96 pixels per inch; setting it sets the (negative) height.
    int Size() const;
    void SetSize(int points);

    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    bool IsBold() const { return (style_ & fsBold) != 0; }

    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Counter-clockwise rotation of the text, tenths of a degree, about the
    // top-left corner of the first character cell.
    int Escapement() const { return escapement_; }
    void SetEscapement(int tenthsOfDegree);

    // Copies every value from another TFont and raises OnChange once.
    void Assign(const TPersistent& source) override;

    bool SameAs(const TFont& other) const;

    TNotifyEvent OnChange;

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    int escapement_ = 0;
};

// Metrics of a font as the canvas measures with them, in pixels.
struct TTextMetric {
    int Height = 0; // ascent + descent: the character cell
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0; // cell height minus the em
    int ExternalLeading = 0;
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
    std::uint8_t PitchAndFamily = 0; // has TMPF_TRUETYPE when the face is an outline face
};

inline constexpr std::uint8_t TMPF_TRUETYPE = 0x04;

// Whether the named face is an outline face that can be drawn rotated.
bool IsOutlineFace(const std::string& faceName);

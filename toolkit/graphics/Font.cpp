#include "toolkit/graphics/Font.h"

#include <cmath>

void TFont::SetName(std::string name)
{
    if (name == name_)
        return;
    name_ = std::move(name);
    Changed();
}

void TFont::SetHeight(int height)
{
    if (height == height_)
        return;
    height_ = height;
    Changed();
}

int TFont::Size() const
{
    return -static_cast<int>(std::lround(height_ * 72.0 / 96.0));
}

void TFont::SetSize(int points)
{
    SetHeight(-static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TFont::SetEscapement(int tenthsOfDegree)
{
    if (tenthsOfDegree == escapement_)
        return;
    escapement_ = tenthsOfDegree;
    Changed();
}

void TFont::Assign(const TPersistent& source)
{
    auto* font = dynamic_cast<const TFont*>(&source);
    if (!font) {
        TPersistent::Assign(source);
        return;
    }
    name_ = font->name_;
    height_ = font->height_;
    style_ = font->style_;
    color_ = font->color_;
    escapement_ = font->escapement_;
    Changed();
}

bool TFont::SameAs(const TFont& other) const
{
    return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ && color_ == other.color_ &&
        escapement_ == other.escapement_;
}

void TFont::Changed()
{
    if (OnChange)
        OnChange(this);
}

#include "toolkit/graphics/TextLayout.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/FontFace.h"

#include <algorithm>
#include <span>
#include <utility>

namespace {

struct TChar {
    char32_t Code = 0;
    bool Underlined = false;
};

bool IsBlank(const TChar& c)
{
    return c.Code == U' ' || c.Code == U'\t';
}

bool IsBreak(const TChar& c)
{
    return c.Code == U'\n' || c.Code == U'\r';
}

// Appends characters to a line, placing each after the one before.
class TLineBuilder {
public:
    TLineBuilder(TFontFace& face, bool expandTabs)
        : face_(face), expandTabs_(expandTabs), tabStop_(std::max(1, 8 * face.Metrics().AveCharWidth))
    {
    }

    void Add(TChar c)
    {
        TTextItem item;
        item.X = line_.Width;
        item.Underlined = c.Underlined;
        if (c.Code == U'\t' && expandTabs_) {
            item.Glyph = TFontFace::NoGlyph;
            item.Advance = tabStop_ - line_.Width % tabStop_;
        } else if (c.Code < 0x20 || c.Code == 0x7F) {
            item.Glyph = TFontFace::NoGlyph;
        } else {
            item.Glyph = face_.GlyphIndex(c.Code);
            item.Advance = face_.Advance(item.Glyph);
        }
        line_.Width += item.Advance;
        line_.Items.push_back(item);
    }

    int Width(TChar c) const
    {
        if (c.Code < 0x20 || c.Code == 0x7F)
            return 0;
        return face_.Advance(face_.GlyphIndex(c.Code));
    }

    TTextLine& Line() { return line_; }

    // Drops the items from index on, and the width they took.
    void Truncate(std::size_t index)
    {
        if (index >= line_.Items.size())
            return;
        line_.Width = line_.Items[index].X;
        line_.Items.resize(index);
    }

    TTextLine Take() { return std::exchange(line_, {}); }

private:
    TFontFace& face_;
    bool expandTabs_;
    int tabStop_;
    TTextLine line_;
};

std::vector<TChar> ResolvePrefixes(const std::u32string& text, bool prefixes)
{
    std::vector<TChar> chars;
    chars.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!prefixes || text[i] != U'&') {
            chars.push_back({text[i], false});
            continue;
        }
        if (i + 1 == text.size())
            break;
        ++i;
        chars.push_back({text[i], text[i] != U'&'});
    }
    return chars;
}

void WrapParagraph(TLineBuilder& builder, std::span<const TChar> chars, int width, std::vector<TTextLine>& lines)
{
    bool hasWord = false;
    std::size_t blankStart = 0;
    std::size_t i = 0;
    while (i < chars.size()) {
        std::size_t j = i;
        if (IsBlank(chars[i])) {
            blankStart = builder.Line().Items.size();
            while (j < chars.size() && IsBlank(chars[j]))
                builder.Add(chars[j++]);
        } else {
            int wordWidth = 0;
            while (j < chars.size() && !IsBlank(chars[j]))
                wordWidth += builder.Width(chars[j++]);
            if (hasWord && builder.Line().Width + wordWidth > width) {
                builder.Truncate(blankStart);
                lines.push_back(builder.Take());
            }
            for (std::size_t k = i; k < j; ++k)
                builder.Add(chars[k]);
            hasWord = true;
            blankStart = builder.Line().Items.size();
        }
        i = j;
    }
    lines.push_back(builder.Take());
}

} // namespace

std::u32string DecodeUtf8(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(code);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

TTextLine LayoutLine(TFontFace& face, std::string_view text)
{
    TLineBuilder builder(face, false);
    for (char32_t code : DecodeUtf8(text))
        builder.Add({code, false});
    return builder.Take();
}

std::vector<TTextLine> LayoutText(TFontFace& face, std::string_view text, unsigned format, int width)
{
    std::vector<TTextLine> lines;
    if (text.empty())
        return lines;
    std::vector<TChar> chars = ResolvePrefixes(DecodeUtf8(text), (format & DT_NOPREFIX) == 0);
    TLineBuilder builder(face, (format & DT_EXPANDTABS) != 0);
    if (format & DT_SINGLELINE) {
        for (const TChar& c : chars)
            builder.Add(c);
        lines.push_back(builder.Take());
        return lines;
    }

    bool wrap = (format & DT_WORDBREAK) != 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= chars.size(); ++i) {
        if (i < chars.size() && !IsBreak(chars[i]))
            continue;
        std::span<const TChar> paragraph(chars.data() + start, i - start);
        if (wrap) {
            WrapParagraph(builder, paragraph, width, lines);
        } else {
            for (const TChar& c : paragraph)
                builder.Add(c);
            lines.push_back(builder.Take());
        }
        if (i + 1 < chars.size() && chars[i].Code == U'\r' && chars[i + 1].Code == U'\n')
            ++i;
        start = i + 1;
    }
    return lines;
}

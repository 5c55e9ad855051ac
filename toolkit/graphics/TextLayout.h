#pragma once

#include <string>
#include <string_view>
#include <vector>

class TFontFace;

// One character of a laid-out line.
struct TTextItem {
    unsigned Glyph = 0;      // TFontFace::NoGlyph for what draws nothing (tabs, control characters)
    int X = 0;               // pen position, pixels from the start of the line
    int Advance = 0;         // pixels
    bool Underlined = false; // the accelerator: it followed an "&"
};

struct TTextLine {
    std::vector<TTextItem> Items;
    int Width = 0; // pixels
};

// UTF-8 to code points; a malformed sequence gives U+FFFD per bad byte.
std::u32string DecodeUtf8(std::string_view text);

// The text as one line, character for character: no accelerators, tab stops
// or line breaks (text drawn at a point).
TTextLine LayoutLine(TFontFace& face, std::string_view text);

// The lines DrawText shows for text in a box width pixels wide, after the
// DT_ options of format:
// - line breaks ("\r\n", "\n" or "\r") start a new line, except with
//   DT_SINGLELINE, where they draw nothing; every break starts a line, so
//   "a\n" is two lines and the empty text none;
// - DT_WORDBREAK wraps at spaces so that lines fit the width; the spaces at
//   a wrap are dropped, and a word wider than the box keeps a line to itself;
// - DT_EXPANDTABS advances a tab to the next stop of eight average character
//   widths; without it a tab draws nothing, like the other control characters;
// - unless DT_NOPREFIX, "&x" is x underlined, "&&" an ampersand, and an "&"
//   that ends the text is dropped.
std::vector<TTextLine> LayoutText(TFontFace& face, std::string_view text, unsigned format, int width);

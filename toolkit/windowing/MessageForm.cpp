#include "toolkit/windowing/MessageForm.h"

#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Panel.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

constexpr int margin = 12;
constexpr int iconSize = 32;
constexpr TSize buttonSize{75, 23};
// The text's width in pixels, and the most a single word may take: a
// longer one loses its middle.
constexpr int textWidth = 360;
constexpr int widestWord = 4 * textWidth;

// Where each character of text ends (UTF-8).
std::vector<std::size_t> CharacterEnds(std::string_view text)
{
    std::vector<std::size_t> ends;
    for (std::size_t i = 1; i <= text.size(); ++i) {
        if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            ends.push_back(i);
    }
    return ends;
}

// How many of the characters (ends from CharacterEnds) at most pass test,
// which the first n characters pass for all n up to some count.
template <typename Test>
std::size_t HowMany(std::size_t count, Test passes)
{
    std::size_t low = 0;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (passes(middle))
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

// A word wider than limit keeps as much of its start and its end as fits,
// with "..." between them: of a path, the top folders and the file's name.
std::string ShortenedMiddle(const TCanvas& canvas, std::string_view word, int limit)
{
    if (canvas.TextWidth(word) <= limit)
        return std::string(word);
    const std::vector<std::size_t> ends = CharacterEnds(word);
    const auto shortened = [&](std::size_t keep) {
        const std::size_t tail = word.size() - (ends.size() - keep == 0 ? 0 : ends[ends.size() - keep - 1]);
        return std::string(word.substr(0, keep == 0 ? 0 : ends[keep - 1])) + "..." +
            std::string(word.substr(word.size() - tail));
    };
    const std::size_t keep =
        HowMany(ends.size() / 2, [&](std::size_t n) { return canvas.TextWidth(shortened(n)) <= limit; });
    return shortened(keep);
}

// A word wider than the text, such as a path, on lines of its own that
// each fit: broken after a folder's separator where that leaves the line at
// least half full, else where the line is full.
std::string BrokenWord(const TCanvas& canvas, std::string_view word)
{
    std::string lines;
    while (canvas.TextWidth(word) > textWidth) {
        const std::vector<std::size_t> ends = CharacterEnds(word);
        const std::size_t fitting = HowMany(
            ends.size(), [&](std::size_t n) { return canvas.TextWidth(word.substr(0, ends[n - 1])) <= textWidth; });
        std::size_t length = ends[std::max<std::size_t>(fitting, 1) - 1];
        if (const std::size_t slash = word.substr(0, length).find_last_of('/');
            slash != std::string_view::npos && slash + 1 >= length / 2)
            length = slash + 1;
        lines.append(word.substr(0, length)).push_back('\n');
        word.remove_prefix(length);
    }
    return lines.append(word);
}

// The text as the box shows it: every word within the width, so the words
// after a long path, which tell what went wrong, are seen whole.
std::string Readable(const TCanvas& canvas, std::string_view text)
{
    std::string shown;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(" \t\r\n"), text.size());
        shown += BrokenWord(canvas, ShortenedMiddle(canvas, text.substr(0, end), widestWord));
        shown.append(text.substr(end, end < text.size() ? 1 : 0));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return shown;
}

} // namespace

TMessageForm::TMessageForm(TComponent* owner, std::string text, const std::string& caption, unsigned flags)
    : TForm(owner), text_(std::move(text)), flags_(flags)
{
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poMainFormCenter);
    SetCaption(caption);
    // Lay the text out at most textWidth pixels wide, then size the box
    // around it.
    TCanvas measure;
    measure.Font().Assign(Font());
    shown_ = Readable(measure, text_);
    TRect extent{0, 0, textWidth, 0};
    measure.DrawText(shown_, extent, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    int left = margin + ((flags_ & mbIconError) ? iconSize + margin : 0);
    textRect_ = extent.Offset(left, margin + std::max(0, (iconSize - extent.Height()) / 2));
    int width = std::max(textRect_.Right + margin, buttonSize.Width + 2 * margin);
    int height = std::max(textRect_.Bottom, margin + iconSize) + margin + buttonSize.Height + margin;
    SetBounds(0, 0, width, height);
}

TRect TMessageForm::ButtonRect() const
{
    return TRect::FromBounds(
        (Width() - buttonSize.Width) / 2, Height() - margin - buttonSize.Height, buttonSize.Width, buttonSize.Height);
}

void TMessageForm::PaintIcon(TCanvas& canvas, TPoint at)
{
    canvas.Pen.Color = clMaroon;
    canvas.Brush.Color = clRed;
    canvas.Ellipse(TRect::FromBounds(at.X, at.Y, iconSize, iconSize));
    canvas.Pen.Color = clWhite;
    canvas.Pen.Width = 3;
    canvas.MoveTo(at.X + 10, at.Y + 10);
    canvas.LineTo(at.X + 22, at.Y + 22);
    canvas.MoveTo(at.X + 22, at.Y + 10);
    canvas.LineTo(at.X + 10, at.Y + 22);
    canvas.Pen.Width = 1;
}

void TMessageForm::Paint()
{
    TCanvas& canvas = Canvas();
    TForm::Paint();
    if (flags_ & mbIconError)
        PaintIcon(canvas, {margin, margin});
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font().SetColor(clWindowText);
    TRect text = textRect_;
    canvas.DrawText(shown_, text, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);

    TRect button = ButtonRect();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(button);
    TRect frame = button;
    if (pressed_) {
        Frame3D(canvas, frame, cl3DDkShadow, cl3DDkShadow, 1);
        Frame3D(canvas, frame, clBtnShadow, clBtnShadow, 1);
    } else {
        Frame3D(canvas, frame, cl3DDkShadow, cl3DDkShadow, 1);
        Frame3D(canvas, frame, clBtnHighlight, clBtnShadow, 1);
    }
    canvas.Brush.Style = TBrushStyle::bsClear;
    TRect label = pressed_ ? button.Offset(1, 1) : button;
    canvas.DrawText("OK", label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TMessageForm::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TForm::KeyDown(key, shift);
    if (key == vkReturn || key == vkEscape || key == vkSpace) {
        key = 0;
        SetModalResult(mrOk);
    }
}

void TMessageForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TForm::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && ButtonRect().Contains({x, y})) {
        pressed_ = true;
        Repaint();
    }
}

void TMessageForm::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TForm::MouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !pressed_)
        return;
    pressed_ = false;
    Repaint();
    if (ButtonRect().Contains({x, y}))
        SetModalResult(mrOk);
}

#include "tools/skinpainter/ContactSheet.h"

#include "toolkit/graphics/Canvas.h"
#include "tools/skinpainter/Lettering.h"
#include "tools/skinpainter/SkinColors.h"

#include <algorithm>

namespace skin {

namespace {

constexpr int SheetWidth = 720;
constexpr int Margin = 16;
constexpr int Gap = 16;
constexpr int CaptionHeight = 18;
constexpr TPixel SheetGrey = MakeColor(92, 92, 96);
constexpr TPixel CaptionColour = MakeColor(236, 236, 236);

int ScaleOf(const TBitmap& bitmap)
{
    if (bitmap.Width() >= 200)
        return 1;
    return std::max(bitmap.Width(), bitmap.Height()) <= 9 ? 4 : 2;
}

// Places pictures left to right in rows; a new group starts a new row.
class SheetLayout {
public:
    struct Cell {
        const Picture* Item;
        TRect Frame; // the scaled picture
        int Scale;
    };

    void Add(const Picture& picture)
    {
        const int scale = ScaleOf(*picture.Bitmap);
        const int w = picture.Bitmap->Width() * scale;
        const int h = picture.Bitmap->Height() * scale;
        const int cellWidth = std::max(w, 90);
        if (x_ > Margin && x_ + cellWidth > SheetWidth - Margin)
            NewRow();
        cells_.push_back({&picture, TRect::FromBounds(x_, y_, w, h), scale});
        x_ += cellWidth + Gap;
        rowHeight_ = std::max(rowHeight_, h + CaptionHeight);
    }

    void NewRow()
    {
        if (x_ == Margin)
            return;
        x_ = Margin;
        y_ += rowHeight_ + Gap;
        rowHeight_ = 0;
    }

    int Height()
    {
        NewRow();
        return y_ + Margin - Gap;
    }
    const std::vector<Cell>& Cells() const { return cells_; }

private:
    int x_ = Margin;
    int y_ = Margin + 28; // under the heading
    int rowHeight_ = 0;
    std::vector<Cell> cells_;
};

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

std::unique_ptr<TBitmap> ContactSheet(const std::vector<Picture>& pictures)
{
    SheetLayout layout;
    std::string group;
    for (const Picture& p : pictures) {
        // Rows of a kind: each song's three looks, the transport and options
        // buttons, then the rest.
        std::string kind = StartsWith(p.Name, "song")                ? p.Name.substr(0, 5)
            : ScaleOf(*p.Bitmap) == 2 && !StartsWith(p.Name, "verz") ? "buttons"
                                                                     : "small";
        if (kind != group)
            layout.NewRow();
        group = kind;
        layout.Add(p);
    }

    auto sheet = std::make_unique<TBitmap>(SheetWidth, layout.Height());
    TCanvas& canvas = sheet->Canvas();
    canvas.Brush = {AsColor(SheetGrey), TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, sheet->Width(), sheet->Height()});
    UseFont(canvas, 16);
    ShadowedText(canvas, Margin, Margin - 4, "Velmora skin", Gold, Black);

    for (const auto& cell : layout.Cells()) {
        const TBitmap& bitmap = *cell.Item->Bitmap;
        canvas.CopyRect(cell.Frame, bitmap.Canvas(), {0, 0, bitmap.Width(), bitmap.Height()});
        std::string caption = cell.Item->Name;
        if (cell.Scale > 1)
            caption += "  " + std::to_string(cell.Scale) + "x";
        UseFont(canvas, 11, false);
        canvas.Font().SetColor(AsColor(CaptionColour));
        canvas.WriteText(cell.Frame.Left, cell.Frame.Bottom + 3, caption);
    }
    return sheet;
}

std::unique_ptr<TBitmap> WindowPreview(const std::vector<Picture>& pictures, int lockedSong)
{
    auto window = std::make_unique<TBitmap>(370, 214);
    TCanvas& canvas = window->Canvas();
    canvas.Brush = {clBlack, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, 370, 214});
    TRect frame{0, 0, 370, 214};
    Frame3D(canvas, frame, clBtnHighlight, clBtnShadow, 1);
    Frame3D(canvas, frame, clBtnShadow, clBtnHighlight, 1);

    auto place = [&](const std::string& name, int x, int y) { canvas.Draw(x, y, Find(pictures, name)); };
    const TPoint songs[] = {{128, 8}, {98, 48}, {68, 88}, {38, 128}, {8, 168}};
    for (int n = 1; n <= 5; ++n)
        place(
            "song" + std::to_string(n) + (n == lockedSong ? "_locked.bmp" : "_up.bmp"), songs[n - 1].X, songs[n - 1].Y);
    place("rew_up.bmp", 248, 176);
    place("stop_up.bmp", 288, 176);
    place("ff_up.bmp", 328, 176);
    place("options_up.bmp", 274, 138);

    // The info caption as it shows one of its rows: turned, golden.
    canvas.Font().SetName(FaceName);
    canvas.Font().SetHeight(-16);
    canvas.Font().SetStyle(fsBold);
    canvas.Font().SetEscapement(570);
    canvas.Font().SetColor(AsColor(Gold));
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.SetClipRect(TRect::FromBounds(4, 4, 70, 92));
    canvas.WriteText(8, 78, "  Welcome");
    canvas.ResetClip();

    place("verzierung.bmp", 6, 96);

    for (auto [name, x] : {std::pair{"minimize.bmp", 348}, {"close.bmp", 358}}) {
        canvas.Brush = {clBtnFace, TBrushStyle::bsSolid};
        canvas.FillRect(TRect::FromBounds(x, 3, 8, 8));
        const TBitmap& glyph = Find(pictures, name);
        canvas.DrawTransparent(x, 3, glyph, glyph.TransparentColor());
    }

    TRect gauge = TRect::FromBounds(348, 20, 13, 109);
    canvas.Brush = {clBlack, TBrushStyle::bsSolid};
    canvas.FillRect(gauge);
    Frame3D(canvas, gauge, clBtnHighlight, clBtnShadow, 1);
    Frame3D(canvas, gauge, clBtnShadow, clBtnHighlight, 1);
    const TRect bar = TRect::FromBounds(350, 22, 9, 105);
    canvas.Brush = {clNavy, TBrushStyle::bsSolid};
    canvas.FillRect(bar);
    canvas.Brush = {AsColor(Gold), TBrushStyle::bsSolid};
    canvas.FillRect({bar.Left, bar.Bottom - 40, bar.Right, bar.Bottom});

    place("star7.bmp", 312, 104);
    return window;
}

} // namespace skin

#include "controls/LmdGraphicControl.h"

#include <array>

TLMDGraphicControl::TLMDGraphicControl(TComponent* owner)
    : TGraphicControl(owner), bevel_(std::make_unique<TLMDBevel>())
{
    bevel_->OnChange = [this](TObject*) { BevelChanged(); };
}

TLMDGraphicControl::~TLMDGraphicControl()
{
    bevel_->OnChange = nullptr;
    bevel_.reset();
}

void TLMDGraphicControl::Paint()
{
    TCanvas& canvas = Canvas();
    if (!IsEmpty() || bevel_->BevelExtent() != 0) {
        bevel_->PaintBevel(canvas, ClientRect(), true);
        return;
    }
    if (IsDesigning()) {
        canvas.Pen.Style = TPenStyle::psDash;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = clBlack;
        canvas.Brush.Style = TBrushStyle::bsClear;
        // A polyline, since shape outlines are always solid.
        const int right = Width() - 1;
        const int bottom = Height() - 1;
        const std::array<TPoint, 5> outline{{{0, 0}, {right, 0}, {right, bottom}, {0, bottom}, {0, 0}}};
        canvas.Polyline(outline);
    }
}

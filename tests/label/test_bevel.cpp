#include "controls/Lmdobj.h"
#include "toolkit/graphics/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr TPixel background = MakeColor(1, 2, 3);
constexpr TColor light = MakeColor(250, 250, 250);
constexpr TColor shade = MakeColor(60, 60, 60);
constexpr TColor border = MakeColor(0, 0, 200);

// A surface to draw a bevel on, with plain colours for every part.
struct BevelSurface {
    TPixmap pixels;
    TCanvas canvas;
    TLMDBevel bevel;

    BevelSurface(int width, int height) : pixels(width, height, background), canvas(pixels)
    {
        bevel.SetLightColor(light);
        bevel.SetShadowColor(shade);
        bevel.SetBorderColor(border);
    }

    TPixel At(int x, int y) const { return pixels.At(x, y); }

    // Every pixel of r has colour c.
    bool AllOf(const TRect& r, TPixel c) const
    {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (pixels.At(x, y) != c)
                    return false;
        return true;
    }

    // The outermost ring of r has colour c.
    bool RingOf(const TRect& r, TPixel c) const
    {
        for (int x = r.Left; x < r.Right; ++x)
            if (pixels.At(x, r.Top) != c || pixels.At(x, r.Bottom - 1) != c)
                return false;
        for (int y = r.Top; y < r.Bottom; ++y)
            if (pixels.At(r.Left, y) != c || pixels.At(r.Right - 1, y) != c)
                return false;
        return true;
    }
};

TPixel Px(TColor c)
{
    return ColorToRGB(c);
}

} // namespace

TEST(BevelDefaults, TakeNoRoomAndDrawNothingButLeaveThePenAndBrushReady)
{
    BevelSurface s(12, 12);
    EXPECT_EQ(s.bevel.StyleInner(), TLMDBevelStyle::bvNone);
    EXPECT_EQ(s.bevel.StyleOuter(), TLMDBevelStyle::bvNone);
    EXPECT_EQ(s.bevel.WidthInner(), 1);
    EXPECT_EQ(s.bevel.WidthOuter(), 1);
    EXPECT_EQ(s.bevel.BorderWidth(), 0);
    EXPECT_EQ(s.bevel.BorderInnerWidth(), 0);
    TLMDBevel fresh;
    EXPECT_EQ(fresh.BorderColor(), clBtnFace);
    EXPECT_EQ(fresh.LightColor(), clBtnHighlight);
    EXPECT_EQ(fresh.ShadowColor(), clBtnShadow);
    EXPECT_EQ(fresh.BevelExtent(), 0);

    s.canvas.Pen = {clRed, 3, TPenStyle::psDash};
    s.canvas.Brush = {clLime, TBrushStyle::bsClear};
    TRect inner = s.bevel.PaintBevel(s.canvas, {1, 2, 11, 12}, false);
    EXPECT_EQ(inner, (TRect{1, 2, 11, 12}));
    EXPECT_TRUE(s.AllOf(s.pixels.Bounds(), background));
    EXPECT_EQ(s.canvas.Pen.Style, TPenStyle::psSolid);
    EXPECT_EQ(s.canvas.Pen.Width, 1);
    EXPECT_EQ(s.canvas.Brush.Style, TBrushStyle::bsSolid);
    EXPECT_EQ(s.canvas.Brush.Color, border);
}

TEST(BevelThreeD, LoweredTwoRingsShadeTopLeftAndLightBottomRight)
{
    BevelSurface s(10, 10);
    s.bevel.SetStyleOuter(TLMDBevelStyle::bvLowered);
    s.bevel.SetWidthOuter(2);
    EXPECT_EQ(s.bevel.BevelExtent(), 2);
    TRect inner = s.bevel.PaintBevel(s.canvas, {0, 0, 10, 10}, false);
    EXPECT_EQ(inner, (TRect{2, 2, 8, 8}));
    for (int ring = 0; ring < 2; ++ring) {
        const int lo = ring;
        const int hi = 9 - ring;
        for (int i = lo; i < hi; ++i) {
            EXPECT_EQ(s.At(lo, i), Px(shade)) << "ring " << ring << " column, row " << i;
            EXPECT_EQ(s.At(i, lo), Px(shade)) << "ring " << ring << " row, column " << i;
        }
        for (int i = lo; i <= hi; ++i) {
            EXPECT_EQ(s.At(hi, i), Px(light)) << "ring " << ring << " column, row " << i;
            EXPECT_EQ(s.At(i, hi), Px(light)) << "ring " << ring << " row, column " << i;
        }
    }
    EXPECT_TRUE(s.AllOf({2, 2, 8, 8}, background));
}

TEST(BevelThreeD, RaisedAndNormalUseTheirColoursAndCornersGoToTheBottomColour)
{
    BevelSurface s(8, 6);
    s.bevel.SetStyleInner(TLMDBevelStyle::bvRaised);
    TRect inner = s.bevel.PaintBevel(s.canvas, {0, 0, 8, 6}, false);
    EXPECT_EQ(inner, (TRect{1, 1, 7, 5}));
    EXPECT_EQ(s.At(0, 0), Px(light));
    EXPECT_EQ(s.At(6, 0), Px(light));
    EXPECT_EQ(s.At(0, 4), Px(light));
    EXPECT_EQ(s.At(7, 0), Px(shade)); // top right corner
    EXPECT_EQ(s.At(0, 5), Px(shade)); // bottom left corner
    EXPECT_EQ(s.At(7, 5), Px(shade));

    BevelSurface n(8, 6);
    n.bevel.SetStyleOuter(TLMDBevelStyle::bvNormal);
    n.bevel.SetWidthOuter(3);
    EXPECT_EQ(n.bevel.BevelExtent(), 3);
    EXPECT_EQ(n.bevel.PaintBevel(n.canvas, {0, 0, 8, 6}, false), (TRect{3, 3, 5, 3}));
    EXPECT_TRUE(n.RingOf({0, 0, 8, 6}, 0));
    EXPECT_TRUE(n.RingOf({1, 1, 7, 5}, 0));
    EXPECT_TRUE(n.RingOf({2, 2, 6, 4}, 0));
}

TEST(BevelFrame, EtchedAndEmbossedFramesAreTwoPixelsWide)
{
    BevelSurface s(10, 8);
    s.bevel.SetStyleOuter(TLMDBevelStyle::bvFrameLowered);
    EXPECT_EQ(s.bevel.BevelExtent(), 2);
    TRect inner = s.bevel.PaintBevel(s.canvas, {0, 0, 10, 8}, false);
    EXPECT_EQ(inner, (TRect{2, 2, 8, 6}));
    // Shade on (0, 0, 9, 7) drawn over light on (1, 1, 10, 8).
    EXPECT_TRUE(s.RingOf({0, 0, 9, 7}, Px(shade)));
    EXPECT_EQ(s.At(1, 1), Px(light));
    EXPECT_EQ(s.At(9, 7), Px(light));
    EXPECT_EQ(s.At(9, 0), background);
    EXPECT_EQ(s.At(0, 7), background);
    EXPECT_EQ(s.At(9, 3), Px(light));
    EXPECT_EQ(s.At(3, 7), Px(light));
    EXPECT_EQ(s.At(1, 6), Px(shade));
    EXPECT_TRUE(s.AllOf({2, 2, 8, 6}, background));

    BevelSurface r(10, 8);
    r.bevel.SetStyleInner(TLMDBevelStyle::bvFrameRaised);
    r.bevel.PaintBevel(r.canvas, {0, 0, 10, 8}, false);
    EXPECT_TRUE(r.RingOf({0, 0, 9, 7}, Px(light)));
    EXPECT_EQ(r.At(1, 1), Px(shade));
    EXPECT_EQ(r.At(9, 7), Px(shade));
}

TEST(BevelFrame, FrameStylesHoldTheirSideToWidthOne)
{
    TLMDBevel bevel;
    bevel.SetWidthInner(3);
    int changes = 0;
    bevel.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &bevel);
        ++changes;
    };
    bevel.SetStyleInner(TLMDBevelStyle::bvFrameRaised);
    EXPECT_EQ(bevel.WidthInner(), 1);
    EXPECT_EQ(changes, 1);
    bevel.SetWidthInner(5);
    EXPECT_EQ(bevel.WidthInner(), 1);
    EXPECT_EQ(changes, 1);
    bevel.SetWidthInner(0); // at most 1 is still taken
    EXPECT_EQ(bevel.WidthInner(), 0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(bevel.BevelExtent(), 2);

    bevel.SetWidthOuter(4);
    bevel.SetStyleOuter(TLMDBevelStyle::bvFrameLowered);
    EXPECT_EQ(bevel.WidthOuter(), 1);
    EXPECT_EQ(bevel.BevelExtent(), 4);
    bevel.SetStyleOuter(TLMDBevelStyle::bvRaised);
    bevel.SetWidthOuter(4);
    EXPECT_EQ(bevel.WidthOuter(), 4);
    EXPECT_EQ(bevel.BevelExtent(), 6);
}

TEST(BevelShadow, BothSidesTakeAndLeaveTheShadowTogether)
{
    TLMDBevel bevel;
    int changes = 0;
    bevel.OnChange = [&](TObject*) { ++changes; };
    bevel.SetStyleInner(TLMDBevelStyle::bvShadow);
    EXPECT_EQ(bevel.StyleOuter(), TLMDBevelStyle::bvShadow);
    EXPECT_EQ(changes, 1);
    bevel.SetStyleOuter(TLMDBevelStyle::bvShadow); // already so
    EXPECT_EQ(changes, 1);
    bevel.SetStyleOuter(TLMDBevelStyle::bvRaised);
    EXPECT_EQ(bevel.StyleOuter(), TLMDBevelStyle::bvRaised);
    EXPECT_EQ(bevel.StyleInner(), TLMDBevelStyle::bvNone);
    EXPECT_EQ(changes, 2);

    bevel.SetStyleOuter(TLMDBevelStyle::bvShadow);
    EXPECT_EQ(bevel.StyleInner(), TLMDBevelStyle::bvShadow);
    bevel.SetStyleInner(TLMDBevelStyle::bvLowered);
    EXPECT_EQ(bevel.StyleInner(), TLMDBevelStyle::bvLowered);
    EXPECT_EQ(bevel.StyleOuter(), TLMDBevelStyle::bvNone);
}

TEST(BevelShadow, BoxWithWideOutlineAndDropShadow)
{
    BevelSurface s(40, 30);
    s.bevel.SetStyleOuter(TLMDBevelStyle::bvShadow);
    s.bevel.SetWidthOuter(4);
    s.bevel.SetWidthInner(2);
    EXPECT_EQ(s.bevel.BevelExtent(), 5);
    TRect inner = s.bevel.PaintBevel(s.canvas, {0, 0, 40, 30}, false);
    EXPECT_EQ(inner, (TRect{3, 3, 33, 23}));

    // The wide pen straddles the box (1, 1, 35, 25): (0, 0, 36, 26) minus
    // (2, 2, 34, 24) is outline.
    EXPECT_TRUE(s.RingOf({0, 0, 36, 26}, Px(light)));
    EXPECT_TRUE(s.RingOf({1, 1, 35, 25}, Px(light)));
    EXPECT_TRUE(s.AllOf({2, 2, 34, 24}, Px(border)));
    // The drop shadow shows right of and below the box, from 4 in.
    EXPECT_TRUE(s.AllOf({36, 4, 40, 30}, Px(shade)));
    EXPECT_TRUE(s.AllOf({4, 26, 40, 30}, Px(shade)));
    // The backing fill shows where the shadow does not reach.
    EXPECT_TRUE(s.AllOf({36, 0, 40, 4}, Px(border)));
    EXPECT_TRUE(s.AllOf({0, 26, 4, 30}, Px(border)));
    EXPECT_EQ(s.canvas.Pen.Width, 1);
    EXPECT_EQ(s.canvas.Brush.Color, border);
}

TEST(BevelShadow, TransparentBoxIsNotBacked)
{
    BevelSurface s(40, 30);
    s.bevel.SetStyleInner(TLMDBevelStyle::bvShadow);
    s.bevel.SetWidthOuter(4);
    s.bevel.SetWidthInner(2);
    s.bevel.PaintBevel(s.canvas, {0, 0, 40, 30}, true);
    EXPECT_TRUE(s.AllOf({36, 0, 40, 4}, background));
    EXPECT_TRUE(s.AllOf({0, 26, 4, 30}, background));
    EXPECT_TRUE(s.AllOf({36, 4, 40, 30}, Px(shade)));
    EXPECT_TRUE(s.AllOf({2, 2, 34, 24}, Px(border)));
}

TEST(BevelShadow, BorderWidthNeitherDrawsNorTakesRoom)
{
    BevelSurface with(40, 30);
    BevelSurface without(40, 30);
    for (BevelSurface* s : {&with, &without}) {
        s->bevel.SetStyleOuter(TLMDBevelStyle::bvShadow);
        s->bevel.SetWidthOuter(4);
        s->bevel.SetWidthInner(2);
    }
    with.bevel.SetBorderWidth(3);
    EXPECT_EQ(with.bevel.BevelExtent(), 5);
    EXPECT_EQ(with.bevel.PaintBevel(with.canvas, {0, 0, 40, 30}, false),
        without.bevel.PaintBevel(without.canvas, {0, 0, 40, 30}, false));
    EXPECT_EQ(with.pixels, without.pixels);

    // The inner rings count and draw inside the box.
    with.bevel.SetBorderInnerWidth(2);
    with.bevel.SetBorderColor(clRed);
    EXPECT_EQ(with.bevel.BevelExtent(), 7);
    EXPECT_EQ(with.bevel.PaintBevel(with.canvas, {0, 0, 40, 30}, false), (TRect{5, 5, 31, 21}));
    EXPECT_TRUE(with.RingOf({3, 3, 33, 23}, Px(clRed)));
    EXPECT_TRUE(with.RingOf({4, 4, 32, 22}, Px(clRed)));
}

TEST(BevelBorders, RingsBetweenTheBevelsInBorderColour)
{
    BevelSurface s(20, 20);
    s.bevel.SetStyleOuter(TLMDBevelStyle::bvRaised);
    s.bevel.SetStyleInner(TLMDBevelStyle::bvLowered);
    s.bevel.SetBorderWidth(2);
    s.bevel.SetBorderInnerWidth(1);
    EXPECT_EQ(s.bevel.BevelExtent(), 5);
    EXPECT_EQ(s.bevel.PaintBevel(s.canvas, {0, 0, 20, 20}, false), (TRect{5, 5, 15, 15}));
    EXPECT_TRUE(s.RingOf({1, 1, 19, 19}, Px(border)));
    EXPECT_TRUE(s.RingOf({2, 2, 18, 18}, Px(border)));
    EXPECT_EQ(s.At(3, 3), Px(shade)); // the inner, lowered bevel
    EXPECT_EQ(s.At(16, 16), Px(light));
    EXPECT_TRUE(s.RingOf({4, 4, 16, 16}, Px(border)));
    EXPECT_TRUE(s.AllOf({5, 5, 15, 15}, background));
}

TEST(BevelBorders, TransparentButtonFaceRingsTakeRoomUndrawn)
{
    BevelSurface s(20, 20);
    s.bevel.SetBorderColor(clBtnFace);
    s.bevel.SetBorderWidth(2);
    s.bevel.SetBorderInnerWidth(1);
    EXPECT_EQ(s.bevel.PaintBevel(s.canvas, {0, 0, 20, 20}, true), (TRect{3, 3, 17, 17}));
    EXPECT_TRUE(s.AllOf(s.pixels.Bounds(), background));

    // Opaque, or transparent in another colour, the rings show.
    EXPECT_EQ(s.bevel.PaintBevel(s.canvas, {0, 0, 20, 20}, false), (TRect{3, 3, 17, 17}));
    EXPECT_TRUE(s.RingOf({2, 2, 18, 18}, Px(clBtnFace)));
    BevelSurface t(20, 20);
    t.bevel.SetBorderWidth(1);
    t.bevel.PaintBevel(t.canvas, {0, 0, 20, 20}, true);
    EXPECT_TRUE(t.RingOf({0, 0, 20, 20}, Px(border)));
}

TEST(BevelBorders, ThreeHundredRings)
{
    BevelSurface s(640, 620);
    s.bevel.SetBorderWidth(300);
    EXPECT_EQ(s.bevel.BevelExtent(), 300);
    EXPECT_EQ(s.bevel.PaintBevel(s.canvas, {0, 0, 640, 620}, false), (TRect{300, 300, 340, 320}));
    EXPECT_TRUE(s.RingOf({299, 299, 341, 321}, Px(border)));
    EXPECT_TRUE(s.AllOf({300, 300, 340, 320}, background));
    EXPECT_TRUE(s.AllOf({0, 0, 640, 300}, Px(border)));

    BevelSurface none(10, 10);
    none.bevel.SetBorderWidth(-4);
    EXPECT_EQ(none.bevel.PaintBevel(none.canvas, {0, 0, 10, 10}, false), (TRect{0, 0, 10, 10}));
    EXPECT_TRUE(none.AllOf(none.pixels.Bounds(), background));
}

TEST(BevelAssign, CopiesThroughTheSettersThenNotifiesOnceMore)
{
    TLMDBevel source;
    source.SetStyleOuter(TLMDBevelStyle::bvFrameRaised);
    source.SetStyleInner(TLMDBevelStyle::bvLowered);
    source.SetWidthInner(3);
    source.SetBorderWidth(2);
    source.SetBorderInnerWidth(1);
    source.SetBorderColor(clRed);
    source.SetLightColor(clYellow);
    source.SetShadowColor(clNavy);

    TLMDBevel target;
    target.SetWidthOuter(5);
    int changes = 0;
    target.OnChange = [&](TObject*) { ++changes; };
    target.Assign(source);
    EXPECT_EQ(target.StyleOuter(), TLMDBevelStyle::bvFrameRaised);
    EXPECT_EQ(target.StyleInner(), TLMDBevelStyle::bvLowered);
    EXPECT_EQ(target.WidthInner(), 3);
    EXPECT_EQ(target.WidthOuter(), 1); // the frame style cut the 5 down
    EXPECT_EQ(target.BorderWidth(), 2);
    EXPECT_EQ(target.BorderInnerWidth(), 1);
    EXPECT_EQ(target.BorderColor(), clRed);
    EXPECT_EQ(target.LightColor(), clYellow);
    EXPECT_EQ(target.ShadowColor(), clNavy);
    // Eight of the nine values arrive changed (WidthOuter was already 1 by
    // the time its own setter ran), plus the closing notification.
    EXPECT_EQ(changes, 9);

    changes = 0;
    target.Assign(source);
    EXPECT_EQ(changes, 1);
    target.Assign(target);
    EXPECT_EQ(changes, 1);
}

TEST(BevelAssign, UnrelatedClassRaisesTheAssignmentErrorAndKeepsValues)
{
    TLMDBevel bevel;
    bevel.SetBorderWidth(3);
    TFont font;
    int changes = 0;
    bevel.OnChange = [&](TObject*) { ++changes; };
    try {
        bevel.Assign(font);
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "Cannot assign a TFont to a TLMDBevel");
    }
    EXPECT_EQ(bevel.BorderWidth(), 3);
    EXPECT_EQ(changes, 0);
}

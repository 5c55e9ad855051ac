#include "toolkit/windowing/DesktopScale.h"
#include "toolkit/windowing/X11Desktop.h"

#include <gtest/gtest.h>

TEST(DesktopScale, PointsAndRectanglesMapBothWaysAtEveryFactor)
{
    for (int factor = 1; factor <= 4; ++factor) {
        const TDesktopScale scale{factor};
        EXPECT_EQ(scale.ToScreen(TPoint{10, -3}), (TPoint{10 * factor, -3 * factor}));
        EXPECT_EQ(scale.ToScreen(TRect{1, 2, 371, 216}), (TRect{factor, 2 * factor, 371 * factor, 216 * factor}));
        // Every screen pixel of a block belongs to the block's logical pixel,
        // on both sides of the origin.
        for (int within = 0; within < factor; ++within) {
            EXPECT_EQ(scale.FromScreen({7 * factor + within, within}), (TPoint{7, 0})) << factor;
            EXPECT_EQ(scale.FromScreen({-factor + within, -2 * factor + within}), (TPoint{-1, -2})) << factor;
            // ... and lies that far into it, left of the origin too.
            EXPECT_EQ(scale.WithinPixel({7 * factor + within, -2 * factor + within}), (TPoint{within, within}));
        }
        // A window at logical (L, T) takes a press at its client point (x, y)
        // there, whatever the factor.
        const TPoint window{327, 277};
        const TPoint client{200, 68};
        const TPoint pressed = scale.ToScreen(window + client) + TPoint{factor - 1, factor / 2};
        EXPECT_EQ(scale.FromScreen(pressed) - window, client);
    }
}

TEST(DesktopScale, FactorComesFromTheRequestElseFromTheScreensDensity)
{
    EXPECT_EQ(ScaleFor(3, 96).Factor, 3);
    EXPECT_EQ(ScaleFor(std::nullopt, 96).Factor, 1);
    EXPECT_EQ(ScaleFor(std::nullopt, 144).Factor, 1);
    EXPECT_EQ(ScaleFor(std::nullopt, 192).Factor, 2);
    EXPECT_EQ(ScaleFor(std::nullopt, 300).Factor, 3);
    EXPECT_EQ(ScaleFor(std::nullopt, 1200).Factor, 4);
    EXPECT_EQ(ScaleFor(std::nullopt, 0).Factor, 1);
    EXPECT_EQ(ScaleFor(5, 192).Factor, 2) << "a request out of range is passed over";
    EXPECT_EQ(ScaleFor(0, 96).Factor, 1);

    EXPECT_EQ(XftDpiOf("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), 192);
    EXPECT_EQ(XftDpiOf("Xft.dpi: 144.0"), 144);
    EXPECT_EQ(XftDpiOf("Xcursor.size:\t24\n"), std::nullopt);
    EXPECT_EQ(XftDpiOf("Xft.dpi:\tlarge\n"), std::nullopt);
    EXPECT_EQ(XftDpiOf(""), std::nullopt);
}

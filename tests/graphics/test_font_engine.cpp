#include "test_text_support.h"

#include "toolkit/graphics/FontEngine.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const char* const bitmapFontFile = "/usr/share/fonts/X11/misc/6x13-ISO8859-1.pcf.gz";
const char* const regularOnlyFile = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

TTextMetric MetricsOf(const std::string& face, int height, TFontStyles style = 0)
{
    TCanvas canvas;
    canvas.Font().SetName(face);
    canvas.Font().SetHeight(height);
    canvas.Font().SetStyle(style);
    return canvas.TextMetrics();
}

} // namespace

TEST(FontEngine, BoldArialOfHeightMinus16HasAnEm16Cell)
{
    TTextMetric m = MetricsOf("Arial", -16, fsBold);
    EXPECT_GE(m.Height, 18);
    EXPECT_LE(m.Height, 19);
    EXPECT_EQ(m.Ascent + m.Descent, m.Height);
    EXPECT_GT(m.Ascent, m.Descent);
    EXPECT_GT(m.Descent, 0);
    EXPECT_EQ(m.InternalLeading, m.Height - 16);
    EXPECT_GT(m.AveCharWidth, 0);
    EXPECT_GE(m.MaxCharWidth, m.AveCharWidth);
    EXPECT_TRUE(m.PitchAndFamily & TMPF_TRUETYPE);
}

TEST(FontEngine, HeightsCountTheEmWhenNegativeAndTheCellWhenPositive)
{
    TTextMetric em = MetricsOf("Arial", -16);
    TTextMetric cell = MetricsOf("Arial", em.Height);
    EXPECT_EQ(cell.Height, em.Height);
    EXPECT_EQ(cell.Ascent, em.Ascent);

    TTextMetric large = MetricsOf("Arial", 40);
    EXPECT_GE(large.Height, 39);
    EXPECT_LE(large.Height, 41);

    TTextMetric byDefault = MetricsOf("MS Sans Serif", 0);
    TTextMetric eightPoint = MetricsOf("MS Sans Serif", -11);
    EXPECT_EQ(byDefault.Height, eightPoint.Height);
    EXPECT_EQ(byDefault.AveCharWidth, eightPoint.AveCharWidth);
    EXPECT_GE(eightPoint.Height, 12);
    EXPECT_LE(eightPoint.Height, 14);
}

TEST(FontEngine, ClassicFaceNamesResolveToMetricCompatibleFaces)
{
    auto& engine = TFontEngine::Instance();
    TFaceSource arial = engine.Resolve("Arial", 0);
    EXPECT_NE(arial.File.find("LiberationSans-Regular"), std::string::npos) << arial.File;
    EXPECT_FALSE(arial.SynthBold);

    TFaceSource boldArial = engine.Resolve("Arial", fsBold);
    EXPECT_NE(boldArial.File.find("LiberationSans-Bold"), std::string::npos) << boldArial.File;
    EXPECT_FALSE(boldArial.SynthBold) << "the family has a bold face of its own";

    TFaceSource sansSerif = engine.Resolve("MS Sans Serif", 0);
    EXPECT_NE(sansSerif.File.find("LiberationSans"), std::string::npos) << sansSerif.File;
    EXPECT_EQ(engine.Resolve("ms sans serif", 0).File, sansSerif.File) << "face names ignore case";
}

TEST(FontEngine, BoldIsFakedForAFaceWithoutABoldFile)
{
    if (!std::filesystem::exists(regularOnlyFile))
        GTEST_SKIP() << regularOnlyFile << " is not installed";
    auto& engine = TFontEngine::Instance();
    engine.RegisterFaceFile("Velmora Regular Only", regularOnlyFile);
    EXPECT_TRUE(engine.Resolve("Velmora Regular Only", fsBold).SynthBold);
    EXPECT_FALSE(engine.Resolve("Velmora Regular Only", 0).SynthBold);

    TTextSurface regular(120, 30, "Velmora Regular Only", -16);
    TTextSurface bold(120, 30, "Velmora Regular Only", -16, fsBold);
    EXPECT_EQ(bold.Canvas.TextWidth("llll"), regular.Canvas.TextWidth("llll") + 4)
        << "a faked bold widens each advance by one pixel at this size";
    regular.Canvas.WriteText(2, 2, "llll");
    bold.Canvas.WriteText(2, 2, "llll");
    auto inkPixels = [](const TPixmap& p) {
        int count = 0;
        for (int y = 0; y < p.Height(); ++y)
            for (int x = 0; x < p.Width(); ++x)
                count += p.At(x, y) != MakeColor(255, 255, 255);
        return count;
    };
    EXPECT_GT(inkPixels(bold.Pixels), inkPixels(regular.Pixels) * 5 / 4) << "the strokes are thicker";
}

TEST(FontEngine, OutlineFacesCanBeTurnedAndBitmapFacesCannot)
{
    EXPECT_TRUE(IsOutlineFace("Arial"));
    EXPECT_TRUE(IsOutlineFace("MS Sans Serif"));

    // fontconfig hides the X bitmap fonts; one registered by file is found.
    if (!std::filesystem::exists(bitmapFontFile))
        GTEST_SKIP() << "no bitmap font installed at " << bitmapFontFile;
    TFontEngine::Instance().RegisterFaceFile("Velmora Fixed", bitmapFontFile);
    EXPECT_FALSE(IsOutlineFace("Velmora Fixed"));
    TTextMetric m = MetricsOf("Velmora Fixed", -11);
    EXPECT_FALSE(m.PitchAndFamily & TMPF_TRUETYPE);
    EXPECT_EQ(m.Height, 13);
    EXPECT_EQ(m.AveCharWidth, 6);

    // Asked to turn, a bitmap face draws upright: one row of text, not a column.
    TTextSurface surface(120, 60, "Velmora Fixed", -11);
    surface.Canvas.Font().SetEscapement(900);
    surface.Canvas.WriteText(10, 40, "Hello");
    TRect ink = surface.Ink();
    EXPECT_GT(ink.Width(), ink.Height());
    EXPECT_GE(ink.Top, 40);
}

TEST(FontEngine, AFontResolvesOnceAndKeepsItsFace)
{
    auto& engine = TFontEngine::Instance();
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-16);
    font.SetStyle(fsBold);
    TFontFace* first = &engine.Face(font);
    font.SetColor(clRed);
    font.SetEscapement(570);
    font.SetStyle(fsBold | fsUnderline);
    EXPECT_EQ(&engine.Face(font), first) << "colour, escapement and decorations don't change the face";
    font.SetStyle(0);
    EXPECT_NE(&engine.Face(font), first);
}

TEST(FontEngine, CharactersBeyondAsciiHaveGlyphs)
{
    TFontFace& face = TFontEngine::Instance().Face("Arial", -16, 0);
    EXPECT_NE(face.GlyphIndex(U'ß'), 0u);
    EXPECT_NE(face.GlyphIndex(U'ü'), 0u);
    TTextSurface surface(60, 30);
    EXPECT_EQ(surface.Canvas.TextWidth("ß"), face.Advance(face.GlyphIndex(U'ß')));
    surface.Canvas.WriteText(5, 5, "ß");
    EXPECT_FALSE(surface.Ink().IsEmpty());
}

#include "toolkit/graphics/FontEngine.h"

#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

// A window decoration plugin in the same process draws its titles through
// fontconfig's default configuration and keeps its caches mapped; the
// engine letting go of its own finder must leave all of that alone.
TEST(FontEngine, LettingGoOfTheFinderLeavesTheProcessWideFontconfigInUse)
{
    ASSERT_TRUE(FcInit());
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Sans"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* held = FcFontMatch(nullptr, pattern, &result);
    ASSERT_NE(held, nullptr);

    auto& engine = TFontEngine::Instance();
    EXPECT_NE(engine.Resolve("Courier New", fsItalic).File, "");
    engine.ReleaseFontFinder();

    FcPattern* again = FcFontMatch(nullptr, pattern, &result);
    ASSERT_NE(again, nullptr) << "the default configuration still answers";
    EXPECT_NE(engine.Resolve("Times New Roman", fsBold).File, "") << "the finder starts again for a new name";
    FcPatternDestroy(again);
    FcPatternDestroy(held);
    FcPatternDestroy(pattern);
}

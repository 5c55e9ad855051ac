#include "desktop/Utf8.h"

#include <gtest/gtest.h>

namespace {

const std::string bad = "\xEF\xBF\xBD"; // U+FFFD

TEST(ValidUtf8, LeavesValidTextAsItIs)
{
    for (const std::string text : {"", "Velmora Skies", "Grüße – 音楽 Ω", "\xF0\x9F\x8E\xB5 \xF4\x8F\xBF\xBF"})
        EXPECT_EQ(ValidUtf8(text), text);
}

TEST(ValidUtf8, ReplacesEachBrokenSequenceOnce)
{
    EXPECT_EQ(ValidUtf8("\xFF\xFE.xm"), bad + bad + ".xm") << "bytes that lead nothing";
    EXPECT_EQ(ValidUtf8("a\x80z"), "a" + bad + "z") << "a stray continuation byte";
    EXPECT_EQ(ValidUtf8("Gr\xC3"), "Gr" + bad) << "cut at the end";
    EXPECT_EQ(ValidUtf8("\xE3\x81z"), bad + "z") << "cut before another character";
    EXPECT_EQ(ValidUtf8("Gr\xFC\xDF" "e"), "Gr" + bad + bad + "e") << "Latin-1";
}

TEST(ValidUtf8, RefusesFormsUtf8Forbids)
{
    EXPECT_EQ(ValidUtf8("\xC0\xAF"), bad + bad) << "an overlong slash";
    EXPECT_EQ(ValidUtf8("\xE0\x80\xAF"), bad + bad + bad) << "an overlong slash in three bytes";
    EXPECT_EQ(ValidUtf8("\xED\xA0\x80"), bad + bad + bad) << "a surrogate";
    EXPECT_EQ(ValidUtf8("\xF4\x90\x80\x80"), bad + bad + bad + bad) << "past U+10FFFF";
    EXPECT_EQ(ValidUtf8("\xF5\x80"), bad + bad);
}

} // namespace

#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/MessageForm.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int widestBox = 12 + 32 + 12 + 360 + 12; // margins, icon, text

class LongPathBox : public ::testing::Test {
protected:
    void SetUp() override { Application().InitializeHeadless(); }
    void TearDown() override
    {
        if (box)
            box->Free();
    }

    void Show(const std::string& path)
    {
        text = "Unable to load module " + path + ": not a module file the engine recognises";
        box = TComponent::Create<TMessageForm>(&Application(), text, "MIDAS Sound System Error", mbOk | mbIconError);
        box->Show();
    }

    // Whether the strip of the box's right margin above the button holds
    // nothing but the box's face: no text ran into it or past it.
    bool RightMarginIsClear()
    {
        const TPixmap& pixels = box->BackBuffer();
        const TPixel face = pixels.At(box->Width() - 1, 0);
        for (int y = 0; y < box->Height() - 12 - 23 - 12; ++y) {
            for (int x = box->Width() - 12; x < box->Width(); ++x) {
                if (pixels.At(x, y) != face)
                    return false;
            }
        }
        return true;
    }

    std::string text;
    TMessageForm* box = nullptr;
};

std::string Repeated(const std::string& part, int times)
{
    std::string whole;
    for (int i = 0; i < times; ++i)
        whole += part;
    return whole;
}

} // namespace

TEST_F(LongPathBox, APathWiderThanTheBoxGoesOnLinesThatFit)
{
    Show("/home/someone/" + Repeated("a-rather-long-folder-name/", 6) + "some-file-that-is-not-a-module.xm");
    EXPECT_LE(box->Width(), widestBox);
    EXPECT_TRUE(RightMarginIsClear());
    EXPECT_EQ(box->MessageText(), text);
    // Six folders of 26 characters take a few lines, not a dozen.
    EXPECT_LT(box->Height(), 200);
}

TEST_F(LongPathBox, APathWithoutSeparatorsIsBrokenWhereTheLineIsFull)
{
    Show("/" + Repeated("x", 300) + ".xm");
    EXPECT_LE(box->Width(), widestBox);
    EXPECT_TRUE(RightMarginIsClear());
}

TEST_F(LongPathBox, APathAsLongAsTheSystemAllowsStaysWithinTheScreen)
{
    Show(Repeated("/" + Repeated("folder", 20), 34)); // over 4,000 characters
    EXPECT_LE(box->Width(), widestBox);
    EXPECT_LE(box->Height(), Application().Platform().ScreenSize().Height);
    EXPECT_TRUE(RightMarginIsClear());
}

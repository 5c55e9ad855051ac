#include "OptionsTestSupport.h"

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

namespace {

// The names whose text is lit, as the window shows them: white strokes.
std::string LitNames(TfOptions& window)
{
    const TPixmap picture = window.Snapshot();
    std::string names;
    for (TLabel* name : {window.Label1, window.Label4, window.Label2, window.Label6}) {
        int white = 0;
        const TPoint o = name->WindowOrigin();
        for (int y = 0; y < name->Height(); ++y)
            for (int x = 0; x < name->Width(); ++x)
                white += (picture.At(o.X + x, o.Y + y) & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
        if (white > 10)
            names += name->Caption();
    }
    return names;
}

} // namespace

// The window's arrow keys: Left and Right (and Tab) choose a setting in
// reading order and light its name, Up and Down step it through the same
// list as its arrows, stopping at the ends; closing applies the result.
TEST_F(OptionsTest, ArrowKeysChooseASettingLightItsNameAndStepIt)
{
    TfOptions& window = OpenOptions();
    auto press = [&](std::uint16_t key, TShiftState shift = 0) {
        window.DispatchKeyDown(key, shift);
        window.DispatchKeyUp(key, shift);
    };
    EXPECT_EQ(LitNames(window), "") << "no name is lit before a key is used";

    press(vkUp);
    EXPECT_EQ(LitNames(window), "Mixrate:");
    press(vkUp);
    EXPECT_EQ(Texts(), (::Texts{"44100", "On", "On", "Less"})) << "up twice from 22050 stops at the last rate";

    press(vkRight);
    EXPECT_EQ(LitNames(window), "Stereo:");
    press(vkDown);
    press(vkRight);
    EXPECT_EQ(LitNames(window), "Filtermode:");
    press(vkUp);
    press(vkRight);
    EXPECT_EQ(LitNames(window), "16 Bit:");
    press(vkDown);
    EXPECT_EQ(Texts(), (::Texts{"44100", "Off", "Off", "More"}));

    press(vkRight);
    EXPECT_EQ(LitNames(window), "Mixrate:") << "Right after the last setting comes back to the first";
    press(vkLeft);
    EXPECT_EQ(LitNames(window), "16 Bit:");
    press(vkTab);
    EXPECT_EQ(LitNames(window), "Mixrate:");
    press(vkTab, ssShift);
    EXPECT_EQ(LitNames(window), "16 Bit:");
    press(vkLeft, ssCtrl);
    EXPECT_EQ(LitNames(window), "16 Bit:") << "a key with Ctrl is no choice";

    press(vkReturn);
    EXPECT_EQ(Settings(), (TSettings{44100, false, false, 2})) << "closing applies what the keys chose";
}

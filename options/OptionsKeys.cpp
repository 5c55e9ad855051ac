// The options window's keys. The spin buttons take no keys of their own, so
// the window's arrow keys work on one setting at a time: Left and Right (or
// Tab and Shift+Tab) choose it, in reading order, and light its name; Up and
// Down step it as its spin button's arrows do.

#include "options/Options.h"

#include <array>

namespace {

// A setting as the keys reach it: its name label, its spin button and the
// button's two handlers.
struct TKeyedSetting {
    TLabel* TfOptions::*Name;
    TSpinButton* TfOptions::*Arrows;
    void (TfOptions::*Up)(TObject*);
    void (TfOptions::*Down)(TObject*);
};

// Left to right, then the second row: the order the eye reads them in.
constexpr std::array<TKeyedSetting, 4> keyedSettings = {{
    {&TfOptions::Label1, &TfOptions::bMixrate, &TfOptions::bMixrateUpClick, &TfOptions::bMixrateDownClick},
    {&TfOptions::Label4, &TfOptions::bStereo, &TfOptions::bStereoUpClick, &TfOptions::bStereoDownClick},
    {&TfOptions::Label2, &TfOptions::bFilterMode, &TfOptions::bFilterModeUpClick, &TfOptions::bFilterModeDownClick},
    {&TfOptions::Label6, &TfOptions::b16Bit, &TfOptions::b16BitUpClick, &TfOptions::b16BitDownClick},
}};

constexpr TColor litName = clWhite;
constexpr TColor plainName = 1886207; // the gold of every label of the window

} // namespace

void TfOptions::SettingKeyDown(std::uint16_t& key, TShiftState shift)
{
    if (shift & (ssCtrl | ssAlt))
        return;
    const int count = static_cast<int>(keyedSettings.size());
    int chosen = keyedSetting_;
    switch (key) {
    case vkRight: chosen = chosen < 0 ? 0 : (chosen + 1) % count; break;
    case vkLeft: chosen = chosen < 0 ? 0 : (chosen + count - 1) % count; break;
    case vkTab:
        if (chosen < 0)
            chosen = 0;
        else
            chosen = (chosen + ((shift & ssShift) ? count - 1 : 1)) % count;
        break;
    case vkUp:
    case vkDown: chosen = chosen < 0 ? 0 : chosen; break;
    default: return;
    }
    // Until a key is used no name is lit: the mouse alone changes nothing
    // of the window's look.
    if (chosen != keyedSetting_) {
        if (keyedSetting_ >= 0)
            (this->*keyedSettings[static_cast<std::size_t>(keyedSetting_)].Name)->Font().SetColor(plainName);
        keyedSetting_ = chosen;
        (this->*keyedSettings[static_cast<std::size_t>(chosen)].Name)->Font().SetColor(litName);
    }
    const TKeyedSetting& setting = keyedSettings[static_cast<std::size_t>(chosen)];
    if (key == vkUp)
        (this->*setting.Up)(this->*setting.Arrows);
    else if (key == vkDown)
        (this->*setting.Down)(this->*setting.Arrows);
    key = 0;
}

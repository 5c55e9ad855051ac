#include "options/Options.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Application.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <span>
#include <string>
#include <string_view>

TfOptions* fOptions = nullptr;

namespace {

// The texts each setting steps through; "up" moves rightwards.
constexpr std::array<std::string_view, 3> mixRateTexts = {"11025", "22050", "44100"};
constexpr std::array<std::string_view, 3> filterModeTexts = {"None", "Less", "More"};
constexpr std::array<std::string_view, 2> switchTexts = {"Off", "On"};

enum class TStep { Down = -1, Up = 1 };

// Moves the label's text one place along the list. The comparison is exact;
// nothing wraps, and a text that isn't in the list stays as it is (a mix
// rate read from Sound.opt may be any number).
void StepText(TLabel& label, std::span<const std::string_view> texts, TStep step)
{
    auto it = std::find(texts.begin(), texts.end(), label.Caption());
    if (it == texts.end())
        return;
    auto index = std::distance(texts.begin(), it) + static_cast<int>(step);
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(texts.size()))
        return;
    label.SetCaption(std::string(texts[static_cast<std::size_t>(index)]));
}

const char* SwitchText(bool on)
{
    return on ? "On" : "Off";
}

const char* FilterModeText(std::uint8_t filterMode)
{
    switch (filterMode) {
    case 1: return "Less";
    case 2: return "More";
    default: return "None";
    }
}

std::uint8_t FilterModeOf(const std::string& text)
{
    if (text == "Less")
        return 1;
    if (text == "More")
        return 2;
    return 0;
}

// The label only ever holds a number that was read or one of the list's,
// so anything else is a fault worth stopping for.
std::int32_t MixRateOf(const std::string& text)
{
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

} // namespace

TfOptions::TfOptions(TComponent* owner, TPlayer& player) : TForm(owner), player_(player)
{
    RegisterHandler("FormCreate", &TfOptions::FormCreate);
    RegisterHandler("bApplicationMinimizeClick", &TfOptions::bApplicationMinimizeClick);
    RegisterHandler("bWindowCloseClick", &TfOptions::bWindowCloseClick);
    RegisterDragHandler("panMainMouseDown", &TfOptions::panMainMouseDown);
    RegisterHandler("panMainMouseMove", &TfOptions::panMainMouseMove);
    RegisterHandler("panMainMouseUp", &TfOptions::panMainMouseUp);
    RegisterHandler("bMixrateUpClick", &TfOptions::bMixrateUpClick);
    RegisterHandler("bMixrateDownClick", &TfOptions::bMixrateDownClick);
    RegisterHandler("bFilterModeUpClick", &TfOptions::bFilterModeUpClick);
    RegisterHandler("bFilterModeDownClick", &TfOptions::bFilterModeDownClick);
    RegisterHandler("bStereoUpClick", &TfOptions::bStereoUpClick);
    RegisterHandler("bStereoDownClick", &TfOptions::bStereoDownClick);
    RegisterHandler("b16BitUpClick", &TfOptions::b16BitUpClick);
    RegisterHandler("b16BitDownClick", &TfOptions::b16BitDownClick);
    LoadLayout("Options.layout");

    panMain = LayoutComponent<TPanel>("panMain");
    bMixrate = LayoutComponent<TSpinButton>("bMixrate");
    lMixrate = LayoutComponent<TLabel>("lMixrate");
    Label1 = LayoutComponent<TLabel>("Label1");
    Label2 = LayoutComponent<TLabel>("Label2");
    bFilterMode = LayoutComponent<TSpinButton>("bFilterMode");
    lFilterMode = LayoutComponent<TLabel>("lFilterMode");
    Label4 = LayoutComponent<TLabel>("Label4");
    bStereo = LayoutComponent<TSpinButton>("bStereo");
    lStereo = LayoutComponent<TLabel>("lStereo");
    Label6 = LayoutComponent<TLabel>("Label6");
    b16Bit = LayoutComponent<TSpinButton>("b16Bit");
    l16Bit = LayoutComponent<TLabel>("l16Bit");
    bApplicationMinimize = LayoutComponent<TSpeedButton>("bApplicationMinimize");
    bWindowClose = LayoutComponent<TSpeedButton>("bWindowClose");
}

void TfOptions::FormCreate(TObject*)
{
    const TSoundSettings settings = player_.Settings();
    lMixrate->SetCaption(std::to_string(settings.MixRate));
    lStereo->SetCaption(SwitchText(settings.Stereo));
    l16Bit->SetCaption(SwitchText(settings.Bits16));
    lFilterMode->SetCaption(FilterModeText(settings.FilterMode));
}

void TfOptions::bApplicationMinimizeClick(TObject*)
{
    Application().Minimize();
}

void TfOptions::bWindowCloseClick(TObject*)
{
    TSoundSettings settings = player_.Settings();
    settings.MixRate = MixRateOf(lMixrate->Caption());
    settings.Stereo = lStereo->Caption() == "On";
    settings.Bits16 = l16Bit->Caption() == "On";
    settings.FilterMode = FilterModeOf(lFilterMode->Caption());
    // Unchanged settings restart the engine too.
    player_.ApplySettings(settings);
    Close();
}

void TfOptions::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TForm::KeyDown(key, shift);
    SettingKeyDown(key, shift);
    if (key == vkEscape || key == vkReturn) {
        key = 0;
        bWindowCloseClick(bWindowClose);
    }
}

void TfOptions::panMainMouseDown(TObject*, TMouseButton button, TShiftState, int X, int Y)
{
    Drag.MouseDown(button, X, Y);
}

void TfOptions::panMainMouseMove(TObject*, TShiftState, int X, int Y)
{
    // The window moves through its global, which is the window itself.
    Drag.MouseMove(*fOptions, X, Y);
}

void TfOptions::panMainMouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    Drag.MouseUp();
}

void TfOptions::bMixrateUpClick(TObject*)
{
    StepText(*lMixrate, mixRateTexts, TStep::Up);
}

void TfOptions::bMixrateDownClick(TObject*)
{
    StepText(*lMixrate, mixRateTexts, TStep::Down);
}

void TfOptions::bFilterModeUpClick(TObject*)
{
    StepText(*lFilterMode, filterModeTexts, TStep::Up);
}

void TfOptions::bFilterModeDownClick(TObject*)
{
    StepText(*lFilterMode, filterModeTexts, TStep::Down);
}

void TfOptions::bStereoUpClick(TObject*)
{
    StepText(*lStereo, switchTexts, TStep::Up);
}

void TfOptions::bStereoDownClick(TObject*)
{
    StepText(*lStereo, switchTexts, TStep::Down);
}

void TfOptions::b16BitUpClick(TObject*)
{
    StepText(*l16Bit, switchTexts, TStep::Up);
}

void TfOptions::b16BitDownClick(TObject*)
{
    StepText(*l16Bit, switchTexts, TStep::Down);
}

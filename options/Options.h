#pragma once

#include "controls/Spin.h"
#include "player/Player.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/Image.h"
#include "toolkit/windowing/Panel.h"
#include "toolkit/windowing/SpeedButton.h"
#include "toolkit/windowing/WindowDrag.h"

#include <cstdint>

// The small borderless window that shows the four sound settings as texts
// (mix rate, filter mode, stereo, 16 bit), steps them through short fixed
// lists with spin buttons, and hands them to the player when its close
// glyph is clicked. There is no cancel: closing always applies. The pending
// choice lives only in the four value labels.
class TfOptions : public TForm {
public:
    // The player must outlive the window: both end with the program.
    TfOptions(TComponent* owner, TPlayer& player);
    const char* ClassName() const override { return "TfOptions"; }

    // Components, in declaration order.
    TPanel* panMain = nullptr;
    TSpinButton* bMixrate = nullptr;
    TLabel* lMixrate = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TSpinButton* bFilterMode = nullptr;
    TLabel* lFilterMode = nullptr;
    TLabel* Label4 = nullptr;
    TSpinButton* bStereo = nullptr;
    TLabel* lStereo = nullptr;
    TLabel* Label6 = nullptr;
    TSpinButton* b16Bit = nullptr;
    TLabel* l16Bit = nullptr;
    TSpeedButton* bApplicationMinimize = nullptr;
    TSpeedButton* bWindowClose = nullptr;

    // Handlers bound by the window layout.
    void FormCreate(TObject* sender);
    void bApplicationMinimizeClick(TObject* sender);
    void bWindowCloseClick(TObject* sender);
    void panMainMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int X, int Y);
    void panMainMouseMove(TObject* sender, TShiftState shift, int X, int Y);
    void panMainMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int X, int Y);
    void bMixrateUpClick(TObject* sender);
    void bMixrateDownClick(TObject* sender);
    void bFilterModeUpClick(TObject* sender);
    void bFilterModeDownClick(TObject* sender);
    void bStereoUpClick(TObject* sender);
    void bStereoDownClick(TObject* sender);
    void b16BitUpClick(TObject* sender);
    void b16BitDownClick(TObject* sender);

    bool IsDragging() const { return Drag.Dragging; }

protected:
    // Escape and Enter close the window as its close glyph does.
    void KeyDown(std::uint16_t& key, TShiftState shift) override;

private:
    // The arrow keys (options/OptionsKeys.cpp): Left, Right and Tab choose
    // a setting and light its name, Up and Down step it; key is 0 when
    // taken.
    void SettingKeyDown(std::uint16_t& key, TShiftState shift);

    TWindowDrag Drag;
    TPlayer& player_;
    int keyedSetting_ = -1; // the setting the keys change, 0..3; none yet
};

// The options window on screen: the one made at start-up (hidden, never
// shown) until the options button replaces it with each window it opens.
extern TfOptions* fOptions;

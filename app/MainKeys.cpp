// The main window's keys: each stands for one of its buttons or glyphs.

#include "app/Main.h"

#include "toolkit/windowing/Application.h"

TautoButton* TfMain::ButtonForKey(std::uint16_t key) const
{
    switch (key) {
    case '1': return bSong1;
    case '2': return bSong2;
    case '3': return bSong3;
    case '4': return bSong4;
    case '5': return bSong5;
    case VK_SPACE:
    case 'S': return bControlStop;
    case VK_LEFT:
    case VK_OEM_COMMA: return bControlRew;
    case VK_RIGHT:
    case VK_OEM_PERIOD: return bControlFF;
    case 'O': return bOptions;
    default: return nullptr;
    }
}

void TfMain::FormKeyDown(TObject*, std::uint16_t& key, TShiftState shift)
{
    if (shift & (ssCtrl | ssAlt))
        return;
    // A button's key holds it down as the mouse would, until the key is let
    // go; a held key repeating presses nothing more.
    if (TautoButton* button = ButtonForKey(key)) {
        if (!KeyHeld) {
            KeyHeld = button;
            button->KeyPress();
        }
        return;
    }
    switch (key) {
    case 'M': bApplicationMinimizeClick(bApplicationMinimize); break;
    case VK_ESCAPE:
    case 'Q': bApplicationCloseClick(bApplicationClose); break;
    default: break;
    }
}

void TfMain::FormKeyUp(TObject*, std::uint16_t& key, TShiftState)
{
    TautoButton* button = ButtonForKey(key);
    if (!button || button != KeyHeld)
        return;
    KeyHeld = nullptr;
    button->KeyRelease();
}

// The main window's keys and wheel: most keys stand for one of its buttons
// or glyphs; the rest go to the player as a desktop player's keys do.

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
    case 'S': return bControlStop;
    case vkLeft:
    case vkOemComma: return bControlRew;
    case vkRight:
    case vkOemPeriod: return bControlFF;
    case 'O': return bOptions;
    default: return nullptr;
    }
}

bool TfMain::PlayerKey(std::uint16_t key)
{
    switch (key) {
    case vkSpace:
    case vkMediaPlayPause:
        // A held key repeats: one press is one switch.
        if (key != toggleKeyHeld_)
            player_->PlayPause();
        toggleKeyHeld_ = key;
        return true;
    case vkMediaStop: bControlStopClick(bControlStop); return true;
    case vkMediaNextTrack: player_->Next(); return true;
    case vkMediaPrevTrack: player_->Previous(); return true;
    case vkOemPlus:
    case vkAdd:
    case vkVolumeUp: player_->ChangeVolume(TPlayer::VolumeStep); return true;
    case vkOemMinus:
    case vkSubtract:
    case vkVolumeDown: player_->ChangeVolume(-TPlayer::VolumeStep); return true;
    case vkVolumeMute: player_->ToggleMute(); return true;
    default: return false;
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
    if (player_ && PlayerKey(key))
        return;
    switch (key) {
    case 'M': bApplicationMinimizeClick(bApplicationMinimize); break;
    case vkEscape:
    case 'Q': bApplicationCloseClick(bApplicationClose); break;
    default: break;
    }
}

void TfMain::FormKeyUp(TObject*, std::uint16_t& key, TShiftState)
{
    if (key == toggleKeyHeld_)
        toggleKeyHeld_ = 0;
    TautoButton* button = ButtonForKey(key);
    if (!button || button != KeyHeld)
        return;
    KeyHeld = nullptr;
    button->KeyRelease();
}

void TfMain::FormMouseWheel(TObject*, int notches, TShiftState)
{
    if (player_)
        player_->ChangeVolume(notches * TPlayer::VolumeStep);
}

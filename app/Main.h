#pragma once

#include "app/InfoScript.h"
#include "controls/Autobtn.h"
#include "controls/Gauges.h"
#include "controls/Lmdlabel.h"
#include "controls/filedrag.h"
#include "player/Player.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/Image.h"
#include "toolkit/windowing/Panel.h"
#include "toolkit/windowing/SpeedButton.h"
#include "toolkit/windowing/Timer.h"
#include "toolkit/windowing/WindowDrag.h"

#include <array>
#include <cstdint>
#include <string>

// The disc's borderless main window: five song buttons in a staircase, the
// transport, the song-position gauge, the rotated info caption, a star that
// twinkles now and then, and files dropped from the desktop. It owns the
// player, sends it what the user asks, and shows what it tells.
class TfMain : public TForm, private TPlayerListener {
public:
    explicit TfMain(TComponent* owner);
    ~TfMain() override;
    const char* ClassName() const override { return "TfMain"; }

    // Components, in declaration order.
    TPanel* panMain = nullptr;
    TautoButton* bSong1 = nullptr;
    TautoButton* bSong2 = nullptr;
    TautoButton* bSong3 = nullptr;
    TautoButton* bSong4 = nullptr;
    TautoButton* bSong5 = nullptr;
    TautoButton* bControlRew = nullptr;
    TautoButton* bControlStop = nullptr;
    TautoButton* bControlFF = nullptr;
    TTimer* timerUpdate = nullptr;
    TautoButton* bOptions = nullptr;
    TLMDLabel* lInfo = nullptr;
    TSpeedButton* bApplicationMinimize = nullptr;
    TSpeedButton* bApplicationClose = nullptr;
    TPanel* panGauge = nullptr;
    TGauge* gSongPos = nullptr;
    TImage* imgVerzierung2 = nullptr;
    TFileDrag* FileDrag = nullptr;
    TImage* imgStar = nullptr;
    std::array<TImage*, 8> imgStarFrames{}; // imgStar0 to imgStar7

    // Handlers bound by the window layout.
    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void panMainMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int X, int Y);
    void panMainMouseMove(TObject* sender, TShiftState shift, int X, int Y);
    void panMainMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int X, int Y);
    void bApplicationMinimizeClick(TObject* sender);
    void bApplicationCloseClick(TObject* sender);
    void bSong1Click(TObject* sender);
    void bSong2Click(TObject* sender);
    void bSong3Click(TObject* sender);
    void bSong4Click(TObject* sender);
    void bSong5Click(TObject* sender);
    void bControlStopClick(TObject* sender);
    void bControlRewClick(TObject* sender);
    void bControlFFClick(TObject* sender);
    void FileDragDrop(TObject* sender);
    void timerUpdateTimer(TObject* sender);
    void bOptionsClick(TObject* sender);
    // Keys of the window, bound in code: 1 to 5 the songs, Space pause and
    // resume, S stop, Left or "," rewind, Right or "." fast-forward, + and -
    // the volume, O the options, M minimise, Escape or Q close, and the
    // keyboard's media keys.
    void FormKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift);
    void FormKeyUp(TObject* sender, std::uint16_t& key, TShiftState shift);
    // The wheel over the window sets the volume.
    void FormMouseWheel(TObject* sender, int notches, TShiftState shift);

    // The player; null before creation step 7 and after closing.
    TPlayer* Player() const { return player_; }

private:
    // What the player tells.
    void TrackChanged(const TTrack& track) override;
    void StateChanged(TPlaybackState state) override;
    void Failed(const std::string& message, bool engineFailure) override;
    void PlayerGone() override;

    // The lit song button follows the player: the song that plays or is
    // paused, none after a stop or for a file.
    void ShowPlayingSong();
    void SelectSongButton(TautoButton* button);
    void ResetGauge();
    void InfoScriptStep();
    void StarTwinkle();
    TautoButton* ButtonForKey(std::uint16_t key) const;
    // What a key does beyond pressing a button; false when it does nothing.
    bool PlayerKey(std::uint16_t key);

    std::string ProgramDir;
    std::int32_t InfoIndex = 0;
    std::uint8_t InfoWait = 0;
    TInfoScript InfoScript;
    bool StarActive = false;
    std::int32_t StarStep = 0;
    TWindowDrag Drag; // Dragging, DragX, DragY
    TPlayer* player_ = nullptr;
    TautoButton* KeyHeld = nullptr;   // the button whose key is down
    std::uint16_t toggleKeyHeld_ = 0; // the pause key, while it is down

    friend struct TfMainProbe; // tests read the private state
};

// The main window, named before its creation handler runs.
extern TfMain* fMain;

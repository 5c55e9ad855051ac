#include "app/Main.h"

#include "app/ProgramPaths.h"
#include "app/Random.h"
#include "options/Options.h"
#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Application.h"

TfMain* fMain = nullptr;

TfMain::TfMain(TComponent* owner) : TForm(owner)
{
    RegisterHandler("FormCreate", &TfMain::FormCreate);
    RegisterHandler("FormClose", &TfMain::FormClose);
    RegisterDragHandler("panMainMouseDown", &TfMain::panMainMouseDown);
    RegisterHandler("panMainMouseMove", &TfMain::panMainMouseMove);
    RegisterHandler("panMainMouseUp", &TfMain::panMainMouseUp);
    RegisterHandler("bApplicationMinimizeClick", &TfMain::bApplicationMinimizeClick);
    RegisterHandler("bApplicationCloseClick", &TfMain::bApplicationCloseClick);
    RegisterHandler("bSong1Click", &TfMain::bSong1Click);
    RegisterHandler("bSong2Click", &TfMain::bSong2Click);
    RegisterHandler("bSong3Click", &TfMain::bSong3Click);
    RegisterHandler("bSong4Click", &TfMain::bSong4Click);
    RegisterHandler("bSong5Click", &TfMain::bSong5Click);
    RegisterHandler("bControlStopClick", &TfMain::bControlStopClick);
    RegisterHandler("bControlRewClick", &TfMain::bControlRewClick);
    RegisterHandler("bControlFFClick", &TfMain::bControlFFClick);
    RegisterHandler("FileDragDrop", &TfMain::FileDragDrop);
    RegisterHandler("timerUpdateTimer", &TfMain::timerUpdateTimer);
    RegisterHandler("bOptionsClick", &TfMain::bOptionsClick);
    LoadLayout("Main.layout");

    panMain = LayoutComponent<TPanel>("panMain");
    bSong1 = LayoutComponent<TautoButton>("bSong1");
    bSong2 = LayoutComponent<TautoButton>("bSong2");
    bSong3 = LayoutComponent<TautoButton>("bSong3");
    bSong4 = LayoutComponent<TautoButton>("bSong4");
    bSong5 = LayoutComponent<TautoButton>("bSong5");
    bControlRew = LayoutComponent<TautoButton>("bControlRew");
    bControlStop = LayoutComponent<TautoButton>("bControlStop");
    bControlFF = LayoutComponent<TautoButton>("bControlFF");
    timerUpdate = LayoutComponent<TTimer>("timerUpdate");
    bOptions = LayoutComponent<TautoButton>("bOptions");
    lInfo = LayoutComponent<TLMDLabel>("lInfo");
    bApplicationMinimize = LayoutComponent<TSpeedButton>("bApplicationMinimize");
    bApplicationClose = LayoutComponent<TSpeedButton>("bApplicationClose");
    panGauge = LayoutComponent<TPanel>("panGauge");
    gSongPos = LayoutComponent<TGauge>("gSongPos");
    imgVerzierung2 = LayoutComponent<TImage>("imgVerzierung2");
    FileDrag = LayoutComponent<TFileDrag>("FileDrag");
    imgStar = LayoutComponent<TImage>("imgStar");
    for (std::size_t frame = 0; frame < imgStarFrames.size(); ++frame)
        imgStarFrames[frame] = LayoutComponent<TImage>("imgStar" + std::to_string(frame));
    OnKeyDown = [this](TObject* sender, std::uint16_t& key, TShiftState shift) { FormKeyDown(sender, key, shift); };
    OnKeyUp = [this](TObject* sender, std::uint16_t& key, TShiftState shift) { FormKeyUp(sender, key, shift); };
    OnMouseWheel = [this](TObject* sender, int notches, TShiftState shift) { FormMouseWheel(sender, notches, shift); };
}

TfMain::~TfMain()
{
    // The player may outlive this part of the window: it goes with the
    // window's components, after it.
    if (player_)
        player_->RemoveListener(*this);
}

void TfMain::FormCreate(TObject*)
{
    ProgramDir = DirectoryOf(Application().ExeName());
    FileDrag->SetEnableDrop(true);
    lInfo->SetCaption("");
    InfoIndex = 0;
    InfoWait = 0;
    StarActive = false;
    StarStep = 0;
    ProgramRandom().Randomize();
    InfoScript = BuildInfoScript();
    // The window holds the player before the engine starts, so that an
    // ending while it starts still stores the settings.
    player_ = TComponent::Create<TPlayer>(this, ProgramDir, SettingsDirectoryFor(ProgramDir));
    player_->AddListener(*this);
    player_->Start();
}

void TfMain::FormClose(TObject*, TCloseAction&)
{
    if (player_)
        player_->Free();
}

void TfMain::panMainMouseDown(TObject*, TMouseButton button, TShiftState, int X, int Y)
{
    Drag.MouseDown(button, X, Y);
}

void TfMain::panMainMouseMove(TObject*, TShiftState, int X, int Y)
{
    // The window moves through its global, which is the window itself.
    Drag.MouseMove(*fMain, X, Y);
}

void TfMain::panMainMouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    Drag.MouseUp();
}

void TfMain::bApplicationMinimizeClick(TObject*)
{
    Application().Minimize();
}

void TfMain::bApplicationCloseClick(TObject*)
{
    Close();
}

void TfMain::bOptionsClick(TObject*)
{
    if (!player_)
        return;
    // A fresh window each time, so it shows the settings of this moment.
    fOptions = TComponent::Create<TfOptions>(&Application(), *player_);
    fOptions->DoCreate();
    fOptions->ShowModal();
    fOptions->Release();
}

#include "app/Main.h"

#include "app/Random.h"
#include "options/Options.h"
#include "sound/MidasSoundClass.h"
#include "toolkit/Application.h"
#include "toolkit/Exceptions.h"

TfMain* fMain = nullptr;

std::string DirectoryOf(const std::string& programPath)
{
    auto last = programPath.find_last_of("/\\:");
    return last == std::string::npos ? std::string() : programPath.substr(0, last + 1);
}

namespace {

template <typename T>
T* Bound(TForm& form, const std::string& name)
{
    auto* component = dynamic_cast<T*>(form.FindComponent(name));
    if (!component)
        throw EInvalidOperation("The main window's layout lacks " + name);
    return component;
}

} // namespace

TfMain::TfMain(TComponent* owner) : TForm(owner)
{
    RegisterHandler("FormCreate", &TfMain::FormCreate);
    RegisterHandler("FormClose", &TfMain::FormClose);
    RegisterHandler("panMainMouseDown", &TfMain::panMainMouseDown);
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

    panMain = Bound<TPanel>(*this, "panMain");
    bSong1 = Bound<TautoButton>(*this, "bSong1");
    bSong2 = Bound<TautoButton>(*this, "bSong2");
    bSong3 = Bound<TautoButton>(*this, "bSong3");
    bSong4 = Bound<TautoButton>(*this, "bSong4");
    bSong5 = Bound<TautoButton>(*this, "bSong5");
    bControlRew = Bound<TautoButton>(*this, "bControlRew");
    bControlStop = Bound<TautoButton>(*this, "bControlStop");
    bControlFF = Bound<TautoButton>(*this, "bControlFF");
    timerUpdate = Bound<TTimer>(*this, "timerUpdate");
    bOptions = Bound<TautoButton>(*this, "bOptions");
    lInfo = Bound<TLMDLabel>(*this, "lInfo");
    bApplicationMinimize = Bound<TSpeedButton>(*this, "bApplicationMinimize");
    bApplicationClose = Bound<TSpeedButton>(*this, "bApplicationClose");
    panGauge = Bound<TPanel>(*this, "panGauge");
    gSongPos = Bound<TGauge>(*this, "gSongPos");
    imgVerzierung2 = Bound<TImage>(*this, "imgVerzierung2");
    FileDrag = Bound<TFileDrag>(*this, "FileDrag");
    imgStar = Bound<TImage>(*this, "imgStar");
    for (std::size_t frame = 0; frame < imgStarFrames.size(); ++frame)
        imgStarFrames[frame] = Bound<TImage>(*this, "imgStar" + std::to_string(frame));
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
    Sound = TComponent::Create<TMidasSound>(this, ProgramDir);
}

void TfMain::FormClose(TObject*, TCloseAction&)
{
    if (Sound) {
        Sound->Free();
        Sound = nullptr;
    }
}

void TfMain::panMainMouseDown(TObject*, TMouseButton button, TShiftState, int X, int Y)
{
    if (button != TMouseButton::mbLeft)
        return;
    Dragging = true;
    DragX = X;
    DragY = Y;
}

void TfMain::panMainMouseMove(TObject*, TShiftState, int X, int Y)
{
    if (!Dragging)
        return;
    // Both edges are read first; the pressed control moves with the window,
    // so the point under the pointer stays the one that was pressed.
    int left = fMain->Left();
    int top = fMain->Top();
    fMain->SetLeft(left + (X - DragX));
    fMain->SetTop(top + (Y - DragY));
}

void TfMain::panMainMouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    Dragging = false;
}

void TfMain::bApplicationMinimizeClick(TObject*)
{
    if (!Application().IsMinimized())
        Application().Minimize();
}

void TfMain::bApplicationCloseClick(TObject*)
{
    Close();
}

void TfMain::bOptionsClick(TObject*)
{
    // A fresh window each time, so it shows the settings of this moment.
    fOptions = TComponent::Create<TfOptions>(&Application());
    fOptions->DoCreate();
    fOptions->ShowModal();
    fOptions->Release();
}

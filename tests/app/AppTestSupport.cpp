#include "AppTestSupport.h"

#include "controls/SkinControls.h"
#include "toolkit/windowing/Application.h"
#include "tools/modwriter/ModuleWriter.h"

#include <fstream>

void MainWindowTest::SetUp()
{
    Application().InitializeHeadless();
    RegisterSkinControls();
    Application().MessageBoxHook = [this](const std::string& text, const std::string& caption, unsigned) {
        messages.push_back(caption + ": " + text);
        return 1;
    };
    auto scripted = std::make_unique<TScriptedRandom>();
    random = scripted.get();
    SetProgramRandom(std::move(scripted));
    folder = std::filesystem::temp_directory_path() /
        ("velmora-app-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (int song = 1; song <= 5; ++song)
        WriteFile("song" + std::to_string(song) + ".xm", SlowModule(song + 3));
    Application().SetExeName((folder / "velmora").string());
    Application().CreateForm(fMain);
    window = fMain;
    window->Show();
}

void MainWindowTest::TearDown()
{
    Application().DestroyForms();
    fMain = nullptr;
    Application().MessageBoxHook = nullptr;
    Application().SetExeName("");
    SetProgramRandom(std::make_unique<TRandom>());
    std::filesystem::remove_all(folder);
}

void MainWindowTest::Settle()
{
    if (window && window->Player())
        window->Player()->Settle();
}

void MainWindowTest::Tick(int count)
{
    Settle();
    Application().AdvanceTime(static_cast<std::uint64_t>(250 * count));
}

void MainWindowTest::ClickAt(int x, int y)
{
    window->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, x, y);
    window->DispatchMouseUp(TMouseButton::mbLeft, 0, x, y);
    Settle();
}

void MainWindowTest::ClickOn(TControl& control)
{
    TPoint centre = control.WindowOrigin() + TPoint{control.Width() / 2, control.Height() / 2};
    ClickAt(centre.X, centre.Y);
}

std::string MainWindowTest::WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    auto path = folder / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::vector<int> MainWindowTest::ButtonStates()
{
    std::vector<int> states;
    for (TautoButton* button : {window->bSong1, window->bSong2, window->bSong3, window->bSong4, window->bSong5})
        states.push_back(button->DisplayState());
    return states;
}

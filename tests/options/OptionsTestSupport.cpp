#include "OptionsTestSupport.h"

#include "controls/SkinControls.h"
#include "controls/Spin.h"
#include "toolkit/windowing/Application.h"
#include "tools/modwriter/ModuleWriter.h"

#include <fstream>
#include <ostream>

void PrintTo(const TSettings& settings, std::ostream* out)
{
    *out << "{" << settings.MixRate << ", " << settings.Stereo << ", " << settings.Bits16 << ", "
         << int(settings.FilterMode) << "}";
}

void OptionsTest::SetUp()
{
    Application().InitializeHeadless();
    RegisterSkinControls();
    RegisterSpin();
    Application().MessageBoxHook = [this](const std::string& text, const std::string& caption, unsigned) {
        messages.push_back(caption + ": " + text);
        return 1;
    };
    folder = std::filesystem::temp_directory_path() /
        ("velmora-options-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Application().SetExeName((folder / "velmora").string());
    StartPlayer("");
}

void OptionsTest::TearDown()
{
    Application().DestroyForms();
    fMain = nullptr;
    fOptions = nullptr;
    Application().MessageBoxHook = nullptr;
    Application().SetExeName("");
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(messages.empty()) << messages.front();
}

void OptionsTest::StartPlayer(const std::string& soundOpt)
{
    // The main window's player reads Sound.opt as the window is made. One
    // engine at a time: the old window's player closes it first, storing its
    // settings on the way out, so the test's file is written after that.
    if (fMain)
        fMain->Free();
    fMain = nullptr;
    std::filesystem::remove(folder / "Sound.opt");
    if (!soundOpt.empty())
        std::ofstream(folder / "Sound.opt") << soundOpt;
    Application().CreateForm(fMain);
    fMain->Show();
}

TfOptions& OptionsTest::OpenOptions()
{
    fOptions = TComponent::Create<TfOptions>(&Application(), Player());
    fOptions->DoCreate();
    options = fOptions;
    return *options;
}

TPlayer& OptionsTest::Player()
{
    return *fMain->Player();
}

TSettings OptionsTest::Settings()
{
    const TSoundSettings settings = Player().Settings();
    return {settings.MixRate, settings.Stereo, settings.Bits16, settings.FilterMode};
}

std::vector<std::string> OptionsTest::Texts()
{
    return {options->lMixrate->Caption(), options->lStereo->Caption(), options->l16Bit->Caption(),
        options->lFilterMode->Caption()};
}

void OptionsTest::Click(TControl& control)
{
    TPoint p = control.WindowOrigin() + TPoint{control.Width() / 2, control.Height() / 2};
    options->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, p.X, p.Y);
    options->DispatchMouseUp(TMouseButton::mbLeft, 0, p.X, p.Y);
    Settle();
}

void OptionsTest::Settle()
{
    if (fMain && fMain->Player())
        fMain->Player()->Settle();
}

void OptionsTest::ClickOnMain(TControl& control)
{
    TPoint p = control.WindowOrigin() + TPoint{control.Width() / 2, control.Height() / 2};
    fMain->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, p.X, p.Y);
    fMain->DispatchMouseUp(TMouseButton::mbLeft, 0, p.X, p.Y);
    Settle();
}

void OptionsTest::ClickUp(TSpinButton& spin)
{
    Click(*spin.UpButton());
}

void OptionsTest::ClickDown(TSpinButton& spin)
{
    Click(*spin.DownButton());
}

std::string OptionsTest::WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    auto path = folder / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

#include "OptionsTestSupport.h"

#include "controls/SkinControls.h"
#include "controls/Spin.h"
#include "sound/MidasSoundClass.h"
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
    Application().CreateForm(fMain);
    fMain->Show();
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
    TMidasSound*& sound = TfMainProbe::Sound(*fMain);
    // One engine at a time: the old player closes it before the new one
    // starts. It stores its settings on the way out, so the test's file is
    // written after that.
    if (sound)
        sound->Free();
    sound = nullptr;
    std::filesystem::remove(folder / "Sound.opt");
    if (!soundOpt.empty())
        std::ofstream(folder / "Sound.opt") << soundOpt;
    sound = TComponent::Create<TMidasSound>(fMain, folder.string() + "/");
}

TfOptions& OptionsTest::OpenOptions()
{
    fOptions = TComponent::Create<TfOptions>(&Application());
    fOptions->DoCreate();
    options = fOptions;
    return *options;
}

TMidasSound& OptionsTest::Sound()
{
    return *fMain->GetSound();
}

TSettings OptionsTest::Settings()
{
    TSettings settings;
    Sound().GetSettings(settings.MixRate, settings.Stereo, settings.Bits16, settings.FilterMode);
    return settings;
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

#include "AppTestSupport.h"
#include "tests/support/Environment.h"
#include "tests/support/NewFileText.h"

#include "controls/SkinControls.h"
#include "toolkit/windowing/Application.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string Contents(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

// Without a sound device the player never comes to be: the failure's box
// runs the message loop, whose timer ticks must not reach for it, and the
// program then ends, storing the settings it read.
TEST(PlayerGone, NoSoundDeviceShowsTheBoxWhileTimersTickThenEndsAndStoresTheSettings)
{
    const auto folder = std::filesystem::temp_directory_path() / "velmora-app-no-device";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Sound.opt") << "[Sound]\nMixrate=44100\n";
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const std::string previousDriver = driver ? driver : "";
    SetEnvironment("SDL_AUDIODRIVER", "nosuchdriver");

    Application().InitializeHeadless();
    Application().SetExeName((folder / "velmora").string());
    RegisterSkinControls();
    std::vector<std::string> boxes;
    std::int32_t infoRowsDuringTheBox = 0;
    Application().MessageBoxHook = [&](const std::string& text, const std::string& caption, unsigned) {
        boxes.push_back(caption + ": " + text);
        Application().AdvanceTime(5000); // the user takes a while to read it
        infoRowsDuringTheBox = TfMainProbe::InfoIndex(*fMain);
        return idOk;
    };
    // The sound starts on its own thread: the window is up before the box.
    Application().CreateForm(fMain);
    EXPECT_THROW(fMain->Player()->Settle(), TApplicationHalt);
    Application().DestroyForms();
    fMain = nullptr;
    Application().MessageBoxHook = nullptr;
    Application().SetExeName("");
    SetEnvironment("SDL_AUDIODRIVER", previousDriver.c_str());

    EXPECT_GT(infoRowsDuringTheBox, 0) << "the timer ticked while the box was up";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("MIDAS Sound System Error: No sound output device could be opened", 0), 0u) << boxes[0];
    EXPECT_EQ(
        Contents(folder / "Sound.opt"), AsNewFile("[Sound]\nMixrate=44100\nStereo=1\n16 Bit=1\nFilter Mode=1\nVolume=100\n"));
    std::filesystem::remove_all(folder);
}

// Clicks and drops that waited in the queue while the window closed find
// the player gone and do nothing.
TEST_F(MainWindowTest, InputQueuedBehindTheCloseFindsThePlayerGone)
{
    ClickOn(*window->bSong2);
    window->Close();
    ASSERT_EQ(window->Player(), nullptr);
    for (TControl* control : std::initializer_list<TControl*>{
             window->bSong1, window->bControlStop, window->bControlRew, window->bControlFF, window->bOptions})
        ClickOn(*control);
    window->DispatchDropFiles({WriteFile("late.xm", SlowModule(2))});
    window->timerUpdateTimer(window->timerUpdate);
    EXPECT_TRUE(messages.empty());
}

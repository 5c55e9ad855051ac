// The program's entry: the command line, the application object, the main
// window, the message loop, and the orderly ending with exit code 0.

#include "app/DesktopSession.h"
#include "app/Main.h"
#include "controls/SkinControls.h"
#include "options/Options.h"
#include "toolkit/graphics/Utf8Path.h"
#include "toolkit/windowing/Application.h"

// On Windows, SDL's own entry takes the command line, as UTF-8, and calls
// main.
#include <SDL_main.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* usage = "Usage: velmora [FILE]\n"
                              "Velmora, VYR's first music disc: five songs, and any MOD, S3M or XM module\n"
                              "given as FILE (or dropped on the window) played instead.\n"
                              "\n"
                              "  -h, --help  show this text and end\n"
                              "  --version   show the version and end\n"
                              "\n"
                              "VELMORA_SCALE=1..4 shows the windows that many times larger.\n";

struct TCommandLine {
    std::vector<std::string> Files;
    std::optional<int> ExitAt; // set when the program ends before it starts
};

TCommandLine ReadCommandLine(int argc, char** argv)
{
    TCommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(usage, stdout);
            line.ExitAt = 0;
        } else if (argument == "--version") {
            std::printf("velmora %s\n", VELMORA_VERSION);
            line.ExitAt = 0;
        } else if (argument.starts_with("-") && argument != "-") {
            std::fprintf(stderr, "velmora: unknown option %s\n%s", argv[i], usage);
            line.ExitAt = 2;
        } else {
            // A file manager's path may be relative to where it started us.
            line.Files.push_back(Utf8Of(std::filesystem::absolute(PathOf(argv[i]))));
        }
        if (line.ExitAt)
            break;
    }
    return line;
}

// The main window's size, which every scale must leave on the screen so
// that its close glyph stays within reach.
constexpr TSize mainWindowSize{370, 214};

// VELMORA_SCALE, when it holds a whole number from 1 to 4.
std::optional<int> RequestedScale()
{
    const char* text = std::getenv("VELMORA_SCALE");
    if (!text || !*text)
        return std::nullopt;
    const std::string_view value = text;
    if (value.size() != 1 || value[0] < '1' || value[0] > '4') {
        std::fprintf(stderr, "velmora: VELMORA_SCALE=%s is no scale from 1 to 4; the screen decides\n", text);
        return std::nullopt;
    }
    return value[0] - '0';
}

// Says so when the scale asked for was lowered to one at which the main
// window fits the screen's work area.
void ReportLoweredScale(std::optional<int> requested)
{
    const TPlatform& platform = Application().Platform();
    const int factor = platform.ScaleFactor();
    if (!requested || factor >= *requested)
        return;
    const std::optional<TRect> area = platform.WorkArea();
    if (!area)
        return;
    std::fprintf(stderr,
        "velmora: at VELMORA_SCALE=%d the window would be %dx%d, larger than the screen's work area of %dx%d; "
        "it is shown at scale %d\n",
        *requested, mainWindowSize.Width * *requested, mainWindowSize.Height * *requested, area->Width(),
        area->Height(), factor);
}

} // namespace

int main(int argc, char** argv)
{
    const TCommandLine line = ReadCommandLine(argc, argv);
    if (line.ExitAt)
        return *line.ExitAt;

    // One disc per desktop: a second start hands its file to the first.
    const std::unique_ptr<TDesktopSession> session = TDesktopSession::Join(line.Files);
    if (session->EndWith())
        return *session->EndWith();

    int exitCode = 0;
    try {
        const std::optional<int> scale = RequestedScale();
        Application().Initialize(scale, mainWindowSize);
        ReportLoweredScale(scale);
        RegisterSkinControls();
        Application().SetTitle("Velmora - VYR's first Music Disc");
        Application().CreateForm(fMain);
        TPlayer& player = *fMain->Player();
        Application().CreateForm(fOptions, player);
        // A file given on the command line plays as if it had been dropped,
        // once the main window is up.
        if (!line.Files.empty())
            Application().Post([&player, file = line.Files.front()] { player.PlayFile(file); });
        // A session that ends (the user logs off) may end the process at
        // once: the settings are kept first.
        Application().OnSessionEnd = [&player] { player.KeepSettings(); };
        session->Serve(player);
        Application().Run();
    } catch (const TApplicationHalt& halt) {
        exitCode = halt.ExitCode;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora: %s\n", error.what());
        exitCode = 1;
    }
    Application().OnSessionEnd = nullptr;
    // The windows go before the process ends, and with them what they own.
    try {
        Application().DestroyForms();
    } catch (const TApplicationHalt&) {
    }
    // A sound thread held up in the engine (by a sound server that hangs)
    // was left to itself once the settings were written: the process ends
    // around it, without the exit handlers that would pull its engine away
    // under it.
    if (TSoundSide::Abandoned()) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    return exitCode;
}

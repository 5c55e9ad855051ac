// The program's entry: the command line, the application object, the main
// window, the message loop, and the orderly ending with exit code 0.

#include "app/DesktopSession.h"
#include "app/Main.h"
#include "controls/SkinControls.h"
#include "options/Options.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/WorkArea.h"

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
            line.Files.push_back(std::filesystem::absolute(argv[i]).string());
        }
        if (line.ExitAt)
            break;
    }
    return line;
}

// VELMORA_SCALE, when it holds a whole number from 1 to 4: at most the
// factor at which the main window (370 by 214) still fits the screen's work
// area, so that its close glyph stays within reach.
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
    const int factor = value[0] - '0';
    const std::optional<TRect> area = ScreenWorkArea();
    if (!area)
        return factor;
    constexpr TSize mainWindow{370, 214};
    const int fitting = LargestFittingFactor(factor, mainWindow, {area->Width(), area->Height()});
    if (fitting < factor)
        std::fprintf(stderr,
            "velmora: at VELMORA_SCALE=%d the window would be %dx%d, larger than the screen's work area of %dx%d; "
            "it is shown at scale %d\n",
            factor, mainWindow.Width * factor, mainWindow.Height * factor, area->Width(), area->Height(), fitting);
    return fitting;
}

} // namespace

int main(int argc, char** argv)
{
    const TCommandLine line = ReadCommandLine(argc, argv);
    if (line.ExitAt)
        return *line.ExitAt;

    // One disc per desktop: a second start hands its file to the first.
    bool handedOver = false;
    std::shared_ptr<TSessionBus> bus = JoinDesktopSession(line.Files, handedOver);
    if (handedOver)
        return 0;

    int exitCode = 0;
    std::unique_ptr<TMprisServer> mediaControls;
    try {
        Application().Initialize(RequestedScale());
        RegisterSkinControls();
        Application().SetTitle("Velmora - VYR's first Music Disc");
        Application().CreateForm(fMain);
        TPlayer& player = *fMain->Player();
        Application().CreateForm(fOptions, player);
        // A file given on the command line plays as if it had been dropped,
        // once the main window is up.
        if (!line.Files.empty())
            Application().Post([&player, file = line.Files.front()] { player.PlayFile(file); });
        mediaControls = ServeMediaControls(bus, player);
        Application().Run();
    } catch (const TApplicationHalt& halt) {
        exitCode = halt.ExitCode;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora: %s\n", error.what());
        exitCode = 1;
    }
    // The windows go before the process ends, and with them what they own.
    try {
        Application().DestroyForms();
    } catch (const TApplicationHalt&) {
    }
    return exitCode;
}

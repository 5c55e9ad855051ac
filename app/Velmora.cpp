// The program's entry: the application object, the main window, the
// message loop, and the orderly ending with exit code 0.

#include "app/Main.h"
#include "controls/SkinControls.h"
#include "options/Options.h"
#include "toolkit/Application.h"

#include <cstdio>
#include <exception>

int main()
{
    int exitCode = 0;
    try {
        Application().Initialize();
        RegisterSkinControls();
        Application().SetTitle("Velmora - VYR's first Music Disc");
        Application().CreateForm(fMain);
        Application().CreateForm(fOptions);
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

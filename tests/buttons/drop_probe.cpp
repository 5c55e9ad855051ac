// A real window with a file drop target, for the end-to-end drop test:
// prints "READY <x> <y>" (a screen point inside its client area) once it is
// shown, then the full path of each file of the first drop, one a line, and
// "COUNT <n>", and closes. Exits 2 when no drop comes within 20 seconds.
// With --disabled its drop target is switched off: it closes after three
// seconds, exiting 0, or 4 if a drop got through nevertheless.

#include "controls/filedrag.h"
#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/Timer.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const bool disabled = argc > 1 && std::string(argv[1]) == "--disabled";
    int exitCode = 0;
    try {
        Application().Initialize();
        // Errors in the loop would open a message box nobody closes.
        Application().MessageBoxHook = [&](const std::string& text, const std::string&, unsigned) {
            std::fprintf(stderr, "drop_probe: %s\n", text.c_str());
            exitCode = 3;
            Application().Terminate();
            return idOk;
        };
        TForm* form = nullptr;
        Application().CreateForm(form);
        form->SetCaption("Velmora drop probe");
        form->SetBounds(100, 80, 240, 160);

        // SDL wakes its waiting loop for each event of the drop by sending a
        // message to the window over a second connection; destroying the
        // window at once can make the server see that message after the
        // window is gone, which Xlib treats as fatal. The window therefore
        // closes a moment after the drop.
        auto* closer = TComponent::Create<TTimer>(form);
        closer->SetEnabled(false);
        closer->SetInterval(300);
        closer->OnTimer = [&](TObject*) { form->Close(); };

        auto* drag = TComponent::Create<TFileDrag>(form);
        drag->SetEnableDrop(!disabled);
        drag->OnDrop = [&](TObject*) {
            if (disabled)
                exitCode = 4;
            for (const std::string& path : drag->NameWithPath().Items())
                std::printf("%s\n", path.c_str());
            std::printf("COUNT %d\n", drag->FileCount());
            std::fflush(stdout);
            closer->SetEnabled(true);
        };
        form->OnShow = [&](TObject*) {
            TPoint centre = form->ClientToScreen({form->Width() / 2, form->Height() / 2});
            std::printf("READY %d %d\n", centre.X, centre.Y);
            std::fflush(stdout);
        };

        auto* timeout = TComponent::Create<TTimer>(form);
        timeout->SetInterval(disabled ? 3000 : 20000);
        timeout->OnTimer = [&](TObject*) {
            if (!disabled) {
                std::fprintf(stderr, "drop_probe: no drop arrived\n");
                exitCode = 2;
            }
            form->Close();
        };

        Application().Run();
        Application().DestroyForms();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drop_probe: %s\n", error.what());
        return 1;
    }
    return exitCode;
}

// Any text as a window layout, with every class the program registers and
// every handler name its windows bind: refused with a toolkit error naming
// the line, or built into a window that paints.

#include "FuzzSupport.h"

#include "controls/SkinControls.h"
#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/LayoutReader.h"

#include <string_view>

namespace {

// Takes the handler names of the real windows and does nothing on them.
class TFuzzWindow : public TForm {
public:
    explicit TFuzzWindow(TComponent* owner) : TForm(owner)
    {
        for (const char* name : {"FormCreate", "FileDragDrop", "timerUpdateTimer", "bApplicationMinimizeClick",
                 "bApplicationCloseClick", "bWindowCloseClick", "bSong1Click", "bSong2Click", "bSong3Click",
                 "bSong4Click", "bSong5Click", "bControlStopClick", "bControlRewClick", "bControlFFClick",
                 "bOptionsClick", "bMixrateUpClick", "bMixrateDownClick", "bStereoUpClick", "bStereoDownClick",
                 "b16BitUpClick", "b16BitDownClick", "bFilterModeUpClick", "bFilterModeDownClick"})
            RegisterHandler(name, THandler(std::in_place_type<TNotifyEvent>, [](TObject*) {}));
        RegisterHandler("panMainMouseDown",
            THandler(std::in_place_type<TMouseEvent>, [](TObject*, TMouseButton, TShiftState, int, int) {}));
        RegisterHandler("panMainMouseUp",
            THandler(std::in_place_type<TMouseEvent>, [](TObject*, TMouseButton, TShiftState, int, int) {}));
        RegisterHandler(
            "panMainMouseMove", THandler(std::in_place_type<TMouseMoveEvent>, [](TObject*, TShiftState, int, int) {}));
        RegisterHandler("FormClose", THandler(std::in_place_type<TCloseEvent>, [](TObject*, TCloseAction&) {}));
    }
};

bool Setup()
{
    Application().InitializeHeadless();
    RegisterSkinControls();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = Setup();
    (void)ready;
    auto* window = TComponent::Create<TFuzzWindow>(&Application());
    try {
        ReadLayoutText(*window, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.layout");
        window->Snapshot();
    } catch (const EToolkitError&) {
        // Refused: a wrong layout or a property value out of its range.
    }
    window->Free();
    return 0;
}

#pragma once

#include "toolkit/windowing/Component.h"
#include "toolkit/windowing/Platform.h"

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class TForm;
class TTimer;

// Message box flags, as the classic desktop API numbers them, named so that
// its own macros (MB_OK, IDOK) never meet them.
inline constexpr unsigned mbOk = 0x0;
inline constexpr unsigned mbIconError = 0x10;
inline constexpr unsigned mbIconStop = mbIconError;
inline constexpr int idOk = 1;

// Ends the program from anywhere: unwinds to the program's entry, which
// destroys the windows and exits with the code. Deliberately not a
// std::exception, so no ordinary error handler swallows it.
struct TApplicationHalt {
    int ExitCode = 0;
};

// The application object: the windows it owns, the message loop, timers,
// and the modal message box.
class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    const char* ClassName() const override { return "TApplication"; }

    // Starts on the desktop through SDL2; Headless gives windows that are
    // only back buffers and a clock that moves when the loop has nothing to
    // do (tests, screenshots).
    // scale: windows shown that many times larger (1..4), or less where a
    // window of mustFit (logical pixels) would not fit the screen's work
    // area at that scale; none: as large as the screen's density asks.
    void Initialize(std::optional<int> scale = std::nullopt, TSize mustFit = {});
    void InitializeHeadless();
    bool IsHeadless() const { return headless_; }
    TPlatform& Platform();

    // The full path of the running program's own file; a test may place the
    // program elsewhere (empty: where it really is).
    std::string ExeName() const;
    void SetExeName(std::string path) { exeName_ = std::move(path); }

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // Creates a window owned by the application and stores it in reference
    // before its creation handler runs; the first becomes the main window.
    template <typename T, typename... Args>
    void CreateForm(T*& reference, Args&&... args)
    {
        T* form = TComponent::Create<T>(this, std::forward<Args>(args)...);
        reference = form;
        AdoptForm(form);
    }
    TForm* MainForm() const { return mainForm_; }

    // Shows the main window and handles messages until it closes. An error
    // that escapes a handler is shown in a message box and the loop goes on.
    void Run();
    void ShowException(const std::exception& error);
    void Terminate() { terminated_ = true; }
    // The desktop asks the program to end: the main window closes as its
    // close glyph would, or, while a modal window keeps it from input, the
    // application ends its modal runs and then closes all the same.
    void RequestEnd();
    bool Terminated() const { return terminated_; }
    // Runs call from the message loop, once it next handles messages (after
    // the main window is shown, when posted before the loop starts). Any
    // thread may post; the call runs on the loop's.
    void Post(std::function<void()> call);
    // Handles everything pending without waiting.
    void ProcessMessages();
    // Waits for input or the next timer and handles it.
    void HandleMessage();
    [[noreturn]] void Halt(int exitCode) { throw TApplicationHalt{exitCode}; }
    // The desktop's connection is gone: nothing can be shown or asked any
    // more. The windows end in order, and with them what they own, then the
    // process ends at once with exit code 1, before the exit handlers of
    // libraries that lost their display too.
    [[noreturn]] void EndWithoutDisplay();
    // Destroys every window; the program's ending does this after the loop.
    void DestroyForms();

    // The session ends now (the user logs off, the system shuts down) and
    // the process may be ended right after: what must be kept is kept here,
    // at once.
    std::function<void()> OnSessionEnd;

    // Minimises every shown window; nothing when already minimised.
    void Minimize();
    bool IsMinimized() const;
    // Brings every shown window back from the task bar and the main window
    // to the front.
    void Restore();

    // A modal box with text, caption, an OK button and the icon of flags;
    // answers idOk. Tests may put their own box in its place.
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags);
    std::function<int(const std::string& text, const std::string& caption, unsigned flags)> MessageBoxHook;

    // Milliseconds on the message loop's clock.
    std::uint64_t Now();
    // Headless only: lets time pass, firing the timers due on the way.
    void AdvanceTime(std::uint64_t milliseconds);

    // Bookkeeping of windows, timers and the modal stack.
    void AddTimer(TTimer* timer);
    void RemoveTimer(TTimer* timer);
    void PushModal(TForm* form);
    void PopModal();
    TForm* ModalForm() const { return modalStack_.empty() ? nullptr : modalStack_.back(); }
    void PostRelease(TForm* form);
    std::vector<TForm*> Forms() const;

    void Notification(TComponent* component, TOperation operation) override;

private:
    void AdoptForm(TForm* form);
    // Which windows take drops follows the modal stack.
    void UpdateDropTargets();
    void FireDueTimers();
    void PaintForms();
    void ReleasePending();
    void RunPosted();
    bool HasPosted();
    void ReleaseStartUpMemory();
    // Milliseconds until the next timer is due, or -1 with none enabled.
    int NextTimerDelay();

    std::unique_ptr<TPlatform> platform_;
    bool headless_ = false;
    bool displayLost_ = false;
    std::string title_;
    std::string exeName_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    std::vector<TTimer*> timers_;
    std::vector<TForm*> modalStack_;
    std::vector<TForm*> releases_;
    std::mutex postedMutex_;
    std::deque<std::function<void()>> posted_;
};

// The program's one application object.
TApplication& Application();

#include "toolkit/windowing/Application.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/Resources.h"
#include "toolkit/graphics/Utf8Path.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/MessageForm.h"
#include "toolkit/windowing/Timer.h"

#include <SDL.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

TApplication& Application()
{
    static TApplication application;
    return application;
}

TApplication::TApplication() : TComponent(nullptr)
{
}

TApplication::~TApplication()
{
    DestroyComponents();
}

void TApplication::Initialize(std::optional<int> scale, TSize mustFit)
{
    platform_ = MakeSdlPlatform(scale, mustFit);
    headless_ = false;
    terminated_ = false;
}

void TApplication::InitializeHeadless()
{
    platform_ = MakeHeadlessPlatform();
    headless_ = true;
    terminated_ = false;
}

TPlatform& TApplication::Platform()
{
    if (!platform_)
        InitializeHeadless();
    return *platform_;
}

void TApplication::AdoptForm(TForm* form)
{
    if (!mainForm_)
        mainForm_ = form;
    form->DoCreate();
}

std::string TApplication::ExeName() const
{
    if (!exeName_.empty())
        return exeName_;
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return Utf8Of(path);
    char* base = SDL_GetBasePath();
    std::string fallback = base ? std::string(base) + "velmora" : std::string();
    SDL_free(base);
    return fallback;
}

void TApplication::Run()
{
    if (mainForm_)
        mainForm_->Show();
    ReleaseStartUpMemory();
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (const std::exception& error) {
            ShowException(error);
        }
    }
}

void TApplication::ReleaseStartUpMemory()
{
    // The windows are made and shown: the font finder served their faces,
    // their layouts and pictures were read from the embedded files, and
    // what making them took for a while is free again. All of it goes back
    // to the system rather than staying resident for the rest of the run.
    TFontEngine::Instance().ReleaseFontFinder();
    ReleaseResources();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void TApplication::RequestEnd()
{
    if (mainForm_ && mainForm_->TakesInput())
        mainForm_->DispatchCloseRequest();
    else
        Terminate();
}

void TApplication::ShowException(const std::exception& error)
{
    ShowMessage(error.what(), title_.empty() ? std::string("Error") : title_, mbOk | mbIconError);
}

void TApplication::ProcessMessages()
{
    RunPosted();
    while (Platform().PumpEvents(0)) { }
    FireDueTimers();
    PaintForms();
    ReleasePending();
}

void TApplication::HandleMessage()
{
    RunPosted();
    ReleasePending();
    FireDueTimers();
    PaintForms();
    if (terminated_)
        return;
    int delay = NextTimerDelay();
    if (HasPosted())
        delay = 0;
    if (Platform().HasRealClock()) {
        // The wait may end a little before the timer is due; one millisecond
        // more spares a second wake-up for the rest.
        Platform().PumpEvents(delay < 0 ? 500 : delay == 0 ? 0 : delay + 1);
    } else if (!Platform().PumpEvents(0)) {
        if (delay < 0)
            throw EInvalidOperation("The message loop has nothing to wait for");
        Platform().AdvanceClock(Now() + static_cast<std::uint64_t>(delay));
    }
    FireDueTimers();
    PaintForms();
    ReleasePending();
}

void TApplication::DestroyForms()
{
    mainForm_ = nullptr;
    releases_.clear();
    DestroyComponents();
}

void TApplication::EndWithoutDisplay()
{
    displayLost_ = true;
    std::fprintf(
        stderr, "%s: the connection to the display was lost\n", Utf8Of(PathOf(ExeName()).filename()).c_str());
    try {
        DestroyForms();
    } catch (...) {
        // Whatever failed has said so; the program ends all the same.
    }
    std::fflush(nullptr);
    std::_Exit(1);
}

void TApplication::Minimize()
{
    if (IsMinimized())
        return;
    for (TForm* form : Forms()) {
        if (form->Visible() && form->PlatformWindow())
            form->PlatformWindow()->Minimize();
    }
}

void TApplication::Restore()
{
    for (TForm* form : Forms()) {
        if (form->Visible() && form->PlatformWindow() && form->PlatformWindow()->IsMinimized())
            form->PlatformWindow()->Restore();
    }
    if (TForm* front = ModalForm() ? ModalForm() : mainForm_; front && front->PlatformWindow())
        front->PlatformWindow()->Raise();
}

bool TApplication::IsMinimized() const
{
    return mainForm_ && mainForm_->PlatformWindow() && mainForm_->PlatformWindow()->IsMinimized();
}

int TApplication::ShowMessage(const std::string& text, const std::string& caption, unsigned flags)
{
    if (MessageBoxHook)
        return MessageBoxHook(text, caption, flags);
    if (headless_ || displayLost_) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return idOk;
    }
    auto* box = TComponent::Create<TMessageForm>(this, text, caption, flags);
    box->ShowModal();
    box->Free();
    return idOk;
}

std::uint64_t TApplication::Now()
{
    return Platform().Now();
}

void TApplication::AdvanceTime(std::uint64_t milliseconds)
{
    std::uint64_t target = Now() + milliseconds;
    while (!terminated_) {
        std::uint64_t next = target;
        for (TTimer* timer : timers_) {
            if (timer->Active())
                next = std::min(next, timer->DueAt());
        }
        if (next >= target)
            break;
        Platform().AdvanceClock(next);
        FireDueTimers();
        PaintForms();
        ReleasePending();
    }
    Platform().AdvanceClock(target);
    FireDueTimers();
    PaintForms();
    ReleasePending();
}

void TApplication::AddTimer(TTimer* timer)
{
    timers_.push_back(timer);
}

void TApplication::RemoveTimer(TTimer* timer)
{
    std::erase(timers_, timer);
}

void TApplication::PushModal(TForm* form)
{
    modalStack_.push_back(form);
    UpdateDropTargets();
}

void TApplication::PopModal()
{
    modalStack_.pop_back();
    UpdateDropTargets();
}

void TApplication::UpdateDropTargets()
{
    for (TForm* form : Forms())
        form->UpdateDropTarget();
}

void TApplication::PostRelease(TForm* form)
{
    if (std::find(releases_.begin(), releases_.end(), form) == releases_.end())
        releases_.push_back(form);
}

std::vector<TForm*> TApplication::Forms() const
{
    std::vector<TForm*> forms;
    for (int i = 0; i < ComponentCount(); ++i) {
        if (auto* form = dynamic_cast<TForm*>(Components(i)))
            forms.push_back(form);
    }
    return forms;
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == mainForm_)
        mainForm_ = nullptr;
    std::erase(releases_, component);
    if (std::erase(modalStack_, component) != 0)
        UpdateDropTargets();
}

void TApplication::FireDueTimers()
{
    // Once the main window has closed, what the timers drive may be gone.
    if (terminated_)
        return;
    std::uint64_t now = Now();
    // A handler may create or destroy timers: walk a copy, skip the gone.
    std::vector<TTimer*> timers = timers_;
    for (TTimer* timer : timers) {
        if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end())
            continue;
        if (timer->Active() && timer->DueAt() <= now)
            timer->Tick(now);
    }
}

int TApplication::NextTimerDelay()
{
    std::uint64_t now = Now();
    long best = -1;
    for (TTimer* timer : timers_) {
        if (!timer->Active())
            continue;
        long delay = timer->DueAt() <= now ? 0 : static_cast<long>(timer->DueAt() - now);
        if (best < 0 || delay < best)
            best = delay;
    }
    return static_cast<int>(best);
}

void TApplication::PaintForms()
{
    for (TForm* form : Forms()) {
        if (form->Visible())
            form->PaintPending();
    }
}

void TApplication::Post(std::function<void()> call)
{
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(call));
    }
    if (platform_)
        platform_->Wake();
}

bool TApplication::HasPosted()
{
    std::lock_guard lock(postedMutex_);
    return !posted_.empty();
}

void TApplication::RunPosted()
{
    // One call at a time: a call that runs a loop of its own (a message
    // box) leaves the calls after it to that loop rather than holding them
    // until it ends. Calls posted meanwhile wait for the next round, so
    // that a stream of them can't keep the loop from its input. A call
    // that fails goes to the loop's handler; the rest stay.
    std::size_t count = 0;
    {
        std::lock_guard lock(postedMutex_);
        count = posted_.size();
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::function<void()> call;
        {
            std::lock_guard lock(postedMutex_);
            if (posted_.empty())
                return;
            call = std::move(posted_.front());
            posted_.pop_front();
        }
        call();
    }
}

void TApplication::ReleasePending()
{
    std::vector<TForm*> releases;
    releases.swap(releases_);
    for (TForm* form : releases)
        form->Free();
}

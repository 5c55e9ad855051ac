#pragma once

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Platform.h"
#include "toolkit/windowing/WinControl.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

enum class TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog };
enum class TPosition : std::uint8_t { poDesigned, poDefault, poScreenCenter, poMainFormCenter };
enum class TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TDropFilesEvent = std::function<void(const std::vector<std::string>& paths)>;

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;

// An event handler of a window, as a layout binds it by name.
using THandler = std::variant<TNotifyEvent, TMouseEvent, TMouseMoveEvent, TCloseEvent, TKeyEvent>;

// A top-level window. Its client area is one back buffer that everything
// on it draws into; the platform window shows that buffer. Left and Top are
// screen coordinates.
class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    const char* ClassName() const override { return "TForm"; }
    void Paint() override;

    // Reads the window layout of that name from the embedded files.
    void LoadLayout(const std::string& resourceName);
    // Runs the creation handler; done once, right after construction.
    void DoCreate();

    // The largest width or height a window may have, in pixels; larger ones
    // raise EInvalidOperation.
    static constexpr int LargestSide = 8192;
    void SetBounds(int left, int top, int width, int height) override;
    void SetClientWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetClientHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }

    void Show();
    void Hide();
    // Asks the window to close: OnClose decides; the main window's closing
    // ends the application, a modal one's ends its modal run.
    void Close();
    // Shows the window and runs the message loop until it closes; the other
    // windows take no input meanwhile, but timers keep ticking.
    TModalResult ShowModal();
    bool IsModal() const { return modal_; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    // Destroys the window once the events already pending are handled.
    void Release();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;
    TMouseWheelEvent OnMouseWheel;

    // Layout handlers: a method of the window under its name.
    void RegisterHandler(const std::string& name, THandler handler) { handlers_[name] = std::move(handler); }
    template <typename Form, typename... Args>
    void RegisterHandler(const std::string& name, void (Form::*method)(Args...))
    {
        auto* self = static_cast<Form*>(this);
        RegisterHandler(name, THandler(std::in_place_type<HandlerType<Args...>>, [self, method](Args... args) {
            (self->*method)(args...);
        }));
    }
    const THandler* FindHandler(const std::string& name) const;
    // A press handler that moves the window (through a TWindowDrag): the
    // controls a layout binds it to are the window's drag surfaces.
    template <typename Form>
    void RegisterDragHandler(
        const std::string& name, void (Form::*method)(TObject*, TMouseButton, TShiftState, int, int))
    {
        auto* self = static_cast<Form*>(this);
        RegisterHandler(name,
            TMouseEvent(TWindowDragPress{[self, method](TObject* sender, TMouseButton button, TShiftState shift, int x,
                                             int y) { (self->*method)(sender, button, shift, x, y); }}));
    }

    // A component the window's layout made, by name and class; a layout
    // that lacks it is an error naming the window and the component.
    template <typename T>
    T* LayoutComponent(const std::string& name) const
    {
        auto* component = dynamic_cast<T*>(FindComponent(name));
        if (!component)
            throw ELayoutError(Name() + ": the layout lacks " + name);
        return component;
    }

    // The back buffer and the requests to repaint parts of it.
    TPixmap& BackBuffer();
    void InvalidateRect(const TRect& windowRect);
    // Paints the rectangle now and puts it on screen at once.
    void PaintRect(const TRect& windowRect);
    bool HasPendingPaint() const { return !dirty_.IsEmpty(); }
    void PaintPending();
    // Paints everything and copies the window's picture out (for tests and
    // screenshots; works without a display).
    TPixmap Snapshot();
    void Present();

    // Input from the platform, client coordinates.
    void DispatchMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void DispatchMouseMove(TShiftState shift, int x, int y);
    void DispatchMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // A key goes to the focused control first, then, unless that one took
    // it (set it to 0), to the window.
    void DispatchKeyDown(std::uint16_t key, TShiftState shift);
    void DispatchKeyUp(std::uint16_t key, TShiftState shift);
    void DispatchMouseWheel(int notches, TShiftState shift);
    void DispatchDialogChar(char key);
    void DispatchDropFiles(const std::vector<std::string>& paths);
    void DispatchCloseRequest() { Close(); }
    // Whether a left press at (x, y) would start moving the window: it falls
    // on a drag surface of a window that takes input. A desktop that moves
    // windows itself asks before the press is delivered, and then delivers
    // none.
    bool DragsWindowAt(TPoint p);
    // The desktop moved the window itself.
    void PlatformMoved(int left, int top) { TWinControl::SetBounds(left, top, Width(), Height()); }

    TControl* CaptureControl() const { return capture_; }
    void SetCaptureControl(TControl* control);
    TWinControl* ActiveControl() const { return active_; }
    void SetActiveControl(TWinControl* control);

    // Dropped files: whether the desktop may drop them here, and who takes
    // them. SetDropHandler hands back the handler it displaced. The desktop
    // is told no while the window takes no input.
    bool AcceptsDrops() const { return acceptsDrops_; }
    void SetAcceptsDrops(bool accept);
    void UpdateDropTarget();
    TDropFilesEvent SetDropHandler(TDropFilesEvent handler);

    TPlatformWindow* PlatformWindow() const { return window_.get(); }
    // Whether input reaches this window (no other window is modal above it).
    bool TakesInput() const;

protected:
    void EnabledChanged() override;
    void TextChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    template <typename... Args>
    using HandlerType = std::function<void(Args...)>;

    void EnsureWindow();
    void PlaceOnScreen();
    void PresentArea(const TRect& area);

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TPosition position_ = TPosition::poDesigned;
    bool created_ = false;
    bool placed_ = false;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    TPixmap backBuffer_;
    TRect dirty_;
    TControl* capture_ = nullptr;
    TControl* hover_ = nullptr;
    TWinControl* active_ = nullptr;
    bool acceptsDrops_ = false;
    TDropFilesEvent dropHandler_;
    std::map<std::string, THandler> handlers_;
    std::unique_ptr<TPlatformWindow> window_;
};

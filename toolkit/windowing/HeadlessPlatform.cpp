#include "toolkit/windowing/HeadlessPlatform.h"

#include "toolkit/windowing/Form.h"

#include <algorithm>

void THeadlessWindow::Present(const TPixmap& backBuffer, const TRect& area)
{
    if (screen_.Width() != backBuffer.Width() || screen_.Height() != backBuffer.Height())
        screen_.Resize(backBuffer.Width(), backBuffer.Height());
    TRect visible = area.Intersect(backBuffer.Bounds());
    if (visible.IsEmpty())
        return;
    presented_.push_back(visible);
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const TPixel* from = backBuffer.Row(y) + visible.Left;
        std::copy(from, from + visible.Width(), screen_.Row(y) + visible.Left);
    }
}

THeadlessWindow* HeadlessWindowOf(const TForm& form)
{
    return dynamic_cast<THeadlessWindow*>(form.PlatformWindow());
}

namespace {

class THeadlessPlatform final : public TPlatform {
public:
    std::unique_ptr<TPlatformWindow> MakeWindow(TForm&, bool) override { return std::make_unique<THeadlessWindow>(); }
    TSize ScreenSize() const override { return {1024, 768}; }
    std::uint64_t Now() const override { return now_; }
    bool PumpEvents(int) override { return false; }
    bool HasRealClock() const override { return false; }
    void AdvanceClock(std::uint64_t toMs) override
    {
        if (toMs > now_)
            now_ = toMs;
    }

private:
    std::uint64_t now_ = 0;
};

} // namespace

std::unique_ptr<TPlatform> MakeHeadlessPlatform()
{
    return std::make_unique<THeadlessPlatform>();
}

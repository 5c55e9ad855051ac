#include "toolkit/Platform.h"

namespace {

class THeadlessWindow final : public TPlatformWindow {
public:
    void SetTitle(const std::string&) override {}
    void SetBounds(const TRect&) override {}
    void Show() override { minimized_ = false; }
    void Hide() override {}
    void Raise() override {}
    void Minimize() override { minimized_ = true; }
    bool IsMinimized() const override { return minimized_; }
    void SetCapture(bool) override {}
    void Present(const TPixmap&) override {}

private:
    bool minimized_ = false;
};

class THeadlessPlatform final : public TPlatform {
public:
    std::unique_ptr<TPlatformWindow> CreateWindow(TForm&, bool) override
    {
        return std::make_unique<THeadlessWindow>();
    }
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

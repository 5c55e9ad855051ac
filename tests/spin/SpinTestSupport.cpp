#include "SpinTestSupport.h"

#include "toolkit/windowing/Application.h"

#include <ostream>

void PrintTo(const TSpinClick& click, std::ostream* out)
{
    *out << click.Half << "@" << click.At;
}

void SpinTest::SetUp()
{
    Application().InitializeHeadless();
    RegisterSpin();
    window = TComponent::Create<TForm>(&Application());
    window->SetBounds(0, 0, 120, 90);
    spin = TComponent::Create<TSpinButton>(window);
    spin->SetParent(window);
    spin->SetBounds(SpinLeft, SpinTop, 15, 25);
    spin->OnUpClick = [this](TObject* sender) {
        EXPECT_EQ(sender, spin);
        clicks.push_back({"up", Elapsed()});
    };
    spin->OnDownClick = [this](TObject* sender) {
        EXPECT_EQ(sender, spin);
        clicks.push_back({"down", Elapsed()});
    };
    window->Show();
    start = Application().Now();
}

void SpinTest::TearDown()
{
    window->Free();
    Application().ProcessMessages();
}

std::uint64_t SpinTest::Elapsed()
{
    return Application().Now() - start;
}

TPoint SpinTest::At(const TControl& half, int x, int y)
{
    return half.WindowOrigin() + TPoint{x, y};
}

TPoint SpinTest::CentreOf(const TControl& half)
{
    return At(half, half.Width() / 2, half.Height() / 2);
}

void SpinTest::Press(TPoint p, TMouseButton button)
{
    TShiftState shift = button == TMouseButton::mbLeft ? ssLeft : ssRight;
    window->DispatchMouseDown(button, shift, p.X, p.Y);
}

void SpinTest::MoveTo(TPoint p)
{
    window->DispatchMouseMove(ssLeft, p.X, p.Y);
}

void SpinTest::Release(TPoint p, TMouseButton button)
{
    window->DispatchMouseUp(button, 0, p.X, p.Y);
}

void SpinTest::Wait(std::uint64_t milliseconds)
{
    Application().AdvanceTime(milliseconds);
}

std::vector<std::string> SpinTest::Halves() const
{
    std::vector<std::string> halves;
    for (const auto& click : clicks)
        halves.push_back(click.Half);
    return halves;
}

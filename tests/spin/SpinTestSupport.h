#pragma once

// A spin button on a shown headless window, driven through the window's own
// input dispatch and the application's controllable clock. Every click is
// logged with the milliseconds since the fixture started.

#include "controls/Spin.h"
#include "toolkit/windowing/Form.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct TSpinClick {
    std::string Half; // "up" or "down"
    std::uint64_t At; // ms since the start of the test

    friend bool operator==(const TSpinClick&, const TSpinClick&) = default;
};

void PrintTo(const TSpinClick& click, std::ostream* out);

class SpinTest : public ::testing::Test {
protected:
    static constexpr int SpinLeft = 30;
    static constexpr int SpinTop = 20;

    void SetUp() override;
    void TearDown() override;

    std::uint64_t Elapsed();
    // Window coordinates of a point of a half (its own coordinates).
    TPoint At(const TControl& half, int x, int y);
    TPoint CentreOf(const TControl& half);
    void Press(TPoint p, TMouseButton button = TMouseButton::mbLeft);
    void MoveTo(TPoint p);
    void Release(TPoint p, TMouseButton button = TMouseButton::mbLeft);
    void Wait(std::uint64_t milliseconds);
    std::vector<std::string> Halves() const;

    TForm* window = nullptr;
    TSpinButton* spin = nullptr;
    std::vector<TSpinClick> clicks;
    std::uint64_t start = 0;
};

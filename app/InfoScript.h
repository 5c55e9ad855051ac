#pragma once

#include "toolkit/graphics/Color.h"

#include <array>
#include <cstdint>
#include <string>

// One row of the info script: shown in the rotated caption for Duration + 1
// ticks of the update timer, in its own colour.
struct InfoLine {
    std::string Text;
    std::uint8_t Duration = 0;
    TColor Color = 0;
};

inline constexpr int InfoScriptLength = 95;
using TInfoScript = std::array<InfoLine, InfoScriptLength>;

TInfoScript BuildInfoScript();

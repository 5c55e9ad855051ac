#pragma once

// The main window's private state, as the window tests read it.

#include "app/Main.h"

struct TfMainProbe {
    static std::int32_t InfoIndex(const TfMain& window) { return window.InfoIndex; }
    static bool StarActive(const TfMain& window) { return window.StarActive; }
    static std::int32_t StarStep(const TfMain& window) { return window.StarStep; }
    static bool Dragging(const TfMain& window) { return window.Drag.Dragging; }
};

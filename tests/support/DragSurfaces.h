#pragma once

// Where a desktop that moves windows itself starts its move (the window's
// DragsWindowAt) against where the window's own drag starts: a left press,
// a move, and the release away from everything (so that no button takes a
// click), at every step-th point of the window.

#include "toolkit/windowing/Form.h"

#include <vector>

struct TDragSurvey {
    int Surfaces = 0;                  // points where the press dragged the window
    std::vector<TPoint> Disagreements; // points where the two differ
};

inline TDragSurvey SurveyDragSurfaces(TForm& window, int step)
{
    TDragSurvey survey;
    for (int y = 0; y < window.ClientHeight(); y += step) {
        for (int x = 0; x < window.ClientWidth(); x += step) {
            const bool asked = window.DragsWindowAt({x, y});
            const int left = window.Left();
            const int top = window.Top();
            window.DispatchMouseDown(TMouseButton::mbLeft, ssLeft, x, y);
            window.DispatchMouseMove(ssLeft, x + 3, y);
            const bool dragged = window.Left() != left;
            window.DispatchMouseUp(TMouseButton::mbLeft, 0, -1000, -1000);
            window.SetBounds(left, top, window.Width(), window.Height());
            survey.Surfaces += dragged ? 1 : 0;
            if (asked != dragged)
                survey.Disagreements.push_back({x, y});
        }
    }
    return survey;
}

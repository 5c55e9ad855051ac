#pragma once

#include "toolkit/Geometry.h"

#include <cstdint>
#include <functional>
#include <string>

// The root of every toolkit object that can send an event.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The class name as window layouts and messages spell it.
    virtual const char* ClassName() const { return "TObject"; }
};

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Keys and mouse buttons held down while an event happened.
enum TShiftFlag : std::uint8_t {
    ssShift = 1 << 0,
    ssAlt = 1 << 1,
    ssCtrl = 1 << 2,
    ssLeft = 1 << 3,
    ssRight = 1 << 4,
    ssMiddle = 1 << 5,
};
using TShiftState = std::uint8_t;

using TNotifyEvent = std::function<void(TObject* sender)>;
// Mouse position X, Y in the coordinates of the control that raised the event.
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, std::uint16_t& key, TShiftState shift)>;

// A streamable sub-object whose values can be copied from another one.
class TPersistent : public TObject {
public:
    const char* ClassName() const override { return "TPersistent"; }

    // Copies source into this object. The generic copy only knows how to
    // give up: it raises the assignment error naming both classes.
    virtual void Assign(const TPersistent& source);
};

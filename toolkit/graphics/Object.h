#pragma once

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

// An event that only names its sender.
using TNotifyEvent = std::function<void(TObject* sender)>;

// A streamable sub-object whose values can be copied from another one.
class TPersistent : public TObject {
public:
    const char* ClassName() const override { return "TPersistent"; }

    // Copies source into this object. The generic copy only knows how to
    // give up: it raises the assignment error naming both classes.
    virtual void Assign(const TPersistent& source);
};

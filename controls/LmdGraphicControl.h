#pragma once

#include "controls/Lmdobj.h"
#include "toolkit/windowing/Control.h"

#include <memory>
#include <string>

// A windowless control with a frame of its own: it owns a TLMDBevel and
// hears of every change to it.
class TLMDGraphicControl : public TGraphicControl {
public:
    explicit TLMDGraphicControl(TComponent* owner);
    ~TLMDGraphicControl() override;
    const char* ClassName() const override { return "TLMDGraphicControl"; }

    // Credits as a form designer shows them; stored, never used.
    const std::string& About() const { return about_; }
    void SetAbout(std::string about) { about_ = std::move(about); }

    TLMDBevel& Bevel() { return *bevel_; }
    const TLMDBevel& Bevel() const { return *bevel_; }
    // Copies the values in; the control keeps its own bevel.
    void SetBevel(const TLMDBevel& bevel) { bevel_->Assign(bevel); }

    // Nothing to draw: this control has only its frame.
    virtual bool IsEmpty() const { return true; }

    // Draws the frame when there is one; a frameless empty control shows an
    // outline only in a form designer.
    void Paint() override;

protected:
    // The bevel changed: ask for a repaint.
    virtual void BevelChanged() { Invalidate(); }

private:
    std::string about_;
    std::unique_ptr<TLMDBevel> bevel_;
};

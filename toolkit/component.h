// Base of the non-windowed parts of a form: the banner draws on the form's surface and runs on the
// form's timers, the command component has no window at all. The form owns its components and
// forwards the few messages they need from its own window procedure.
#pragma once

#include <windows.h>

namespace tk {

class TForm;

// The sender of an event. Handlers take it and ignore it.
class TObject;

class TComponent {
  public:
    explicit TComponent(TForm& owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TForm& Owner() const { return owner_; }

    // The form's window exists and every component of the layout is in place.
    virtual void Loaded() {}
    // The form paints `update` (form client coordinates) into `dc`; children are clipped out.
    virtual void PaintOn(HDC /*dc*/, const RECT& /*update*/) {}
    // The part of the form that PaintOn covers completely; the form paints no background there.
    virtual bool OpaqueBounds(RECT& /*bounds*/) const { return false; }
    // A WM_TIMER of the form's window; returns true when the timer id is this component's.
    virtual bool TimerTick(UINT_PTR /*id*/) { return false; }
    // The form's window is about to be destroyed: release timers and anything tied to it.
    virtual void Unloading() {}

  private:
    TForm& owner_;
};

}  // namespace tk

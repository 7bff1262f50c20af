// The banner's line cycle: a line change every line delay, each followed by a cross-fade run in
// fixed steps, the line on display, and the update lock. Timers, painting and pixels belong to the
// host; the cycle only says when to start or stop a timer, what to render and when to repaint.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/banner/line_list.h"
#include "core/banner/markup.h"

namespace quenlo::banner {

// The line the banner last changed to: a copy of its text and the style it entered with, so it
// can be drawn again whatever the list holds by then.
struct DisplayLine {
    std::string text;
    MarkupState entry;
    bool operator==(const DisplayLine& o) const { return text == o.text && entry == o.entry; }
};

enum class BannerTimer { Line, Fade };

constexpr unsigned kFadeStepMs = 25;

struct CycleTiming {
    unsigned lineDelay = 3000;  // ms from one line change to the next
    unsigned fadeDelay = 600;   // nominal ms of a cross-fade
    int repeatCount = 0;        // passes through the list before the cycle ends; 0: never ends
};

class CycleHost {
  public:
    virtual ~CycleHost() = default;
    virtual CycleTiming Timing() const = 0;
    virtual Markup CurrentMarkup() const = 0;
    // Starting a running timer restarts its interval.
    virtual void StartTimer(BannerTimer timer, unsigned ms) = 0;
    virtual void StopTimer(BannerTimer timer) = 0;
    // A line change to `line`. Called while the fade position is still the old one, so the host
    // can keep what is on screen as the picture to fade from.
    virtual void BeginFade(const DisplayLine& line) = 0;
    // Render the line on display again with the settings now in force.
    virtual void Redraw(const DisplayLine& line) = 0;
    // Mark the banner's area for repainting.
    virtual void Invalidate() = 0;
    // The cycle has made its last pass (only with a repeat count).
    virtual void Complete() = 0;
};

class FadeCycle {
  public:
    FadeCycle(const LineList& lines, CycleHost& host) : lines_(lines), host_(host) {}

    // Starts the cycle with a line change at once.
    void Start();
    // Stops both timers; the picture stays as it is.
    void Stop();
    bool Running() const { return running_; }

    void LineTick();
    void FadeTick();
    // The list of lines has changed.
    void LinesChanged();

    void RaiseUpdateLock() { ++lock_; }
    void LowerUpdateLock() {
        if (lock_ > 0) --lock_;
    }
    int UpdateLock() const { return lock_; }

    // Cross-fade position: Step() of Steps(); equal when the new line stands alone.
    int Step() const { return step_; }
    int Steps() const { return steps_; }
    const std::optional<DisplayLine>& OnDisplay() const { return display_; }

  private:
    void ChangeLine();

    const LineList& lines_;
    CycleHost& host_;
    bool running_ = false;
    int lock_ = 0;
    std::optional<std::size_t> index_;  // of the line last taken from the list
    int passes_ = 0;
    std::optional<DisplayLine> display_;
    int step_ = 1;
    int steps_ = 1;
};

}  // namespace quenlo::banner

#include "core/banner/fade_cycle.h"

#include <algorithm>

namespace quenlo::banner {

void FadeCycle::Start() {
    if (running_) return;
    running_ = true;
    ChangeLine();
}

void FadeCycle::Stop() {
    if (!running_) return;
    running_ = false;
    host_.StopTimer(BannerTimer::Line);
    host_.StopTimer(BannerTimer::Fade);
}

void FadeCycle::LineTick() {
    if (running_) ChangeLine();
}

void FadeCycle::FadeTick() {
    if (step_ >= steps_) {
        host_.StopTimer(BannerTimer::Fade);
        return;
    }
    ++step_;
    if (step_ >= steps_) host_.StopTimer(BannerTimer::Fade);
    host_.Invalidate();
}

void FadeCycle::LinesChanged() {
    // Under the lock a change of the list does nothing at all; without it the banner draws the
    // line on display again, never a line of the new list.
    if (lock_ > 0) return;
    if (display_) host_.Redraw(*display_);
    host_.Invalidate();
}

void FadeCycle::ChangeLine() {
    const CycleTiming timing = host_.Timing();
    const std::size_t count = lines_.Count();
    if (count > 0) {
        std::size_t next = index_ ? *index_ + 1 : 0;
        if (next >= count) {
            next = 0;
            if (index_ && timing.repeatCount > 0 && ++passes_ >= timing.repeatCount) {
                Stop();
                host_.Complete();
                return;
            }
        }
        index_ = next;
        DisplayLine line{lines_[next], host_.CurrentMarkup().EntryOf(lines_, next)};
        host_.BeginFade(line);
        display_ = std::move(line);
        steps_ = std::max(1, static_cast<int>(timing.fadeDelay / kFadeStepMs));
        step_ = 0;
        host_.StartTimer(BannerTimer::Fade, kFadeStepMs);
        host_.Invalidate();
    }
    // An empty list keeps the line on display; the next change comes a full delay later all the
    // same.
    host_.StartTimer(BannerTimer::Line, timing.lineDelay);
}

}  // namespace quenlo::banner

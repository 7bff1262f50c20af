// The status-line update: how a step replaces the banner's lines by its one status line. Written
// for any banner with the fade-text surface so that the exact sequence can be run against the
// cycle model in tests.
#pragma once

#include <string>

namespace quenlo::banner {

// The six operations, in this order and with nothing between them. The lock is raised and never
// lowered, so only the Clear of the first update of a run reaches the screen (as a redraw of the
// line on display); the status line itself appears at the next line change.
template <class Banner>
void ApplyStatusLine(Banner& banner, const std::string& line) {
    banner.Text.Lines.Clear();
    banner.Update();
    banner.RaiseUpdateLock();
    banner.Text.Lines.Add(line);
    banner.Update();
    banner.RaiseUpdateLock();
}

}  // namespace quenlo::banner

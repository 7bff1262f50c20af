// The status-line update: how a step writes its status line into the banner.
#pragma once

#include <string>

#include "toolkit/fadetext.h"

namespace quenlo::ui {

// Replaces the banner's lines by `line`. Nothing changes on screen at once: the
// line comes in with the banner's next line change, which needs a running
// message loop.
void WriteStatusLine(tk::TAAFadeText& banner, const std::string& line);

}  // namespace quenlo::ui

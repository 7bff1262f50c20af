#include "ui/status_line.h"

#include "core/banner/status_line.h"

namespace quenlo::ui {

void WriteStatusLine(tk::TAAFadeText& banner, const std::string& line) {
    quenlo::banner::ApplyStatusLine(banner, line);
}

}  // namespace quenlo::ui

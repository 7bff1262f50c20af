// Step three's fixed texts.
#pragma once

#include <string>

namespace quenlo::steps {

extern const char kRestoreDoneLine[];
extern const char kAllDoneLine[];
extern const char kStepThreeDone[];
extern const char kClientNext[];

// The program's 8-bit text in the system code page, as the data-access layer takes it.
std::wstring WideFromAnsi(const std::string& text);

}  // namespace quenlo::steps

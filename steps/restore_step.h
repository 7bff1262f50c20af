// Step three's fixed texts.
#pragma once

#include <string>

namespace quenlo::steps {

extern const char kRestoreDoneLine[];
extern const char kAllDoneLine[];
extern const char kStepThreeDone[];
extern const char kClientNext[];

}  // namespace quenlo::steps

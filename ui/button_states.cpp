#include "ui/button_states.h"

#include "ui/ff.h"

namespace quenlo::ui {

const std::array<bool, 4>& ButtonsOf(InstallState state) {
    for (const auto& row : kButtonStates) {
        if (row.state == state) return row.enabled;
    }
    static const std::array<bool, 4> none{};
    return none;
}

std::array<bool, 4> EnabledButtons(const TForm1& form) {
    return {form.BitBtn1->Enabled(), form.BitBtn2->Enabled(), form.BitBtn3->Enabled(),
            form.BitBtn4->Enabled()};
}

}  // namespace quenlo::ui

// The button-state sequence: which of the four buttons are enabled in each state of the
// installation. The installation's progress lives nowhere else.
#pragma once

#include <array>

class TForm1;

namespace quenlo::ui {

enum class InstallState {
    Ready,
    StepOneRunning,
    AfterStepOne,
    StepTwoRunning,
    AfterStepTwo,
    StepThreeRunning,
    Finished,
    StepOneOrTwoFailed,
    StepThreeFailed,
};

struct ButtonRow {
    InstallState state;
    // Exit (BitBtn1), step one (BitBtn2), step two (BitBtn3), step three (BitBtn4).
    std::array<bool, 4> enabled;
};

inline constexpr ButtonRow kButtonStates[] = {
    {InstallState::Ready, {true, true, false, false}},
    {InstallState::StepOneRunning, {false, false, false, false}},
    {InstallState::AfterStepOne, {false, false, true, false}},
    {InstallState::StepTwoRunning, {false, false, false, false}},
    {InstallState::AfterStepTwo, {false, false, false, true}},
    {InstallState::StepThreeRunning, {false, false, false, true}},
    {InstallState::Finished, {true, false, false, false}},
    {InstallState::StepOneOrTwoFailed, {false, false, false, false}},
    {InstallState::StepThreeFailed, {false, false, false, true}},
};

const std::array<bool, 4>& ButtonsOf(InstallState state);

// The buttons as they are now, in the table's order.
std::array<bool, 4> EnabledButtons(const TForm1& form);

}  // namespace quenlo::ui

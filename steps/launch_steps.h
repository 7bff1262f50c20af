// Steps one and two: start a program from the install folder, wait a fixed time, confirm.
#pragma once

namespace quenlo::steps {

struct LaunchStep {
    const char* statusLine;
    const char* commandLine;  // bare file name, looked for in the install folder
    unsigned long waitMs;
    const char* confirmation;
};

extern const LaunchStep kStepOne;
extern const LaunchStep kStepTwo;

// WinExec results up to this value mean the program could not be started.
constexpr unsigned kLastWinExecError = 31;

}  // namespace quenlo::steps

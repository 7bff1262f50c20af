// The program's message boxes.
#pragma once

#include <string>

#include "toolkit/exceptions.h"

namespace tk {

// The confirmation message: a program-modal box with the application title as caption, no icon,
// the text and one "OK" button. Returns when it has been closed, however that happened.
void ShowMessage(const std::string& text);

// What the run-time shows when the window cannot be created: "Application Error" with the error's
// class, module, code address and message. The caller then ends the program with exit code 1.
void ShowStartupError(const Exception& e);
void ShowStartupError(const std::exception& e);

// The startup error text, for tests: class name, module file name, address, message.
std::string StartupErrorText(const char* className, const std::string& module, const void* address,
                             const std::string& message);

}  // namespace tk

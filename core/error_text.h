// Texts of errors as the default error display shows them.
#pragma once

#include <string>
#include <string_view>

#include "core/install_folder.h"

namespace quenlo {

// The error display adds a full stop when the message's last character (a whole double-byte
// character counting as one) compares greater than '.'; empty messages stay empty.
std::string WithFullStop(std::string_view message, const LeadByteTest& isLead);

// Message of an I/O error by its Windows error code.
std::string IoErrorMessage(int code);

}  // namespace quenlo

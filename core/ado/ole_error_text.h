// The message of a failed data-access call, as the error display shows it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quenlo::ado {

// `text` without its trailing spaces, control characters and full stops. Works byte-wise on 8-bit
// text: trail bytes of code page 936 are 0x40 or above, so a double-byte character is never cut.
std::string TrimOleText(std::string_view text);

// The provider's description when it has one; otherwise the system's message text for `code`;
// otherwise "OLE error" and the code as eight hex digits. Both texts are trimmed first, so a text
// that trims to nothing counts as none.
std::string OleErrorMessage(std::string_view description, std::string_view systemMessage,
                            std::uint32_t code);

}  // namespace quenlo::ado

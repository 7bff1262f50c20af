#include "core/ado/ole_error_text.h"

#include <cstdio>

namespace quenlo::ado {

std::string TrimOleText(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0) {
        const unsigned char c = static_cast<unsigned char>(text[end - 1]);
        if (c > ' ' && c != '.' && c != 0x7F) break;
        --end;
    }
    return std::string(text.substr(0, end));
}

std::string OleErrorMessage(std::string_view description, std::string_view systemMessage,
                            std::uint32_t code) {
    std::string message = TrimOleText(description);
    if (message.empty()) message = TrimOleText(systemMessage);
    if (message.empty()) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "OLE error %.8x", static_cast<unsigned>(code));
        message = buf;
    }
    return message;
}

}  // namespace quenlo::ado

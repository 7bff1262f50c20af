#include "core/error_text.h"

#include <cstdio>

namespace quenlo {

std::string WithFullStop(std::string_view message, const LeadByteTest& isLead) {
    std::string out(message);
    if (message.empty()) return out;
    // Find where the last character starts: a forward scan keeps lead/trail pairs together.
    std::size_t last = 0;
    for (std::size_t i = 0; i < message.size(); ++i) {
        last = i;
        if (isLead(static_cast<unsigned char>(message[i])) && i + 1 < message.size()) ++i;
    }
    const bool doubleByte = last + 1 < message.size();
    // A double-byte character starts with a byte >= 0x81, so it always compares greater.
    if (doubleByte || static_cast<unsigned char>(message[last]) > '.') out += '.';
    return out;
}

std::string IoErrorMessage(int code) {
    switch (code) {
        case 2:
            return "File not found";
        case 3:
            return "Invalid filename";
        case 4:
            return "Too many open files";
        case 5:
            return "File access denied";
        case 100:
            return "Read beyond end of file";
        case 101:
            return "Disk full";
        case 106:
            return "Invalid numeric input";
        default: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "I/O error %d", code);
            return buf;
        }
    }
}

}  // namespace quenlo

#include "core/install_folder.h"

namespace quenlo {

bool IsCp936LeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

bool NoLeadBytes(unsigned char) { return false; }

std::size_t LastSeparatorPos(std::string_view path, const LeadByteTest& isLead) {
    std::size_t found = 0;
    // Walk forwards so that every lead byte takes its trail byte with it; a backwards walk cannot
    // tell a trail byte 0x5C from a real backslash.
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto b = static_cast<unsigned char>(path[i]);
        if (isLead(b) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (b == '\\' || b == ':') found = i + 1;
    }
    return found;
}

std::string InstallFolderFromPath(std::string_view path, const LeadByteTest& isLead) {
    const std::size_t p = LastSeparatorPos(path, isLead);
    if (p > 1 && path[p - 1] == '\\') {
        // The byte before the backslash is a single-byte separator only when it is not the trail
        // byte of a double-byte character, so ask the scan about the prefix once more.
        const std::size_t prev = LastSeparatorPos(path.substr(0, p - 1), isLead);
        const bool prevIsSeparator = prev == p - 1;
        if (!prevIsSeparator) return std::string(path.substr(0, p - 1));
    }
    return std::string(path.substr(0, p));
}

}  // namespace quenlo

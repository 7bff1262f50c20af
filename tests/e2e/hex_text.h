// Texts in the test tools' records come as the exact bytes in hex, so that a script can compare
// the program's code-page-936 bytes without any conversion in between.
#pragma once

#include <string>

inline std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string h;
    for (unsigned char c : bytes) {
        h.push_back(digits[c >> 4]);
        h.push_back(digits[c & 15]);
    }
    return h;
}

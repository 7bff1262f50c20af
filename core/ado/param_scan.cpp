#include "core/ado/param_scan.h"

#include <algorithm>

namespace quenlo::ado {

namespace {

bool IsNameChar(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
           c == L'_' || c >= 0x80;
}

wchar_t ClosingQuote(wchar_t c) {
    switch (c) {
        case L'\'':
            return L'\'';
        case L'"':
            return L'"';
        case L'[':
            return L']';
        default:
            return 0;
    }
}

}  // namespace

std::vector<std::wstring> ScanParameterNames(std::wstring_view text) {
    std::vector<std::wstring> names;
    std::size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (const wchar_t close = ClosingQuote(c)) {
            // A doubled quote inside a section ends it and opens the next one at once, which
            // leaves the scan inside quoted text just as the server reads it.
            const std::size_t end = text.find(close, i + 1);
            i = end == std::wstring_view::npos ? text.size() : end + 1;
            continue;
        }
        if (c != L':') {
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == L':') {
            i += 2;
            continue;
        }
        std::size_t end = i + 1;
        while (end < text.size() && IsNameChar(text[end])) ++end;
        if (end > i + 1) {
            std::wstring name(text.substr(i + 1, end - i - 1));
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(std::move(name));
            }
        }
        i = end;
    }
    return names;
}

}  // namespace quenlo::ado

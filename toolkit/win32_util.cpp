#include "toolkit/win32_util.h"

namespace tk {

bool IsLeadByteAcp(unsigned char b) { return IsDBCSLeadByte(b) != FALSE; }

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), n);
    return wide;
}

std::string AnsiFromWide(const wchar_t* text, std::size_t length) {
    if (!text || length == 0) return {};
    const int size = static_cast<int>(length);
    const int n = WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text, size, out.data(), n, nullptr, nullptr);
    return out;
}

BITMAPINFO TopDownBitmapInfo(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

}  // namespace tk

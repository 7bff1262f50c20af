// Small Win32 helpers the toolkit and the steps share: the ANSI code page's text rules and the one
// pixel layout every bitmap of the program is read and written in.
#pragma once

#include <windows.h>

#include <string>

namespace tk {

// Lead-byte test of the active ANSI code page (936 on the systems the program is made for).
bool IsLeadByteAcp(unsigned char b);

// The program's 8-bit text in the ANSI code page as UTF-16, and back.
std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const wchar_t* text, std::size_t length);

// A top-down 32-bit BGRX bitmap of `width` x `height` pixels.
BITMAPINFO TopDownBitmapInfo(int width, int height);

}  // namespace tk

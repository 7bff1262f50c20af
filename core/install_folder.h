// Install folder: the directory part of the running program's path.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quenlo {

// Tells whether a byte starts a double-byte character in the active ANSI code page.
using LeadByteTest = std::function<bool(unsigned char)>;

// Lead bytes of code page 936 (GBK): 0x81..0xFE.
bool IsCp936LeadByte(unsigned char b);

// A test for single-byte code pages: no byte is a lead byte.
bool NoLeadBytes(unsigned char b);

// 1-based position of the last '\\' or ':' in `path`, 0 when there is none. Trail bytes of
// double-byte characters are skipped, so a GBK character ending in 0x5C is not a separator.
std::size_t LastSeparatorPos(std::string_view path, const LeadByteTest& isLead);

// The install folder for a program path: no trailing backslash, except after a colon or a second
// backslash (C:\ stays C:\). A path without a separator gives an empty folder.
std::string InstallFolderFromPath(std::string_view path, const LeadByteTest& isLead);

}  // namespace quenlo

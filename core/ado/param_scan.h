// Parameter markers in a command text: what the command component finds when its text is set.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenlo::ado {

// Names of the parameter markers in `text`, in order of first appearance, each name once.
// A marker is a colon followed by a name (letters, digits, '_', or any non-ASCII character).
// Colons inside '...', "..." or [...] sections are text, not markers, and "::" stands for one
// literal colon (as in SQL Server's OBJECT::name), so neither starts a marker.
std::vector<std::wstring> ScanParameterNames(std::wstring_view text);

}  // namespace quenlo::ado

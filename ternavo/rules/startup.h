#pragma once
// What Ternavo decides at start-up from its command line, the system locale
// and ternavo.ini. Platform-free, so the rules can be checked natively.
#include <string>
#include "common/rules/startuptext.h"

namespace startup {

// A stored check box state: only exactly "1" counts as checked.
inline bool StoredChecked(const std::wstring& value) { return value == L"1"; }
// The stored shortcut box: "0" unticks it, anything else leaves it ticked as built.
inline bool StoredShortcut(const std::wstring& value) { return value != L"0"; }
// The stored instances choice: "1" selects "only one instance", anything else "allow" (entry 0).
inline int StoredInstances(const std::wstring& value) { return value == L"1" ? 1 : 0; }

}  // namespace startup

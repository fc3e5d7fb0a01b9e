#pragma once
// The shell's special folders (desktop and the like).
#include <string>

// Path of a shell folder (CSIDL) without trailing "\"; empty text when unknown.
std::wstring GetSpecialFolder(int csidl);

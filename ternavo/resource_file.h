#pragma once
// Writing one of Ternavo's own resources (the embedded Kestrun) into a file.
#include <windows.h>
#include <cstdint>
#include <string>

// Writes resource `id` of type `typeName` (of `module`, nullptr = this program)
// into `target` as a whole: the bytes go to a new file beside it that then
// replaces `target`, so a failure never leaves a half-written file. 0 on
// success, else the error number.
long ExtractResource(int16_t id, const std::wstring& typeName, const std::wstring& target,
                     HMODULE module = nullptr);

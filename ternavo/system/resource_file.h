#pragma once
// Writing one of Ternavo's own resources (the embedded Kestrun) into a file.
#include <windows.h>
#include <cstdint>
#include <string>

// Writes resource `id` of type `typeName` (of `module`, nullptr = this program)
// into `target` as a whole: the bytes go to a new file beside it that then
// replaces `target`, so a failure never leaves a half-written file. 0 on
// success, else the error number.
// The bytes of resource `id` of type `typeName` (of `module`, nullptr = this
// program), valid as long as the module is loaded; nullptr when it has none.
const void* ResourceBytes(int16_t id, const std::wstring& typeName, DWORD* size, HMODULE module = nullptr);
long ExtractResource(int16_t id, const std::wstring& typeName, const std::wstring& target,
                     HMODULE module = nullptr);

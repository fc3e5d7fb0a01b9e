#pragma once
// Writing one of Ternavo's own resources (the embedded Kestrun) into a file.
#include <windows.h>
#include <cstdint>
#include <string>

// Ternavo stores the starter packed (LZNT1, which ntdll unpacks on every
// Windows from XP on, behind its unpacked length in 4 bytes): it halves
// Ternavo.exe. The unpacked bytes of resource `id` of type `typeName` (of
// `module`, nullptr = this program) go to `bytes`; 0 on success, else the
// error number (a resource that does not unpack is ERROR_INVALID_DATA).
long UnpackedResource(int16_t id, const std::wstring& typeName, std::string& bytes, HMODULE module = nullptr);
// Writes resource `id` unpacked into `target` as a whole: the bytes go to a new
// file beside it that then replaces `target`, so a failure never leaves a
// half-written file. 0 on success, else the error number.
long ExtractResource(int16_t id, const std::wstring& typeName, const std::wstring& target,
                     HMODULE module = nullptr);

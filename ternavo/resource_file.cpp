#include "ternavo/resource_file.h"
#include <vector>
#include "common/winutil.h"
#include "ternavo/rules/folders.h"

namespace {

// Writes `size` bytes to a new file in the target's folder and moves it over
// the target. Returns 0 or the Windows error code; the target is either the
// old file or the complete new one.
DWORD WriteWholeFile(const std::wstring& target, const void* bytes, DWORD size) {
    size_t slash = target.find_last_of(L"\\/");
    std::wstring dir = slash == std::wstring::npos ? std::wstring(L".") : target.substr(0, slash + 1);
    // Windows refuses a folder too long for a temporary name; other systems
    // write the name past the buffer instead. Either way it is a failed write.
    size_t room = folders::TempNameRoom(dir);
    if (room == 0) return ERROR_FILENAME_EXCED_RANGE;
    std::vector<wchar_t> name(room, L'\0');
    if (!GetTempFileNameW(dir.c_str(), L"kes", 0, name.data())) return GetLastError();
    const wchar_t* temp = name.data();
    DWORD error = 0;
    {
        win::Handle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            error = GetLastError();
        } else {
            DWORD written = 0;
            if (!WriteFile(file.get(), bytes, size, &written, nullptr)) error = GetLastError();
            else if (written != size) error = ERROR_WRITE_FAULT;
            else if (!FlushFileBuffers(file.get())) error = GetLastError();
        }
    }
    if (error == 0 && !MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != 0) {
        DeleteFileW(temp);
        return error;
    }
    return 0;
}

long Failed(DWORD error) {
    return error != 0 ? static_cast<long>(error) : static_cast<long>(ERROR_GEN_FAILURE);
}

}  // namespace

const void* ResourceBytes(int16_t id, const std::wstring& typeName, DWORD* size, HMODULE module) {
    // Resource type names match whatever their case: "Custom" finds "CUSTOM".
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(static_cast<uint16_t>(id)), typeName.c_str());
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    *size = bytes ? SizeofResource(module, found) : 0;
    return bytes;
}

long ExtractResource(int16_t id, const std::wstring& typeName, const std::wstring& target, HMODULE module) {
    DWORD size = 0;
    const void* bytes = ResourceBytes(id, typeName, &size, module);
    if (!bytes) return Failed(GetLastError());
    DWORD error = WriteWholeFile(target, bytes, size);
    if (error != 0) return Failed(error);
    return 0;
}

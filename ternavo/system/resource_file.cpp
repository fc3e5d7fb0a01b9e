#include "ternavo/system/resource_file.h"
#include <vector>
#include "common/copy_whole.h"
#include "common/winutil.h"

namespace {

// Writes `size` bytes to a new file in the target's folder and moves it over
// the target. Returns 0 or the Windows error code; the target is either the
// old file or the complete new one.
DWORD WriteWholeFile(const std::wstring& target, const void* bytes, DWORD size) {
    std::wstring temp;
    DWORD error = 0;
    {
        win::Handle file = NewTempFileFor(target, temp);
        if (!file) return GetLastError() ? GetLastError() : ERROR_FILE_EXISTS;
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes, size, &written, nullptr)) error = GetLastError();
        else if (written != size) error = ERROR_WRITE_FAULT;
        else if (!FlushFileBuffers(file.get())) error = GetLastError();
    }
    if (error == 0 && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != 0) DeleteFileW(temp.c_str());
    return error;
}

long Failed(DWORD error) {
    return error != 0 ? static_cast<long>(error) : static_cast<long>(ERROR_GEN_FAILURE);
}

}  // namespace

long UnpackedResource(int16_t id, const std::wstring& typeName, std::string& bytes, HMODULE module) {
    bytes.clear();
    // Resource type names match whatever their case: "Custom" finds "CUSTOM".
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(static_cast<uint16_t>(id)), typeName.c_str());
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* packed = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    if (!packed) return Failed(GetLastError());
    const DWORD packedSize = SizeofResource(module, found);
    using DecompressFn = LONG(NTAPI*)(USHORT, PUCHAR, ULONG, PUCHAR, ULONG, PULONG);
    static const auto decompress = reinterpret_cast<DecompressFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlDecompressBuffer")));
    if (!decompress) return Failed(GetLastError());
    DWORD size = 0;
    if (packedSize < sizeof(size)) return ERROR_INVALID_DATA;
    CopyMemory(&size, packed, sizeof(size));
    // Packed in whole chunks of 4096 bytes, the last one padded with zeros.
    constexpr DWORD kChunk = 4096;
    if (size == 0 || size > 0x7FFFF000u) return ERROR_INVALID_DATA;
    const DWORD whole = (size + kChunk - 1) / kChunk * kChunk;
    bytes.resize(whole);
    ULONG unpacked = 0;
    constexpr USHORT kLznt1 = 2;  // COMPRESSION_FORMAT_LZNT1
    if (decompress(kLznt1, reinterpret_cast<PUCHAR>(bytes.data()), whole, const_cast<PUCHAR>(packed + sizeof(size)),
                   packedSize - sizeof(size), &unpacked) < 0 ||
        unpacked != whole) {
        bytes.clear();
        return ERROR_INVALID_DATA;
    }
    bytes.resize(size);
    return 0;
}

long ExtractResource(int16_t id, const std::wstring& typeName, const std::wstring& target, HMODULE module) {
    std::string bytes;
    if (long error = UnpackedResource(id, typeName, bytes, module)) return error;
    DWORD error = WriteWholeFile(target, bytes.data(), static_cast<DWORD>(bytes.size()));
    if (error != 0) return Failed(error);
    return 0;
}

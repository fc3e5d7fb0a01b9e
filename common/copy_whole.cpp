#include "common/copy_whole.h"
#include <windows.h>

FileFacts FactsOfFile(const std::wstring& path) {
    FileFacts facts;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return facts;
    facts.plainFile = true;
    facts.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    facts.lastWrite = static_cast<int64_t>(
        (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime);
    return facts;
}

void ClearAttributes(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

unsigned long CopyWhole(const std::wstring& source, const std::wstring& target) {
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return ERROR_ACCESS_DENIED;  // what copying onto a folder gives
    const std::wstring temporary = target + L".tmp";
    // A leftover of an earlier attempt (or a link of that name) goes first, so
    // that the copy below makes a new file and writes through nothing.
    ClearAttributes(temporary);
    DeleteFileW(temporary.c_str());
    if (!CopyFileW(source.c_str(), temporary.c_str(), TRUE)) return GetLastError();
    SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    ClearAttributes(target);
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
    DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    return error;
}

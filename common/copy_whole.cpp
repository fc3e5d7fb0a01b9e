#include "common/copy_whole.h"
#include <windows.h>
#include <tlhelp32.h>
#include "common/winutil.h"

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
    // Opened as itself, so that a link is seen as one and left alone.
    auto open = [&](DWORD access) {
        return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    };
    win::Handle file(open(FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES));
    // Wine run by an ordinary Unix user refuses that access on a read-only
    // file the user owns (Windows grants it): look with reading alone, and
    // change the attributes by name below.
    if (!file) file.reset(open(FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        !(info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        return;
    // Through the handle where the system can (from Vista on); before that by name.
    using SetInfoFn = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
    static const auto setInfo = reinterpret_cast<SetInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetFileInformationByHandle")));
    FILE_BASIC_INFO basic{};  // times of 0 stay as they are
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!setInfo || !setInfo(file.get(), FileBasicInfo, &basic, sizeof(basic)))
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

unsigned long CopyWhole(const std::wstring& source, const std::wstring& target) {
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return ERROR_ACCESS_DENIED;  // what copying onto a folder gives
    // What is there goes first (a link as itself), so that the copy below makes
    // a new file and writes through nothing. A copy that runs cannot go: it stays.
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        ClearAttributes(target);
        if (!DeleteFileW(target.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return GetLastError();
        // Reported deleted but still there (Wine reports success where the
        // folder refuses it): this user may not replace it.
        if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) return ERROR_ACCESS_DENIED;
    }
    if (!CopyFileW(source.c_str(), target.c_str(), TRUE)) {
        DWORD error = GetLastError();
        // Cut short (a full disk): what was written goes. Something that came
        // in between under that name is not ours.
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) DeleteFileW(target.c_str());
        return error;
    }
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return 0;
}

std::vector<std::wstring> RunningProgramNames() {
    std::vector<std::wstring> names;
    win::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return names;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        names.push_back(entry.szExeFile);
    return names;
}

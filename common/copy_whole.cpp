#include "common/copy_whole.h"
#include <windows.h>
#include <tlhelp32.h>
#include "common/winutil.h"

namespace {

// What the system said of a file: a folder or a link gives no facts.
FileFacts FactsOf(DWORD attributes, DWORD sizeHigh, DWORD sizeLow, FILETIME lastWrite) {
    FileFacts facts;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) return facts;
    facts.plainFile = true;
    facts.size = (static_cast<uint64_t>(sizeHigh) << 32) | sizeLow;
    facts.lastWrite = static_cast<int64_t>((static_cast<uint64_t>(lastWrite.dwHighDateTime) << 32) |
                                           lastWrite.dwLowDateTime);
    return facts;
}

}  // namespace

FileFacts FactsOfFile(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return {};
    return FactsOf(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
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

namespace {

// 64 bits from the system's random source (advapi32's RtlGenRandom, there
// since XP), or from the clock where it fails.
unsigned long long RandomBits() {
    using RandomFn = BOOLEAN(WINAPI*)(PVOID, ULONG);
    static const auto random = reinterpret_cast<RandomFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "SystemFunction036")));
    unsigned long long bits = 0;
    if (random && random(&bits, sizeof(bits))) return bits;
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<unsigned long long>(now.QuadPart) ^ (static_cast<unsigned long long>(GetCurrentProcessId()) << 32);
}

// Writes all of `source` from its start into `target`. 0 or the system's error.
DWORD CopyBytes(HANDLE source, HANDLE target) {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(source, start, nullptr, FILE_BEGIN)) return GetLastError();
    // On the heap: a static buffer would be stored in the program file, 64 KiB of zeros.
    std::string buffer(64 * 1024, '\0');
    for (;;) {
        DWORD read = 0, written = 0;
        if (!ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return GetLastError();
        if (read == 0) return 0;
        if (!WriteFile(target, buffer.data(), read, &written, nullptr)) return GetLastError();
        if (written != read) return ERROR_WRITE_FAULT;
    }
}

}  // namespace

win::Handle NewTempFileFor(const std::wstring& target, std::wstring& temp) {
    constexpr size_t kNameLength = 8;
    const size_t slash = target.find_last_of(L"\\/");
    const std::wstring dir = slash == std::wstring::npos ? std::wstring(L".\\") : target.substr(0, slash + 1);
    if (target.size() >= MAX_PATH || dir.size() + kNameLength >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return win::Handle();
    }
    for (int attempt = 0; attempt < 8; ++attempt) {
        wchar_t name[kNameLength + 1];
        wsprintfW(name, L"~%07lx", static_cast<unsigned long>(RandomBits() & 0xFFFFFFF));
        temp = dir + name;
        win::Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return win::Handle();
}

FileFacts FactsOfHandle(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return {};
    return FactsOf(info.dwFileAttributes, info.nFileSizeHigh, info.nFileSizeLow, info.ftLastWriteTime);
}

unsigned long CopyWhole(HANDLE source, const std::wstring& target) {
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return ERROR_ACCESS_DENIED;  // what copying onto a folder gives
    std::wstring temp;
    win::Handle copy = NewTempFileFor(target, temp);
    if (!copy) return GetLastError() ? GetLastError() : ERROR_FILE_EXISTS;
    DWORD error = CopyBytes(source, copy.get());
    FILETIME written{};
    if (error == 0 && !GetFileTime(source, nullptr, nullptr, &written)) error = GetLastError();
    if (error == 0 && !FlushFileBuffers(copy.get())) error = GetLastError();
    if (error == 0 && !SetFileTime(copy.get(), nullptr, nullptr, &written)) error = GetLastError();
    copy.reset();
    if (error == 0) {
        // A read-only file cannot be replaced; a link keeps its target's attributes.
        if (attributes != INVALID_FILE_ATTRIBUTES) ClearAttributes(target);
        if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            error = GetLastError();
    }
    if (error != 0) DeleteFileW(temp.c_str());  // cut short: what was written goes
    return error;
}

unsigned long CopyWhole(const std::wstring& source, const std::wstring& target) {
    win::Handle file(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    return CopyWhole(file.get(), target);
}

std::vector<int32_t> RunningCopiesIn(const std::wstring& dir) {
    using QueryNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    static const auto queryName = reinterpret_cast<QueryNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
    std::vector<int32_t> running;
    win::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return running;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        // Only a process of a copy's name is asked for its program file: a
        // launch opens no other process.
        const int32_t nr = CopyNumberOf(entry.szExeFile);
        if (nr == 0) continue;
        std::wstring image;
        if (queryName) {
            win::Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
            wchar_t buffer[MAX_PATH * 4];
            DWORD size = ARRAYSIZE(buffer);
            if (process && queryName(process.get(), 0, buffer, &size)) image.assign(buffer, size);
        } else {
            // Before Vista: the process's first module is its program file.
            win::Handle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, entry.th32ProcessID));
            MODULEENTRY32W module{};
            module.dwSize = sizeof(module);
            if (modules && Module32FirstW(modules.get(), &module)) image = module.szExePath;
        }
        if (win::SamePath(image, dir + CopyNameFor(nr))) running.push_back(nr);
    }
    return running;
}

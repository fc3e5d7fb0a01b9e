#include "ternavo/steps/held_folder.h"
#include "ternavo/system/long_path.h"

namespace {

std::wstring WithoutBackslash(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

// Any folder on the way to `path` (the drive's root left out) that is a
// junction or symbolic link. Asked by name, one folder at a time: that is what
// every Windows and Wine report, even before the system has final paths.
bool LinkOnTheWay(const std::wstring& path) {
    // The first name below the root: after "C:\" or after "\\server\share\".
    size_t root = 2;
    if (path.rfind(L"\\\\", 0) == 0) {
        root = path.find(L'\\', path.find(L'\\', 2) + 1);
        if (root == std::wstring::npos) return false;  // the share itself
    }
    for (size_t cut = path.find(L'\\', root + 1);; cut = path.find(L'\\', cut + 1)) {
        DWORD attributes = GetFileAttributesW(path.substr(0, cut).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
        if (cut == std::wstring::npos) return false;
    }
}

// Where the handle really leads, as "C:\..." or "\\server\share\...": from
// Vista on the system knows. Empty text where it cannot tell.
std::wstring FinalPath(HANDLE handle) {
    using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    static const auto finalPath = reinterpret_cast<FinalPathFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    if (!finalPath) return {};
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD n = finalPath(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (n >= buffer.size()) {
        buffer.resize(n + 1);
        n = finalPath(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    if (n == 0 || n >= buffer.size()) return {};
    buffer.resize(n);
    if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + buffer.substr(7);
    if (buffer.rfind(L"\\\\?\\", 0) == 0) return buffer.substr(4);
    return buffer;
}

}  // namespace

HeldFolder::HeldFolder(const std::wstring& dir) {
    if (dir.empty()) return;
    const std::wstring path = WithoutBackslash(GetLongPath(GetFullPath(win::WithBackslash(dir))));
    if (path.size() < 3) return;
    if (LinkOnTheWay(path)) {
        linked_ = true;
        return;
    }
    // Read access takes part in sharing (attributes alone would not), and
    // without delete sharing the folder cannot be renamed while it is held.
    // Its owner and access list are read through the same handle.
    handle_.reset(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle_ || !GetFileInformationByHandle(handle_.get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        linked_ = handle_ && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        handle_.reset();
        return;
    }
    // A link swapped in between the look along the way and the opening shows
    // here: the held folder must lie exactly where its name says.
    std::wstring final = FinalPath(handle_.get());
    if (!final.empty() && !win::SamePath(WithoutBackslash(final), path)) {
        linked_ = true;
        handle_.reset();
        return;
    }
    path_ = win::WithBackslash(path);
}

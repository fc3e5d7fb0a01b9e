#include "ternavo/steps/held_folder.h"
#include "ternavo/steps/held_folder_looks.h"
#include "ternavo/system/long_path.h"

namespace {

std::wstring WithoutBackslash(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
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
    std::wstring final = FinalPathOf(handle_.get());
    if (!final.empty() && !win::SamePath(WithoutBackslash(final), path)) {
        linked_ = true;
        handle_.reset();
        return;
    }
    path_ = win::WithBackslash(path);
}

#pragma once
// The ICQ 7 folder as the steps that change it see it: opened once, checked,
// and held for the whole run. While it is held nobody can rename it (it is
// open without delete sharing, and Windows renames no folder above an open
// one), and no junction or symbolic link lies anywhere on its path. The steps
// name their files through it, so that each of them works inside the folder
// that was checked.
#include <windows.h>
#include <string>
#include "common/winutil.h"

class HeldFolder {
public:
    // Opens `dir` (any form: relative, 8.3, with or without "\"). Held() is
    // false when it is no folder, cannot be opened, or is reached through a link.
    explicit HeldFolder(const std::wstring& dir);
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    bool Held() const { return handle_.valid() && !path_.empty(); }
    // Not held because a junction or link lies on its path or is the folder itself.
    bool Linked() const { return linked_; }
    // The verified path, full and long, ending in "\".
    const std::wstring& Path() const { return path_; }
    // A file directly inside the folder.
    std::wstring File(const std::wstring& name) const { return path_ + name; }
    HANDLE Handle() const { return handle_.get(); }

private:
    win::Handle handle_;
    std::wstring path_;
    bool linked_ = false;
};

// Kestrun in the ICQ 7 folder: written whole from the copy Ternavo carries,
// or removed with its settings file and numbered copies; its desktop shortcut.
#include "ternavo/steps/install.h"
#include <windows.h>
#include <shlobj.h>
#include <string>
#include "common/copy_whole.h"
#include "common/files.h"
#include "common/winutil.h"
#include "common/rules/copyrule.h"
#include "ternavo/steps/numbered_copies.h"
#include "ternavo/resource.h"
#include "ternavo/system/resource_file.h"
#include "ternavo/system/shortcut.h"
#include "ternavo/system/special_folder.h"

namespace {

// What a file of the folder is, looked at as itself (a link is not followed).
apply::Refusal RefusalOfFile(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? apply::Refusal::None
                                                                              : apply::Refusal::FolderUnavailable;
    }
    // Wine shows its links by name only: the handle below would be the target's.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return apply::Refusal::Link;
    win::Handle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.get(), &info)) return apply::Refusal::FolderUnavailable;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return apply::Refusal::Link;
    // A folder in a file's place is no link: the step that meets it fails.
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && info.nNumberOfLinks > 1) return apply::Refusal::Link;
    return apply::Refusal::None;
}

// The user's desktop folder with "\", or empty text when the system does not
// name one (a shortcut is then neither made nor deleted: "\Kestrun.lnk" would
// be the root of the current drive).
std::wstring DesktopFolder() {
    std::wstring desktop = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    return desktop.empty() ? desktop : win::WithBackslash(desktop);
}

// Kestrun's numbered copies of ICQ.exe and their marker files, read-only ones
// included. A copy that is running cannot be deleted (the system refuses,
// error 5): it stays, and comes back as left in use, with the system's reason.
// DeleteFileW deletes a link itself, never what it points at.
std::vector<apply::Failure> DeleteNumberedCopies(const HeldFolder& folder) {
    std::vector<apply::Failure> left;
    for (int32_t nr = 1; nr <= kMostCopies; ++nr)
        if (unsigned long error = RemoveNumberedCopy(folder, nr)) left.push_back({apply::Step::RemoveStarter, error, nr});
    return left;
}

// Puts the embedded starter in place of `target`, whole or not at all. The old
// copy is not deleted first: the new file replaces it in one move, so a write
// that fails (a full disk, a scanner holding the old copy) keeps it as it was,
// read-only included. 0 or the system's error code.
unsigned long WriteStarter(const std::wstring& target) {
    DWORD attributes = GetFileAttributesW(target.c_str());
    ClearAttributes(target);  // a read-only file cannot be replaced
    long error = ExtractResource(IDR_STARTER, L"Custom", target);
    if (error != 0 && attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(target.c_str(), attributes);
    return static_cast<unsigned long>(error);
}

}  // namespace

apply::Refusal StarterFilesRefusal(const HeldFolder& folder) {
    for (const wchar_t* name : {L"ICQ.exe", L"MCore.dll", L"Kestrun.exe", L"kestrun.ini"})
        if (apply::Refusal why = RefusalOfFile(folder.File(name)); why != apply::Refusal::None) return why;
    for (int32_t nr = 1; nr <= kMostCopies; ++nr) {
        std::wstring copy = folder.File(CopyNameFor(nr));
        for (const std::wstring& file : {copy, copy + L".csassembly", copy + L".tmp"})
            if (apply::Refusal why = RefusalOfFile(file); why != apply::Refusal::None) return why;
    }
    return apply::Refusal::None;
}

std::vector<apply::Failure> InstallStarter(const HeldFolder& folder, HANDLE icqFile) {
    if (unsigned long error = WriteStarter(folder.File(L"Kestrun.exe")))
        return {{apply::Step::InstallStarter, error, 0}};
    // Kestrun run by a user who may not write here starts these copies. How
    // many the folder uses is read from the old kestrun.ini, so before it goes.
    std::vector<apply::Failure> failed = PrepareNumberedCopies(folder, icqFile);
    // The old settings go with the new starter only.
    DeleteFileW(folder.File(L"kestrun.ini").c_str());
    return failed;
}

std::vector<apply::Failure> RemoveStarter(const HeldFolder& folder) {
    ClearAttributes(folder.File(L"Kestrun.exe"));
    DWORD error = DeleteFileW(folder.File(L"Kestrun.exe").c_str()) ? 0 : GetLastError();
    DeleteFileW(folder.File(L"kestrun.ini").c_str());
    std::vector<apply::Failure> failed = DeleteNumberedCopies(folder);
    if (FileExists(folder.File(L"Kestrun.exe")))  // reported deleted, yet there (Wine, a folder that refuses)
        failed.insert(failed.begin(), {apply::Step::RemoveStarter, error != 0 ? error : ERROR_ACCESS_DENIED, 0});
    return failed;
}

bool StarterInPlace(const std::wstring& dir) {
    std::string bytes;
    if (UnpackedResource(IDR_STARTER, L"Custom", bytes) != 0) return false;
    const DWORD size = static_cast<DWORD>(bytes.size());
    win::Handle file(CreateFileW((dir + L"Kestrun.exe").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER length{};
    if (!file || !GetFileSizeEx(file.get(), &length) || length.QuadPart != size) return false;
    std::string content(size, '\0');
    DWORD read = 0;
    return ReadFile(file.get(), content.data(), size, &read, nullptr) && read == size && content == bytes;
}

void CreateDesktopShortcut(const std::wstring& dir) {
    std::wstring desktop = DesktopFolder();
    if (!desktop.empty()) CreateShortcut(dir + L"Kestrun.exe", desktop + L"Kestrun.lnk", dir);
}

void DeleteDesktopShortcut() {
    std::wstring desktop = DesktopFolder();
    if (!desktop.empty()) DeleteFileW((desktop + L"Kestrun.lnk").c_str());
}

#include "ternavo/module1.h"
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <cwctype>
#include <vector>
#include "common/winutil.h"
#include "ternavo/app.h"

namespace {

// Rights used by every registry call: reading and testing, or creating and writing.
constexpr REGSAM kReadAccess = 0x19;   // query values, enumerate sub-keys, notify
constexpr REGSAM kWriteAccess = 0x3F;  // all specific key rights

[[maybe_unused]] bool StartsWithNoCase(const std::wstring& text, const std::wstring& head) {
    if (text.size() < head.size()) return false;
    for (size_t i = 0; i < head.size(); ++i)
        if (std::towlower(text[i]) != std::towlower(head[i])) return false;
    return true;
}

}  // namespace

std::wstring BrowseForFile(HWND owner, const std::wstring& initialDir, const std::wstring& filter,
                           const std::wstring& defaultExt, const std::wstring& title) {
    // The shell exports this dialog by ordinal only.
    using BrowseFn = BOOL(WINAPI*)(HWND, LPWSTR, UINT, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR);
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    win::Library loaded;
    if (!shell) {
        loaded.reset(LoadLibraryW(L"shell32.dll"));
        shell = loaded.get();
    }
    if (!shell) return {};
    auto browse = reinterpret_cast<BrowseFn>(GetProcAddress(shell, MAKEINTRESOURCEA(63)));
    if (!browse) return {};

    // "Text|pattern|..." becomes the dialog's list: NUL-separated, ending in two NULs.
    std::wstring list = filter;
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    list.push_back(L'\0');

    // A blank buffer: the dialog's file box starts empty, and a cancelled
    // dialog leaves it empty, which is the "no choice" answer.
    std::vector<wchar_t> buffer(257, L'\0');
    browse(owner, buffer.data(), 256, initialDir.empty() ? nullptr : initialDir.c_str(),
           defaultExt.empty() ? nullptr : defaultExt.c_str(), list.c_str(), title.c_str());
    std::wstring chosen(buffer.data());
    size_t first = chosen.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    size_t last = chosen.find_last_not_of(L' ');
    return chosen.substr(first, last - first + 1);
}

bool IsWindowsNT() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

REGSAM RegistryView(HKEY root, const std::wstring& key) {
#ifdef _WIN64
    if (root == HKEY_LOCAL_MACHINE) {
        // A key that names "Wow6432Node" itself is where a 32-bit program on
        // 64-bit Windows reads it too: that very key, not one nested below
        // another "Wow6432Node".
        if (StartsWithNoCase(key, L"SOFTWARE\\Wow6432Node\\")) return KEY_WOW64_64KEY;
        return KEY_WOW64_32KEY;
    }
    if (root == HKEY_CLASSES_ROOT) return KEY_WOW64_32KEY;
#else
    (void)root;
    (void)key;
#endif
    return 0;
}

bool RegCreateKey(HKEY root, const std::wstring& key, const std::wstring& className) {
    win::RegKey k;
    DWORD disposition = 0;
    std::wstring cls = className;
    if (RegCreateKeyExW(root, key.c_str(), 0, cls.empty() ? nullptr : cls.data(), REG_OPTION_NON_VOLATILE,
                        kWriteAccess | RegistryView(root, key), nullptr, k.put(), &disposition) != ERROR_SUCCESS)
        return false;
    RegFlushKey(k.get());
    return disposition == REG_CREATED_NEW_KEY;
}

bool RegKeyExists(HKEY root, const std::wstring& key) {
    win::RegKey k;
    return RegOpenKeyExW(root, key.c_str(), 0, kReadAccess | RegistryView(root, key), k.put()) == ERROR_SUCCESS;
}

namespace {

bool WriteValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                DWORD size) {
    win::RegKey k;
    if (RegOpenKeyExW(root, key.c_str(), 0, kWriteAccess | RegistryView(root, key), k.put()) != ERROR_SUCCESS) {
        LastStatus = L"No!";
        return false;
    }
    return RegSetValueExW(k.get(), name.empty() ? nullptr : name.c_str(), 0, type,
                          static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

}  // namespace

bool RegWriteValue(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value) {
    // The text with its terminating NUL.
    return WriteValue(root, key, name, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool RegWriteValue(HKEY root, const std::wstring& key, const std::wstring& name, int32_t value) {
    DWORD dword = static_cast<DWORD>(value);
    return WriteValue(root, key, name, REG_DWORD, &dword, sizeof(dword));
}

long RegReadValue(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& out) {
    win::RegKey k;
    LONG rc = RegOpenKeyExW(root, key.c_str(), 0, kReadAccess | RegistryView(root, key), k.put());
    if (rc != ERROR_SUCCESS) return rc;
    const wchar_t* valueName = name.empty() ? nullptr : name.c_str();
    DWORD size = 0;
    rc = RegQueryValueExW(k.get(), valueName, nullptr, nullptr, nullptr, &size);
    if (rc != ERROR_SUCCESS) return rc;
    // Room for the data and a terminator, whatever the value's type and length.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD got = size;
    rc = RegQueryValueExW(k.get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (rc != ERROR_SUCCESS) return rc;
    out.assign(buffer.data());  // up to the first NUL
    return 0;
}

std::wstring GetLongPath(const std::wstring& path) {
    // A path of MAX_PATH characters or more is not converted: the registry
    // texts of the ICQ 7 search can be that long, and the system's conversion
    // of a very long name overran its own buffer (seen under Wine with a
    // 64 KB value) and ended Ternavo at start-up.
    if (path.size() >= MAX_PATH) return path;
    std::vector<wchar_t> buffer(260);
    for (;;) {
        DWORD n = GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return path;
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(n + 1);  // a long form of 260 characters or more: ask again with room for it
    }
}

std::wstring GetFileVersion(const std::wstring& path) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0) return {};
    std::vector<BYTE> data(size + 1);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info ||
        len < sizeof(VS_FIXEDFILEINFO))
        return {};
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionLS));
}

namespace {

// Writes `size` bytes to a new file in the target's folder and moves it over
// the target. Returns 0 or the Windows error code; the target is either the
// old file or the complete new one.
DWORD WriteWholeFile(const std::wstring& target, const void* bytes, DWORD size) {
    size_t slash = target.find_last_of(L"\\/");
    std::wstring dir = slash == std::wstring::npos ? std::wstring(L".") : target.substr(0, slash + 1);
    wchar_t temp[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(dir.c_str(), L"kes", 0, temp)) return GetLastError();
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
    LastStatus = L"No!";
    return error != 0 ? static_cast<long>(error) : static_cast<long>(ERROR_GEN_FAILURE);
}

}  // namespace

long ExtractResource(int16_t id, const std::wstring& typeName, const std::wstring& target, HMODULE module) {
    // Resource type names match whatever their case: "Custom" finds "CUSTOM".
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(static_cast<uint16_t>(id)), typeName.c_str());
    if (!found) return Failed(GetLastError());
    HGLOBAL loaded = LoadResource(module, found);
    DWORD size = SizeofResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return Failed(GetLastError());
    DWORD error = WriteWholeFile(target, bytes, size);
    if (error != 0) return Failed(error);
    return 0;
}

HRESULT CreateShortcut(const std::wstring& target, const std::wstring& link, const std::wstring& workingDir) {
    win::ComScope com;
    win::ComPtr<IShellLinkW> shortcut;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  shortcut.put_void());
    if (FAILED(hr)) return hr;
    if (FAILED(hr = shortcut->SetPath(target.c_str()))) return hr;
    if (FAILED(hr = shortcut->SetIconLocation(target.c_str(), 0))) return hr;
    if (FAILED(hr = shortcut->SetWorkingDirectory(workingDir.c_str()))) return hr;
    win::ComPtr<IPersistFile> file;
    if (FAILED(hr = shortcut->QueryInterface(IID_IPersistFile, file.put_void()))) return hr;
    return file->Save(link.c_str(), TRUE);
}

std::wstring GetSpecialFolder(int csidl) {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(MainWindow(), csidl, &items)) || !items) return {};
    wchar_t path[512] = {};
    BOOL ok = SHGetPathFromIDListW(items, path);
    CoTaskMemFree(items);
    return ok ? std::wstring(path) : std::wstring();
}

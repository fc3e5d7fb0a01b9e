#include "ternavo/system/registry.h"
#include <cwctype>
#include <vector>
#include "common/winutil.h"

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
    LONG rc = RegOpenKeyExW(root, key.c_str(), 0, kWriteAccess | RegistryView(root, key), k.put());
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExW(k.get(), name.empty() ? nullptr : name.c_str(), 0, type, static_cast<const BYTE*>(data),
                            size);
    SetLastError(static_cast<DWORD>(rc));  // the reason, for a caller that reports it
    return rc == ERROR_SUCCESS;
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

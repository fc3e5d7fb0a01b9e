// Registry values of the ICQ 7 search that are not what an installer writes:
// other types (REG_DWORD, REG_BINARY, REG_MULTI_SZ, REG_QWORD), text without
// its terminating zero, and values of 64 KB. Reading one never goes past the
// value, and the search goes on past all of them to the next usable candidate.
#include <gtest/gtest.h>
#include "ternavo/system/long_path.h"
#include "ternavo/system/registry.h"
#include "tests/windows/ternavo_window/driver.h"

namespace {

const wchar_t kKey[] = L"Software\\Ternavo hardening";

void Put(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD size,
         REGSAM view = 0) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(k, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(k);
}
void PutText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text, REGSAM view = 0) {
    Put(root, key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), view);
}

std::wstring Read(const wchar_t* name, long* rc = nullptr) {
    std::wstring out = L"untouched";
    long r = RegReadValue(HKEY_CURRENT_USER, kKey, name, out);
    if (rc) *rc = r;
    return out;
}

}  // namespace

TEST(RegistryValues, AnyTypeAndLengthIsReadUpToItsEndAndNoFurther) {
    DWORD dword = 0x00420041;  // the bytes of "AB" in UTF-16
    Put(HKEY_CURRENT_USER, kKey, L"dword", REG_DWORD, &dword, sizeof dword);
    unsigned long long qword = 0x0043004200410043ull;
    Put(HKEY_CURRENT_USER, kKey, L"qword", REG_QWORD, &qword, sizeof qword);
    const char odd[] = {'a', 'b', 'c'};  // three bytes: one and a half characters
    Put(HKEY_CURRENT_USER, kKey, L"odd", REG_BINARY, odd, sizeof odd);
    Put(HKEY_CURRENT_USER, kKey, L"empty", REG_BINARY, nullptr, 0);
    const wchar_t multi[] = L"D:\\one\0D:\\two\0";
    Put(HKEY_CURRENT_USER, kKey, L"multi", REG_MULTI_SZ, multi, sizeof multi);
    const wchar_t open[] = {L'a', L'b', L'c'};  // text without its terminating zero
    Put(HKEY_CURRENT_USER, kKey, L"unterminated", REG_SZ, open, sizeof open);
    std::string big(65536, 'A');
    Put(HKEY_CURRENT_USER, kKey, L"big binary", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
    std::wstring bigText(32767, L'x');
    PutText(HKEY_CURRENT_USER, kKey, L"big text", bigText);

    EXPECT_EQ(Read(L"dword"), L"AB");
    EXPECT_EQ(Read(L"qword"), L"CABC");
    EXPECT_EQ(Read(L"odd"), std::wstring(1, static_cast<wchar_t>('a' | ('b' << 8))) + L"c");
    EXPECT_EQ(Read(L"empty"), L"");
    EXPECT_EQ(Read(L"multi"), L"D:\\one");
    EXPECT_EQ(Read(L"unterminated"), L"abc");
    EXPECT_EQ(Read(L"big binary"), std::wstring(32768, static_cast<wchar_t>(0x4141)));
    EXPECT_EQ(Read(L"big text"), bigText);
    long rc = 0;
    EXPECT_EQ(Read(L"missing", &rc), L"untouched");
    EXPECT_NE(rc, 0);
    RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
}

TEST(RegistryValues, LongPathFormOfAHugeTextEnds) {
    std::wstring huge = L"C:\\" + std::wstring(32000, L'a') + L"\\ICQ.exe \"%1\"";
    EXPECT_EQ(GetLongPath(huge), huge);
    std::wstring bare(32768, static_cast<wchar_t>(0x5C5C));
    EXPECT_EQ(GetLongPath(bare), bare);
}

TEST(RegistryValues, TheSearchGoesOnPastOddCandidatesToAUsableOne) {
    // Where a 32-bit program reads them (Ternavo's view of the registry).
    const std::wstring ie = L"SOFTWARE\\Microsoft\\Internet Explorer\\";
    const std::wstring clsid = L"{73C6DCFB-B606-47F3-BDFA-9A4FBF931E37}";
    DWORD dword = 0x0043003A;  // "C:"
    Put(HKEY_LOCAL_MACHINE, ie + L"Extensions\\" + clsid, L"Exec", REG_DWORD, &dword, sizeof dword, KEY_WOW64_32KEY);
    std::string big(65536, '\\');
    Put(HKEY_LOCAL_MACHINE, ie + L"Low Rights\\ElevationPolicy\\" + clsid, L"AppName", REG_BINARY, big.data(),
        static_cast<DWORD>(big.size()), KEY_WOW64_32KEY);
    const wchar_t multi[] = L"D:\\not\\here\\ICQ.exe\0C:\\also\\not\\ICQ.exe\0";
    Put(HKEY_CLASSES_ROOT, L"icq\\shell\\open\\command", nullptr, REG_MULTI_SZ, multi, sizeof multi, KEY_WOW64_32KEY);
    PutText(HKEY_CLASSES_ROOT, L"icquser\\shell\\open\\command", nullptr,
            L"\"C:\\" + std::wstring(32000, L'a') + L"\\ICQ.exe\" \"%1\"", KEY_WOW64_32KEY);
    const char odd[] = {'C', ':', '\\'};
    Put(HKEY_CURRENT_USER, L"Software\\America Online\\AOL Diagnostics\\AOLMaximusICQWin321211", L"ICQ.exe",
        REG_BINARY, odd, sizeof odd);
    unsigned long long qword = ~0ull;
    Put(HKEY_LOCAL_MACHINE,
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{88EB38EF-4D2C-436D-ABD3-56B232674062}",
        L"InstallLocation", REG_QWORD, &qword, sizeof qword, KEY_WOW64_32KEY);
    // The last but one candidate is a real ICQ 7.
    std::wstring dir = wt::NewDir(L"usable");
    wt::InstallStandIn(dir);
    PutText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe", L"Path",
            dir.substr(0, dir.size() - 1), KEY_WOW64_32KEY);

    tv::Ternavo t(L"tvreg");
    ASSERT_TRUE(t.Start());
    EXPECT_EQ(t.FolderBox(), dir.substr(0, dir.size() - 1));
    t.Press(t.C("ExitButton"));
    ASSERT_TRUE(t.proc.WaitExit(15000));
    EXPECT_EQ(t.proc.ExitCode(), 0u);
}

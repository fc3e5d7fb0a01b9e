// The ICQ folder test, the ICQ 7 version test and the search over the 24
// candidates, with folders and registry values seeded in this throwaway prefix.
#include <gtest/gtest.h>
#include "ternavo/window/run_state.h"
#include "ternavo/steps/icq7path.h"
#include "tests/windows/support/wt.h"
#include "tests/windows/ternavo_helpers/doubles.h"
#include "tests/windows/ternavo_helpers/versioned.h"

namespace {

const wchar_t* const kFixedFolders[] = {
    L"C:\\Program Files\\ICQ7\\",        L"C:\\Program Files\\ICQ7.1\\",       L"C:\\Program Files\\ICQ7.2\\",
    L"C:\\Program Files\\ICQ7.3\\",      L"C:\\Program Files\\ICQ7.4\\",       L"C:\\Program Files (x86)\\ICQ7\\",
    L"C:\\Program Files (x86)\\ICQ7.1\\", L"C:\\Program Files (x86)\\ICQ7.2\\", L"C:\\Program Files (x86)\\ICQ7.3\\",
    L"C:\\Program Files (x86)\\ICQ7.4\\", L"C:\\Programme\\ICQ7\\",           L"C:\\Programme\\ICQ7.1\\",
    L"C:\\Programme\\ICQ7.2\\",          L"C:\\Programme\\ICQ7.3\\",           L"C:\\Programme\\ICQ7.4\\",
};

// Where the candidates' values live for a 32-bit program (32-bit view of HKLM and HKCR).
struct Seed { HKEY root; const wchar_t* key; REGSAM view; };
const wchar_t kIeExtension[] =
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\Extensions\\{73C6DCFB-B606-47F3-BDFA-9A4FBF931E37}";
const wchar_t kIeElevation[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\Low Rights\\ElevationPolicy\\"
                               L"{73C6DCFB-B606-47F3-BDFA-9A4FBF931E37}";
const wchar_t kUninstall[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{88EB38EF-4D2C-436D-ABD3-56B232674062}";
const wchar_t kAppPaths[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe";
const wchar_t kAppPathsWow[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe";
const wchar_t kAol[] = L"Software\\America Online\\AOL Diagnostics\\AOLMaximusICQWin321211";

void SetValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value, REGSAM view) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}

// A 32-bit program's write: 32-bit view of HKLM and HKCR; the Wow6432Node
// keys are written where they physically are.
void Seed32(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    REGSAM view = 0;
    if (root == HKEY_LOCAL_MACHINE)
        view = key.rfind(L"SOFTWARE\\Wow6432Node\\", 0) == 0 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    else if (root == HKEY_CLASSES_ROOT)
        view = KEY_WOW64_32KEY;
    SetValue(root, key, name, value, view);
}

class Search : public ::testing::Test {
protected:
    void SetUp() override {
        Clean();
        doubles::Reset();
        empty_ = wt::NewDir(L"ternavo-home");  // Ternavo's own folder, without ICQ
    }
    void TearDown() override { Clean(); }

    static void Clean() {
        for (const wchar_t* f : kFixedFolders) wt::RemoveTree(f);
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            for (const wchar_t* k : {kIeExtension, kIeElevation, kUninstall, kAppPaths, kAppPathsWow})
                RegDeleteKeyExW(HKEY_LOCAL_MACHINE, k, view, 0);
            for (const wchar_t* k : {L"icq\\shell\\open\\command", L"icquser\\shell\\open\\command"})
                RegDeleteKeyExW(HKEY_CLASSES_ROOT, k, view, 0);
        }
        RegDeleteKeyW(HKEY_CURRENT_USER, kAol);
    }

    static std::wstring Icq(const std::wstring& dir, const std::wstring& kind = L"icq7") {
        std::wstring d = wt::EnsureDir(dir);
        wt::InstallStandIn(d, kind);
        return d;
    }

    std::wstring empty_;
};

TEST_F(Search, FolderTest) {
    std::wstring dir = Icq(wt::NewDir(L"isdir"));
    EXPECT_TRUE(IsICQDirectory(dir));
    EXPECT_TRUE(IsICQDirectory(dir.substr(0, dir.size() - 1)));  // with or without "\": alike
    EXPECT_FALSE(IsICQDirectory(L""));
    EXPECT_FALSE(IsICQDirectory(empty_));

    std::wstring onlyExe = wt::NewDir(L"onlyexe");
    CopyFileW((dir + L"ICQ.exe").c_str(), (onlyExe + L"ICQ.exe").c_str(), FALSE);
    EXPECT_FALSE(IsICQDirectory(onlyExe));
    std::wstring onlyDll = wt::NewDir(L"onlydll");
    CopyFileW((dir + L"MCore.dll").c_str(), (onlyDll + L"MCore.dll").c_str(), FALSE);
    EXPECT_FALSE(IsICQDirectory(onlyDll));
    // Folders of those names do not count as the files.
    std::wstring fake = wt::NewDir(L"fake");
    CreateDirectoryW((fake + L"ICQ.exe").c_str(), nullptr);
    CreateDirectoryW((fake + L"MCore.dll").c_str(), nullptr);
    EXPECT_FALSE(IsICQDirectory(fake));

    // A drive root holding both files is too short to be an installation.
    Icq(L"C:\\");
    EXPECT_FALSE(IsICQDirectory(L"C:\\"));
    EXPECT_FALSE(IsICQDirectory(L"C:"));
    DeleteFileW(L"C:\\ICQ.exe");
    DeleteFileW(L"C:\\MCore.dll");
}

TEST_F(Search, VersionTestWantsSevenInBothFiles) {
    EXPECT_TRUE(IsICQ7Version(wt::FixtureDir(L"icq7")));
    EXPECT_FALSE(IsICQ7Version(wt::FixtureDir(L"icq6")));
    struct Case { WORD exe, dll; bool passes; };
    for (Case c : {Case{7, 7, true}, Case{7, 6, false}, Case{6, 7, false}, Case{17, 7, false}, Case{7, 70, false}}) {
        std::wstring dir = wt::NewDir(L"vt");
        ASSERT_TRUE(versioned::Make(dir + L"ICQ.exe", c.exe, 1, 0, 0));
        ASSERT_TRUE(versioned::Make(dir + L"MCore.dll", c.dll, 1, 0, 0));
        EXPECT_EQ(IsICQ7Version(dir), c.passes) << c.exe << "/" << c.dll;
    }
    std::wstring unversioned = wt::NewDir(L"vt-none");
    wt::WriteBytes(unversioned + L"ICQ.exe", "MZ");
    CopyFileW((wt::FixtureDir(L"icq7") + L"MCore.dll").c_str(), (unversioned + L"MCore.dll").c_str(), FALSE);
    EXPECT_FALSE(IsICQ7Version(unversioned));
}

TEST_F(Search, NothingFoundLeavesTheBoxEmpty) {
    EXPECT_EQ(FindICQ7Directory(empty_), L"");
    EXPECT_EQ(FindICQDirectory(empty_).index, -1);
}

TEST_F(Search, OwnFolderComesFirst) {
    std::wstring own = Icq(wt::NewDir(L"own"));
    Icq(L"C:\\Program Files\\ICQ7\\");
    EXPECT_EQ(FindICQ7Directory(own), own.substr(0, own.size() - 1));  // shown without its "\"
    EXPECT_EQ(FindICQDirectory(own).index, 0);
}

TEST_F(Search, FixedFoldersInOrder) {
    Icq(L"C:\\Programme\\ICQ7.4\\");
    EXPECT_EQ(FindICQDirectory(empty_).index, 15);
    Icq(L"C:\\Program Files (x86)\\ICQ7.2\\");
    EXPECT_EQ(FindICQDirectory(empty_).index, 8);
    Icq(L"C:\\Program Files\\ICQ7\\");
    ICQDirectoryFound found = FindICQDirectory(empty_);
    EXPECT_EQ(found.index, 1);
    EXPECT_EQ(found.dir, L"C:\\Program Files\\ICQ7\\");
    EXPECT_EQ(FindICQ7Directory(empty_), L"C:\\Program Files\\ICQ7");
}

TEST_F(Search, AnEarlierIcq6EndsTheSearchEmpty) {
    Icq(L"C:\\Program Files\\ICQ7.1\\", L"icq6");
    Icq(L"C:\\Programme\\ICQ7\\");  // a real ICQ 7, but later in the list
    EXPECT_EQ(FindICQDirectory(empty_).index, 2);
    EXPECT_EQ(FindICQ7Directory(empty_), L"");
}

TEST_F(Search, ProtocolHandlerCommandLine) {
    std::wstring dir = Icq(wt::NewDir(L"proto") + L"ICQ7.2");
    Seed32(HKEY_CLASSES_ROOT, L"icquser\\shell\\open\\command", L"", L"\"" + dir + L"ICQ.exe\" \"%1\"");
    ICQDirectoryFound found = FindICQDirectory(empty_);
    EXPECT_EQ(found.index, 19);
    EXPECT_EQ(found.dir, dir);
}

TEST_F(Search, ShortNamesBecomeLong) {
    std::wstring dir = Icq(wt::NewDir(L"short") + L"Instant Messenger Seven");
    wchar_t shortForm[MAX_PATH];
    ASSERT_GT(GetShortPathNameW(dir.c_str(), shortForm, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortForm), dir);
    Seed32(HKEY_CURRENT_USER, kAol, L"ICQ.exe", std::wstring(shortForm) + L"ICQ.exe");
    ICQDirectoryFound found = FindICQDirectory(empty_);
    EXPECT_EQ(found.index, 20);
    EXPECT_EQ(found.dir, dir);
}

TEST_F(Search, NameEndingIcq7OneDigitKeepsItsFolder) {
    std::wstring parent = wt::NewDir(L"pattern");
    std::wstring dir = Icq(parent + L"ICQ7.3");
    Seed32(HKEY_LOCAL_MACHINE, kUninstall, L"InstallLocation", dir.substr(0, dir.size() - 1));
    ICQDirectoryFound found = FindICQDirectory(empty_);
    EXPECT_EQ(found.index, 21);
    EXPECT_EQ(found.dir, dir);
}

TEST_F(Search, LowerCaseIcq7IsCutBackToItsParent) {
    std::wstring parent = Icq(wt::NewDir(L"lower"));  // ICQ in the parent only
    Seed32(HKEY_LOCAL_MACHINE, kUninstall, L"InstallLocation", parent + L"icq7");
    ICQDirectoryFound found = FindICQDirectory(empty_);
    EXPECT_EQ(found.index, 21);
    EXPECT_EQ(found.dir, parent);
}

TEST_F(Search, UnreadableValueRetestsThePreviousText) {
    // "ICQ7.12" gets no backslash from the name pattern, so candidate 21 cuts
    // it back to its (empty) parent. Candidate 22 cannot be read and tests the
    // same text again, now under its own rule that adds the backslash.
    std::wstring dir = Icq(wt::NewDir(L"twelve") + L"ICQ7.12");
    Seed32(HKEY_LOCAL_MACHINE, kUninstall, L"InstallLocation", dir.substr(0, dir.size() - 1));
    ICQDirectoryFound found = FindICQDirectory(empty_);
    EXPECT_EQ(found.index, 22);
    EXPECT_EQ(found.dir, dir);
}

TEST_F(Search, RegistryAsA32BitProgramSeesIt) {
    std::wstring dir = Icq(wt::NewDir(L"view"));
    // Only in the 64-bit view: a 32-bit program never sees it, and neither does Ternavo.
    SetValue(HKEY_LOCAL_MACHINE, kUninstall, L"InstallLocation", dir, KEY_WOW64_64KEY);
    EXPECT_EQ(FindICQDirectory(empty_).index, -1);
    // Where a 32-bit installer writes it: below HKLM\SOFTWARE\Wow6432Node.
    SetValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
             L"{88EB38EF-4D2C-436D-ABD3-56B232674062}", L"InstallLocation", dir, KEY_WOW64_64KEY);
    EXPECT_EQ(FindICQDirectory(empty_).index, 21);
}

TEST_F(Search, AppPathsIsOneKeyForBothViews) {
    // App Paths is shared between the views (Windows and Wine alike), so the
    // key named with and without Wow6432Node is one key: candidate 22 wins.
    std::wstring dir = Icq(wt::NewDir(L"apppath"));
    SetValue(HKEY_LOCAL_MACHINE, kAppPathsWow, L"Path", dir.substr(0, dir.size() - 1), KEY_WOW64_64KEY);
    ICQDirectoryFound found = FindICQDirectory(empty_);
    EXPECT_EQ(found.index, 22);
    EXPECT_EQ(found.dir, dir);
}

TEST_F(Search, InternetExplorerEntriesUnderWow6432Node) {
    std::wstring dir = Icq(wt::NewDir(L"ie"));
    Seed32(HKEY_LOCAL_MACHINE, kIeElevation, L"AppName", dir + L"ICQ.exe");
    EXPECT_EQ(FindICQDirectory(empty_).index, 17);
    Seed32(HKEY_LOCAL_MACHINE, kIeExtension, L"Exec", dir + L"ICQ.exe");
    EXPECT_EQ(FindICQDirectory(empty_).index, 16);
    EXPECT_EQ(FindICQ7Directory(empty_), dir.substr(0, dir.size() - 1));
}

TEST_F(Search, RegistryCandidateWithIcq6) {
    std::wstring six = Icq(wt::NewDir(L"six"), L"icq6");
    Seed32(HKEY_CLASSES_ROOT, L"icq\\shell\\open\\command", L"", L"\"" + six + L"ICQ.exe\" \"%1\"");
    std::wstring seven = Icq(wt::NewDir(L"seven"));
    Seed32(HKEY_LOCAL_MACHINE, kUninstall, L"InstallLocation", seven);
    EXPECT_EQ(FindICQDirectory(empty_).index, 18);
    EXPECT_EQ(FindICQ7Directory(empty_), L"");
}

}  // namespace

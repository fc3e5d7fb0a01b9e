// Ternavo's system helpers under Wine: registry (in the view the older ICQ
// generations read), long paths, file versions, the embedded starter, desktop
// shortcuts, special folders, the shell's file browse dialog, a folder's owner
// and access list, and the path of a folder on a substituted drive.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <dlgs.h>
#include <atomic>
#include <functional>
#include <iostream>
#include <thread>
#include "common/winutil.h"
#include <sddl.h>  // after <windows.h>
#include "ternavo/window/run_state.h"
#include "ternavo/window/browse_dialog.h"
#include "ternavo/system/file_version.h"
#include "ternavo/steps/folder_security.h"
#include "ternavo/steps/worker_report.h"
#include "ternavo/system/long_path.h"
#include "ternavo/system/real_path.h"
#include "ternavo/system/registry.h"
#include "ternavo/system/resource_file.h"
#include "ternavo/system/rights_probe.h"
#include "ternavo/system/shortcut.h"
#include "ternavo/system/special_folder.h"
#include "ternavo/system/windows_version.h"
#include "tests/windows/support/wt.h"
#include "tests/windows/ternavo_helpers/doubles.h"
#include "tests/windows/ternavo_helpers/versioned.h"

namespace {

const wchar_t kTestKey[] = L"SOFTWARE\\TernavoHelperTest";

// A value's type and bytes in one explicit registry view; false when it is not there.
bool RawValue(const std::wstring& key, const std::wstring& name, REGSAM view, DWORD& type, std::string& bytes) {
    HKEY k;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &k) != ERROR_SUCCESS) return false;
    char buf[1024];
    DWORD size = sizeof(buf);
    LONG rc = RegQueryValueExW(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS) return false;
    bytes.assign(buf, size);
    return true;
}

// A REG_SZ value read in one explicit view; "<missing>" when it is not there.
std::wstring PhysicalValue(const std::wstring& key, const std::wstring& name, REGSAM view) {
    DWORD type = 0;
    std::string bytes;
    if (!RawValue(key, name, view, type, bytes) || type != REG_SZ) return L"<missing>";
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()));
}

bool PhysicalKeyExists(const std::wstring& key) {
    HKEY k;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override { Clean(); doubles::Reset(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\TernavoHelperTest");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestKey);  // the 64-bit view of this process
    }
};

TEST_F(Registry, CreateKeyIsTrueOnlyForANewKeyAndMakesItsParents) {
    std::wstring deep = std::wstring(kTestKey) + L"\\A\\B";
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, deep));
    EXPECT_TRUE(RegCreateKey(HKEY_LOCAL_MACHINE, deep, L""));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, deep));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, std::wstring(kTestKey) + L"\\A"));
    // Already there: false, and the key stays.
    EXPECT_FALSE(RegCreateKey(HKEY_LOCAL_MACHINE, deep, L""));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, deep));
}

TEST_F(Registry, WriteNeverCreatesTheKey) {
    std::wstring key = std::wstring(kTestKey) + L"\\Missing";
    EXPECT_FALSE(RegWriteValue(HKEY_LOCAL_MACHINE, key, L"MultiInstance", L"Yes"));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, key));
    EXPECT_FALSE(PhysicalKeyExists(L"SOFTWARE\\Wow6432Node\\TernavoHelperTest"));
    EXPECT_FALSE(PhysicalKeyExists(kTestKey));
}

TEST_F(Registry, WriteAndReadTextAndNumbers) {
    ASSERT_TRUE(RegCreateKey(HKEY_LOCAL_MACHINE, kTestKey, L""));
    EXPECT_TRUE(RegWriteValue(HKEY_LOCAL_MACHINE, kTestKey, L"MultiInstance", L"Yes"));
    EXPECT_TRUE(RegWriteValue(HKEY_LOCAL_MACHINE, kTestKey, L"Umlaut", L"Grüße"));
    EXPECT_TRUE(RegWriteValue(HKEY_LOCAL_MACHINE, kTestKey, L"Count", int32_t{-2}));
    std::wstring text = L"before";
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kTestKey, L"MultiInstance", text), 0);
    EXPECT_EQ(text, L"Yes");
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kTestKey, L"Umlaut", text), 0);
    EXPECT_EQ(text, L"Grüße");
    // Stored as REG_SZ with the terminator, and as a 32-bit REG_DWORD.
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(RawValue(kTestKey, L"Count", KEY_WOW64_32KEY, type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(bytes, std::string("\xFE\xFF\xFF\xFF", 4));
    ASSERT_TRUE(RawValue(kTestKey, L"MultiInstance", KEY_WOW64_32KEY, type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, std::string("Y\0e\0s\0\0\0", 8));  // "Yes" and its NUL
}

TEST_F(Registry, ReadOfAMissingValueOrKeyLeavesTheTextAlone) {
    ASSERT_TRUE(RegCreateKey(HKEY_LOCAL_MACHINE, kTestKey, L""));
    std::wstring text = L"previous";
    EXPECT_NE(RegReadValue(HKEY_LOCAL_MACHINE, kTestKey, L"Nothing", text), 0);
    EXPECT_EQ(text, L"previous");
    EXPECT_NE(RegReadValue(HKEY_LOCAL_MACHINE, std::wstring(kTestKey) + L"\\Nope", L"X", text), 0);
    EXPECT_EQ(text, L"previous");
    // The unnamed default value is read with an empty name.
    EXPECT_TRUE(RegWriteValue(HKEY_LOCAL_MACHINE, kTestKey, L"", L"default text"));
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kTestKey, L"", text), 0);
    EXPECT_EQ(text, L"default text");
    // An empty string value is read as empty text.
    EXPECT_TRUE(RegWriteValue(HKEY_LOCAL_MACHINE, kTestKey, L"Empty", L""));
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kTestKey, L"Empty", text), 0);
    EXPECT_EQ(text, L"");
}

TEST_F(Registry, ValuesLandWhereA32BitProgramLooks) {
    // The older ICQ generations are 32-bit programs: in a 64-bit prefix they
    // read HKLM\SOFTWARE\Wow6432Node, and so must Ternavo write there.
    std::wstring key = std::wstring(kTestKey) + L"\\DefaultPrefs";
    EXPECT_TRUE(RegCreateKey(HKEY_LOCAL_MACHINE, key, L""));
    EXPECT_TRUE(RegWriteValue(HKEY_LOCAL_MACHINE, key, L"MultiInstance", L"Yes"));
    EXPECT_EQ(PhysicalValue(L"SOFTWARE\\Wow6432Node\\TernavoHelperTest\\DefaultPrefs", L"MultiInstance",
                            KEY_WOW64_64KEY), L"Yes");
    EXPECT_EQ(PhysicalValue(key, L"MultiInstance", KEY_WOW64_32KEY), L"Yes");
    EXPECT_FALSE(PhysicalKeyExists(kTestKey));  // nothing in the 64-bit view
    // A key that names Wow6432Node itself means that very key, as for a 32-bit program.
    std::wstring named = L"SOFTWARE\\Wow6432Node\\TernavoHelperTest\\Named";
    EXPECT_TRUE(RegCreateKey(HKEY_LOCAL_MACHINE, named, L""));
    EXPECT_TRUE(RegWriteValue(HKEY_LOCAL_MACHINE, named, L"V", L"here"));
    EXPECT_EQ(PhysicalValue(named, L"V", KEY_WOW64_64KEY), L"here");
    EXPECT_FALSE(PhysicalKeyExists(L"SOFTWARE\\Wow6432Node\\Wow6432Node\\TernavoHelperTest"));
    std::wstring text;
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, std::wstring(kTestKey) + L"\\Named", L"V", text), 0);
    EXPECT_EQ(text, L"here");  // the same key, seen through the 32-bit view
}

TEST(RegistryView, FlagsOfThisBuild) {
#ifdef _WIN64
    EXPECT_EQ(RegistryView(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Mirabilis\\ICQ"), static_cast<REGSAM>(KEY_WOW64_32KEY));
    EXPECT_EQ(RegistryView(HKEY_CLASSES_ROOT, L"icq\\shell\\open\\command"), static_cast<REGSAM>(KEY_WOW64_32KEY));
    EXPECT_EQ(RegistryView(HKEY_LOCAL_MACHINE, L"software\\wow6432node\\X"), static_cast<REGSAM>(KEY_WOW64_64KEY));
#endif
    EXPECT_EQ(RegistryView(HKEY_CURRENT_USER, L"Software\\America Online"), 0u);
}

TEST(LongPath, ShortNamesExpandAndEverythingElseStays) {
    std::wstring dir = wt::EnsureDir(wt::NewDir(L"lp") + L"A Rather Long Folder Name");
    wt::WriteBytes(dir + L"Some Long File Name.txt", "x");
    wchar_t shortForm[MAX_PATH];
    ASSERT_GT(GetShortPathNameW((dir + L"Some Long File Name.txt").c_str(), shortForm, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortForm), dir + L"Some Long File Name.txt");
    EXPECT_EQ(GetLongPath(shortForm), dir + L"Some Long File Name.txt");
    EXPECT_EQ(GetLongPath(L"C:\\No Such Folder\\ICQ.exe"), L"C:\\No Such Folder\\ICQ.exe");
    std::wstring withArgs = dir + L"Some Long File Name.txt -trayonly";
    EXPECT_EQ(GetLongPath(withArgs), withArgs);
    EXPECT_EQ(GetLongPath(L""), L"");
}

TEST(FileVersion, PrintsTheFourPartsUnsigned) {
    std::wstring dir = wt::NewDir(L"ver");
    ASSERT_TRUE(versioned::Make(dir + L"big.dll", 40000, 65535, 0, 1));
    EXPECT_EQ(GetFileVersion(dir + L"big.dll"), L"40000.65535.0.1");
    ASSERT_TRUE(versioned::Make(dir + L"seven.dll", 7, 0, 1234, 5));
    EXPECT_EQ(GetFileVersion(dir + L"seven.dll"), L"7.0.1234.5");
    EXPECT_EQ(GetFileVersion(wt::FixtureDir(L"icq7") + L"ICQ.exe"), L"7.4.0.4708");
    EXPECT_EQ(GetFileVersion(wt::FixtureDir(L"icq6") + L"MCore.dll"), L"6.5.0.100");
}

TEST(FileVersion, NoVersionResourceGivesNoSevenDot) {
    std::wstring dir = wt::NewDir(L"nover");
    wt::WriteBytes(dir + L"ICQ.exe", "7.0.0.0 is not a version resource");
    EXPECT_EQ(GetFileVersion(dir + L"ICQ.exe"), L"");
    EXPECT_EQ(GetFileVersion(dir + L"missing.dll"), L"");
    EXPECT_EQ(GetFileVersion(dir), L"");  // a folder
}

// Ternavo.exe as a resource module, so the embedded starter can be extracted here.
class Resource : public ::testing::Test {
protected:
    void SetUp() override {
        doubles::Reset();
        module_ = LoadLibraryExW(wt::TernavoExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr);
        starter_ = wt::ReadBytes(wt::KestrunExe());
        ASSERT_GT(starter_.size(), 10000u);
        dir_ = wt::NewDir(L"res");
    }
    void TearDown() override { FreeLibrary(module_); }
    HMODULE module_ = nullptr;
    std::string starter_;
    std::wstring dir_;
};

TEST_F(Resource, WritesTheStarterByteForByte) {
    EXPECT_EQ(ExtractResource(101, L"Custom", dir_ + L"Kestrun.exe", module_), 0);
    EXPECT_EQ(wt::ReadBytes(dir_ + L"Kestrun.exe"), starter_);
    EXPECT_EQ(wt::ListFiles(dir_), std::vector<std::wstring>{L"Kestrun.exe"});  // no leftovers
}

TEST_F(Resource, ReplacesALongerFileWhole) {
    wt::WriteBytes(dir_ + L"Kestrun.exe", std::string(starter_.size() + 5000, 'Z'));
    EXPECT_EQ(ExtractResource(101, L"CUSTOM", dir_ + L"Kestrun.exe", module_), 0);
    EXPECT_EQ(wt::ReadBytes(dir_ + L"Kestrun.exe"), starter_);
}

TEST_F(Resource, FailuresLeaveNoHalfFile) {
    // The folder does not exist.
    EXPECT_NE(ExtractResource(101, L"Custom", dir_ + L"nowhere\\Kestrun.exe", module_), 0);
    // The name is taken by a folder: it stays, and no temporary file is left.
    ASSERT_TRUE(CreateDirectoryW((dir_ + L"Kestrun.exe").c_str(), nullptr));
    EXPECT_NE(ExtractResource(101, L"Custom", dir_ + L"Kestrun.exe", module_), 0);
    EXPECT_TRUE(wt::ListFiles(dir_).empty());
    // A resource that is not there.
    EXPECT_NE(ExtractResource(102, L"Custom", dir_ + L"Other.exe", module_), 0);
    EXPECT_FALSE(wt::Exists(dir_ + L"Other.exe"));
    // A path the system cannot take, 260 characters or more (Windows refuses it too).
    std::wstring deep = wt::EnsureDir(dir_ + std::wstring(250 - dir_.size(), L'd'));
    ASSERT_EQ(deep.size(), 251u);
    EXPECT_NE(ExtractResource(101, L"Custom", deep + L"Kestrun.exe", module_), 0);
    EXPECT_TRUE(wt::ListFiles(deep).empty());
}

TEST_F(Resource, ARunningStarterIsEitherKeptOrReplacedWhole) {
    // An older starter (here: the stand-in ICQ under that name) is running.
    std::wstring target = dir_ + L"Kestrun.exe";
    ASSERT_TRUE(CopyFileW((wt::FixtureDir(L"icq7") + L"ICQ.exe").c_str(), target.c_str(), FALSE));
    std::string old = wt::ReadBytes(target);
    wt::Process running(target, L"");
    ASSERT_TRUE(running.started());
    ASSERT_NE(wt::WaitWindow(running.pid(), L"IcqStubWindow", 10000), nullptr);
    long rc = ExtractResource(101, L"Custom", target, module_);
    std::string now = wt::ReadBytes(target);
    if (rc == 0) {
        EXPECT_EQ(now, starter_);
    } else {
        EXPECT_EQ(now, old);
    }
    std::cout << "replacing a running program: " << (rc == 0 ? "replaced" : "refused, old copy kept") << "\n";
    running.Kill();
}

TEST(Shortcut, PointsAtTheTargetWithItsFolderAndIcon) {
    std::wstring dir = wt::NewDir(L"lnk");
    std::wstring target = dir + L"Kestrun.exe";
    wt::InstallKestrun(dir);
    std::wstring link = dir + L"Kestrun.lnk";
    wt::WriteBytes(link, "an old file of that name");
    ASSERT_EQ(CreateShortcut(target, link, dir), S_OK);

    win::ComScope com;
    win::ComPtr<IShellLinkW> shortcut;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shortcut.put_void()),
              S_OK);
    win::ComPtr<IPersistFile> file;
    ASSERT_EQ(shortcut->QueryInterface(IID_IPersistFile, file.put_void()), S_OK);
    ASSERT_EQ(file->Load(link.c_str(), STGM_READ), S_OK);
    wchar_t buf[MAX_PATH] = {};
    ASSERT_EQ(shortcut->GetPath(buf, MAX_PATH, nullptr, SLGP_RAWPATH), S_OK);
    EXPECT_EQ(std::wstring(buf), target);
    ASSERT_EQ(shortcut->GetWorkingDirectory(buf, MAX_PATH), S_OK);
    EXPECT_EQ(win::WithBackslash(buf), dir);
    int icon = -1;
    ASSERT_EQ(shortcut->GetIconLocation(buf, MAX_PATH, &icon), S_OK);
    EXPECT_EQ(std::wstring(buf), target);
    EXPECT_EQ(icon, 0);
}

TEST(SpecialFolder, DesktopIsAFolderAndUnknownIdsAreEmpty) {
    std::wstring desktop = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(desktop.empty());
    EXPECT_NE(desktop.back(), L'\\');
    DWORD attrs = GetFileAttributesW(desktop.c_str());
    EXPECT_NE(attrs, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attrs & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetSpecialFolder(0x7E), L"");
    EXPECT_EQ(GetSpecialFolder(-1), L"");
}

TEST(WindowsFamily, IsNT) { EXPECT_TRUE(IsWindowsNT()); }

TEST(Rights, TheFolderProbeLeavesNothingBehindAndNeedsAFolder) {
    std::wstring dir = wt::NewDir(L"probe");
    wt::WriteBytes(dir + L"ICQ.exe", "x");
    EXPECT_TRUE(CanWriteFolder(dir));
    EXPECT_TRUE(CanWriteFolder(dir.substr(0, dir.size() - 1)));  // with or without "\"
    EXPECT_EQ(wt::ListFiles(dir), std::vector<std::wstring>{L"ICQ.exe"});
    EXPECT_FALSE(CanWriteFolder(dir + L"missing"));
    EXPECT_FALSE(CanWriteFolder(dir + L"ICQ.exe"));  // a file, not a folder
    EXPECT_FALSE(CanWriteFolder(L""));
}

// Security descriptors as Windows writes them (SDDL), read the way the worker
// reads a folder's; Wine's own folders carry lists it makes up (below).
struct NtSidBuffer {
    alignas(DWORD) BYTE bytes[SECURITY_MAX_SID_SIZE];
};

TEST(FolderSecurity, OwnersAndEntriesReachTheRuleAsWindowsWritesThem) {
    using folder_rights::Who;
    const std::wstring ti = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
    const std::wstring programFiles =
        L"O:" + ti + L"D:PAI(A;;FA;;;" + ti + L")(A;CIIO;GA;;;" + ti +
        L")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)"
        L"(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)";
    const std::wstring inherited = L"(A;ID;FA;;;" + ti + L")(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;0x1200a9;;;BU)"
                                   L"(A;OICIIOID;GA;;;CO)";
    struct Row { std::wstring sddl; Who owner; bool onlyAdministrators; };
    const Row rows[] = {
        {programFiles, Who::TrustedInstaller, true},
        {L"O:BAD:AI" + inherited, Who::Administrators, true},  // an installer's ICQ 7 folder below it
        {L"O:BAD:AI" + inherited + L"(A;OICIID;0x1301bf;;;PU)", Who::Administrators, true},  // XP: Power Users
        {L"O:SYD:AI" + inherited + L"(A;CIIO;0x1301bf;;;BU)(D;;FA;;;WD)", Who::System, true},  // new subfolders only
        {L"O:SYD:AI" + inherited + L"(A;OICIIO;0x1301bf;;;BU)", Who::System, false},  // new files: Kestrun.exe
        {L"O:BAD:AI" + inherited + L"(A;OICI;0x1301bf;;;BU)", Who::Administrators, false},  // Users with Modify
        {L"O:BAD:AI" + inherited + L"(A;;0x100116;;;AU)", Who::Administrators, false},
        {L"O:BAD:AI" + inherited + L"(A;;GA;;;WD)", Who::Administrators, false},
        {L"O:BAD:AI" + inherited + L"(A;;WD;;;S-1-5-21-1-2-3-1001)", Who::Administrators, false},
        {L"O:S-1-5-21-1-2-3-1001D:(D;;FA;;;S-1-5-21-1-2-3-1001)(A;;FA;;;BA)(A;;FA;;;SY)", Who::Other, false},
    };
    for (const Row& r : rows) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(r.sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
            << r.sddl;
        folder_rights::FolderSecurity got = SecurityOf(sd);
        LocalFree(sd);
        EXPECT_EQ(got.owner, r.owner) << r.sddl;
        EXPECT_EQ(folder_rights::OnlyAdministratorsMayChange(got), r.onlyAdministrators) << r.sddl;
    }
    // No access list, or a NULL one ("NO_ACCESS_CONTROL", which Wine's SDDL reading
    // turns into an empty list): everyone may do everything.
    NtSidBuffer administrators;
    DWORD size = sizeof(administrators.bytes);
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators.bytes, &size));
    for (BOOL present : {FALSE, TRUE}) {
        SECURITY_DESCRIPTOR sd;
        InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorOwner(&sd, administrators.bytes, FALSE);
        SetSecurityDescriptorDacl(&sd, present, nullptr, FALSE);
        folder_rights::FolderSecurity got = SecurityOf(&sd);
        EXPECT_EQ(got.owner, Who::Administrators);
        EXPECT_FALSE(got.hasDacl) << present;
        EXPECT_FALSE(folder_rights::OnlyAdministratorsMayChange(got)) << present;
    }
}

TEST(FolderSecurity, TheWorkerReadsItFromTheHeldHandle) {
    std::wstring dir = wt::NewDir(L"security");
    auto open = [&](DWORD access) {
        return win::Handle(CreateFileW(dir.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    };
    win::Handle readable = open(FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE);
    ASSERT_TRUE(readable);
    // Wine names its one user as the owner of every folder and grants it all: by
    // the rule that would be refused, so under Wine only the read counts.
    EXPECT_TRUE(OnlyAdministratorsMayChange(readable.get()));
    // A handle that may not read the permissions tells nothing: refused.
    win::Handle blind = open(FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE);
    ASSERT_TRUE(blind);
    EXPECT_FALSE(OnlyAdministratorsMayChange(blind.get()));
    EXPECT_FALSE(OnlyAdministratorsMayChange(nullptr));
}

TEST(WorkerReportBlock, AdministratorsMayWriteItAndNobodyButItsOwnUserBesides) {
    WorkerReport report;
    ASSERT_NE(report.Number(), 0ul);
    win::Handle block(OpenFileMappingW(READ_CONTROL, FALSE,
                                       (L"Local\\Ternavo.WorkerReport." + std::to_wstring(report.Number())).c_str()));
    ASSERT_TRUE(block);
    DWORD needed = 0;
    GetKernelObjectSecurity(block.get(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    ASSERT_GT(needed, 0ul);
    std::vector<BYTE> descriptor(needed);
    ASSERT_TRUE(GetKernelObjectSecurity(block.get(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed));
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor.data(), &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl);  // no list at all would let everyone in

    NtSidBuffer administrators, everyone;
    DWORD size = sizeof(administrators.bytes);
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators.bytes, &size));
    size = sizeof(everyone.bytes);
    ASSERT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, everyone.bytes, &size));
    alignas(void*) BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, user, sizeof(user), &size));
    CloseHandle(token);
    PSID self = reinterpret_cast<TOKEN_USER*>(user)->User.Sid;

    DWORD administratorsMay = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, &entry));
        auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        PSID sid = &ace->SidStart;
        EXPECT_FALSE(EqualSid(sid, everyone.bytes)) << "Everyone may " << std::hex << ace->Mask;
        if (EqualSid(sid, administrators.bytes)) administratorsMay |= ace->Mask;
        else EXPECT_TRUE(EqualSid(sid, self)) << "someone else may " << std::hex << ace->Mask;
    }
    EXPECT_EQ(administratorsMay & FILE_MAP_WRITE, DWORD(FILE_MAP_WRITE));
}

// Letters made the way "subst" makes them. Under Wine every process sees them,
// so only the path handed over can be checked, not a second session's view.
TEST(RealPath, ASubstitutedDriveBecomesItsFolderAndPlainDrivesStay) {
    std::wstring real = wt::NewDir(L"subst real");
    std::wstring folder = real.substr(0, real.size() - 1);
    ASSERT_TRUE(DefineDosDeviceW(0, L"S:", folder.c_str()));
    ASSERT_TRUE(DefineDosDeviceW(0, L"T:", L"S:\\ICQ 7"));  // a substitute of a substitute
    EXPECT_EQ(PathForAdministrator(L"S:\\ICQ 7\\"), real + L"ICQ 7\\");
    EXPECT_EQ(PathForAdministrator(L"S:\\"), real);
    EXPECT_EQ(PathForAdministrator(L"T:\\"), real + L"ICQ 7\\");
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"T:", nullptr);
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"S:", nullptr);
    // The system's own drives, the prefix's drive of the whole file system, a
    // network path and a letter that names nothing keep their text.
    for (const std::wstring& path : {real + L"ICQ 7\\", std::wstring(L"Z:\\tmp\\"), std::wstring(L"C:\\"),
                                     std::wstring(L"\\\\server\\share\\ICQ7\\"), std::wstring(L"S:\\ICQ 7\\")})
        EXPECT_EQ(PathForAdministrator(path), path);
}

// Drives the browse dialog from a second thread while the test thread sits in it.
class Browse : public ::testing::Test {
protected:
    // Waits for this process's dialog with `title`, then runs `act` on it.
    void Drive(const std::wstring& title, std::function<void(HWND)> act) {
        helper_ = std::thread([title, act, this] {
            HWND dlg = nullptr;
            wt::WaitFor([&] { return (dlg = FindWindowW(L"#32770", title.c_str())) != nullptr; }, 15000);
            seen_ = dlg != nullptr;
            if (dlg) {
                Sleep(300);
                act(dlg);
            }
        });
    }
    void TearDown() override { if (helper_.joinable()) helper_.join(); }
    std::thread helper_;
    std::atomic<bool> seen_{false};
};

TEST_F(Browse, CancelGivesEmptyText) {
    Drive(L"Datei wählen", [](HWND dlg) { PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(BrowseForFile(nullptr), L"");
    helper_.join();
    EXPECT_TRUE(seen_);
}

TEST_F(Browse, ChoosingAFileGivesItsFullPath) {
    std::wstring dir = wt::NewDir(L"browse");
    wt::InstallStandIn(dir);
    std::wstring filterSeen;
    Drive(L"ICQ.exe wählen", [&filterSeen](HWND dlg) {
        // The filter list's first entry, then the file name typed into the name box.
        HWND types = GetDlgItem(dlg, cmb1);
        wchar_t item[128] = {};
        if (types) SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
        filterSeen = item;
        SetDlgItemTextW(dlg, cmb13, L"ICQ.exe");
        SetDlgItemTextW(dlg, edt1, L"ICQ.exe");
        PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    });
    std::wstring chosen = BrowseForFile(nullptr, dir, L"ICQ (ICQ.exe)|ICQ.exe", L"", L"ICQ.exe wählen");
    helper_.join();
    ASSERT_TRUE(seen_);
    EXPECT_EQ(filterSeen, L"ICQ (ICQ.exe)");
    EXPECT_EQ(chosen, dir + L"ICQ.exe");
}

}  // namespace

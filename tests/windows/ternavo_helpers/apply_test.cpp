// The steps of a press inside this test program: plain functions over the
// choices and the folder, which show nothing and return how they ended (the
// end-to-end tests drive the real windows and the worker).
#include <gtest/gtest.h>
#include "ternavo/steps/apply.h"
#include "ternavo/steps/held_folder.h"
#include "tests/windows/support/wt.h"

namespace {

const wchar_t kPhysical[] = L"SOFTWARE\\Wow6432Node\\Mirabilis";

// A value as a 32-bit ICQ reads it (below Wow6432Node); "<missing>" when absent.
std::wstring IcqValue(const std::wstring& subKey, const wchar_t* name) {
    HKEY k;
    std::wstring key = std::wstring(kPhysical) + L"\\ICQ" + (subKey.empty() ? L"" : L"\\" + subKey);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &k) != ERROR_SUCCESS)
        return L"<missing>";
    wchar_t buf[64] = {};
    DWORD size = sizeof(buf) - sizeof(wchar_t);
    LONG rc = RegQueryValueExW(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? std::wstring(buf) : L"<missing>";
}

bool IcqKeyExists(const std::wstring& subKey) {
    HKEY k;
    std::wstring key = std::wstring(kPhysical) + L"\\ICQ\\" + subKey;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

class Apply : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPhysical);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Mirabilis");
    }
    static apply::Outcome Run(bool lite, bool pro, bool icq6, bool icq7, int instances,
                              const std::wstring& dir = L"") {
        return RunSteps({lite, pro, icq6, icq7, static_cast<apply::Instances>(instances)}, dir).outcome;
    }
};

TEST_F(Apply, AllowIcq6WritesIntoItsOwnKey) {
    EXPECT_EQ(Run(false, false, true, false, 0), apply::Outcome::Succeeded);
    EXPECT_EQ(IcqValue(L"ICQ6", L"MultiInstance"), L"Yes");
    EXPECT_EQ(IcqValue(L"ICQ6", L"OwnersNoLimit"), L"Yes");
    EXPECT_FALSE(IcqKeyExists(L"ICQ6\\DefaultPrefs"));
    EXPECT_FALSE(IcqKeyExists(L"DefaultPrefs"));
}

TEST_F(Apply, AllowProOnAMachineWithoutIcqCreatesItsKeys) {
    EXPECT_EQ(Run(false, true, false, false, 0), apply::Outcome::Succeeded);
    EXPECT_EQ(IcqValue(L"ICQPro\\DefaultPrefs", L"MultiInstance"), L"Yes");
    EXPECT_EQ(IcqValue(L"ICQPro\\DefaultPrefs", L"OwnersNoLimit"), L"Yes");
    EXPECT_FALSE(IcqKeyExists(L"DefaultPrefs"));  // Lite's key is not touched
    // Nothing in the 64-bit view, where the older ICQ never looks.
    HKEY k;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Mirabilis", 0, KEY_READ | KEY_WOW64_64KEY, &k),
              ERROR_SUCCESS);
}

TEST_F(Apply, ForbidNeverCreatesAndFailsWithoutTheKey) {
    EXPECT_EQ(Run(true, true, true, false, 1), apply::Outcome::Failed);
    EXPECT_FALSE(IcqKeyExists(L""));
    EXPECT_EQ(IcqValue(L"", L"MultiInstance"), L"<missing>");
}

TEST_F(Apply, ForbidAfterAllowKeepsOwnersNoLimit) {
    EXPECT_EQ(Run(true, true, true, false, 0), apply::Outcome::Succeeded);
    EXPECT_EQ(Run(true, true, true, false, 1), apply::Outcome::Succeeded);
    for (const wchar_t* key : {L"DefaultPrefs", L"ICQPro\\DefaultPrefs", L"ICQ6"}) {
        EXPECT_EQ(IcqValue(key, L"MultiInstance"), L"No") << key;
        EXPECT_EQ(IcqValue(key, L"OwnersNoLimit"), L"Yes") << key;
    }
}

TEST_F(Apply, AFailingStepDoesNotStopTheOthers) {
    // Only ICQ 6 has its key: Lite and Pro fail, ICQ 6 is still forbidden.
    EXPECT_EQ(Run(false, false, true, false, 0), apply::Outcome::Succeeded);
    EXPECT_EQ(Run(true, true, true, false, 1), apply::Outcome::Failed);
    EXPECT_EQ(IcqValue(L"ICQ6", L"MultiInstance"), L"No");
}

TEST_F(Apply, Icq7OutsideAnIcq7FolderIsRefusedBeforeAnyChange) {
    std::wstring icq6 = wt::NewDir(L"apply-icq6");
    wt::InstallStandIn(icq6, L"icq6");
    for (const std::wstring& dir : {std::wstring(), wt::NewDir(L"apply-empty"), icq6}) {
        EXPECT_EQ(Run(true, true, true, true, 0, dir), apply::Outcome::Refused) << dir;
        EXPECT_FALSE(IcqKeyExists(L""));
        EXPECT_FALSE(wt::Exists(dir + L"Kestrun.exe"));
    }
}

TEST_F(Apply, EveryFailureIsReportedWithTheSystemsReason) {
    // The older generations' steps name themselves.
    apply::Report r = RunSteps({true, false, true, false, apply::Instances::OnlyOne}, L"");
    EXPECT_EQ(r.failures, (std::vector<apply::Failure>{{apply::Step::ForbidLite, ERROR_FILE_NOT_FOUND, 0},
                                                       {apply::Step::ForbidICQ6, ERROR_FILE_NOT_FOUND, 0}}));

    // Removal takes a read-only Kestrun.exe too, and then nothing failed; one
    // held open by another program stays, and the removal says so.
    std::wstring icq = wt::NewDir(L"apply-remove");
    wt::InstallStandIn(icq);
    wt::InstallKestrun(icq);
    {
        HANDLE held = CreateFileW((icq + L"Kestrun.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        r = RunSteps({false, false, false, true, apply::Instances::OnlyOne}, icq);
        CloseHandle(held);
    }
    ASSERT_EQ(r.failures.size(), 1u);
    EXPECT_EQ(r.failures[0].step, apply::Step::RemoveStarter);
    SetFileAttributesW((icq + L"Kestrun.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    r = RunSteps({false, false, false, true, apply::Instances::OnlyOne}, icq);
    EXPECT_EQ(r.outcome, apply::Outcome::Succeeded);
    EXPECT_TRUE(r.failures.empty());
    EXPECT_FALSE(wt::Exists(icq + L"Kestrun.exe"));
}

TEST_F(Apply, AHeldFolderCannotBeRenamedAndNamesItsFilesWhereItIs) {
    std::wstring parent = wt::NewDir(L"apply-held");
    std::wstring dir = wt::EnsureDir(parent + L"ICQ 7");
    auto renameFromAnotherProcess = [&] {
        wt::Process move(L"C:\\windows\\system32\\cmd.exe", L"/c move \"" + parent + L"ICQ 7\" \"" + parent + L"moved\"");
        move.WaitExit(15000);
        return wt::Exists(parent + L"moved");
    };
    {
        // Given relative to the current folder and without its "\": held as the full path.
        ASSERT_TRUE(SetCurrentDirectoryW(parent.c_str()));
        HeldFolder held(L"ICQ 7");
        ASSERT_TRUE(held.Held());
        EXPECT_EQ(held.File(L"Kestrun.exe"), dir + L"Kestrun.exe");
        EXPECT_FALSE(renameFromAnotherProcess());
        EXPECT_TRUE(wt::Exists(dir));
        SetCurrentDirectoryW(L"C:\\");
    }
    EXPECT_TRUE(renameFromAnotherProcess());  // once let go, the same rename goes through
    EXPECT_FALSE(HeldFolder(parent + L"missing").Held());
    wt::WriteBytes(parent + L"file", "");
    EXPECT_FALSE(HeldFolder(parent + L"file").Held());
}

}  // namespace

// The apply sequence inside this test program, with the main window's choices
// and the settings dialog replaced by plain values (no message box is reached
// here; the end-to-end tests drive the real windows).
#include <gtest/gtest.h>
#include "ternavo/run_state.h"
#include "ternavo/apply.h"
#include "tests/windows/support/wt.h"
#include "tests/windows/ternavo_helpers/doubles.h"

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
    void SetUp() override {
        Clean();
        doubles::Reset();
        g_run.SettingsPath = wt::NewDir(L"apply") + L"ternavo.ini";
    }
    void TearDown() override { Clean(); }
    static void Clean() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPhysical);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Mirabilis");
    }
    static void Choose(bool lite, bool pro, bool icq6, bool icq7, int instances) {
        doubles::choices.lite = lite;
        doubles::choices.pro = pro;
        doubles::choices.icq6 = icq6;
        doubles::choices.icq7 = icq7;
        doubles::choices.instances = static_cast<apply::Instances>(instances);
    }
};

TEST_F(Apply, AllowIcq6WritesIntoItsOwnKey) {
    Choose(false, false, true, false, 0);
    ApplyOptions(apply::Pass::Start);
    EXPECT_EQ(IcqValue(L"ICQ6", L"MultiInstance"), L"Yes");
    EXPECT_EQ(IcqValue(L"ICQ6", L"OwnersNoLimit"), L"Yes");
    EXPECT_FALSE(IcqKeyExists(L"ICQ6\\DefaultPrefs"));
    EXPECT_FALSE(IcqKeyExists(L"DefaultPrefs"));
    EXPECT_EQ(doubles::results, std::vector<apply::Outcome>{apply::Outcome::Succeeded});
}

TEST_F(Apply, AllowProOnAMachineWithoutIcqCreatesItsKeys) {
    Choose(false, true, false, false, 0);
    ApplyOptions(apply::Pass::Start);
    EXPECT_EQ(IcqValue(L"ICQPro\\DefaultPrefs", L"MultiInstance"), L"Yes");
    EXPECT_EQ(IcqValue(L"ICQPro\\DefaultPrefs", L"OwnersNoLimit"), L"Yes");
    EXPECT_FALSE(IcqKeyExists(L"DefaultPrefs"));  // Lite's key is not touched
    EXPECT_EQ(doubles::results, std::vector<apply::Outcome>{apply::Outcome::Succeeded});
    // Nothing in the 64-bit view, where the older ICQ never looks.
    HKEY k;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Mirabilis", 0, KEY_READ | KEY_WOW64_64KEY, &k),
              ERROR_SUCCESS);
}

TEST_F(Apply, ForbidNeverCreatesAndFailsWithoutTheKey) {
    Choose(true, true, true, false, 1);
    ApplyOptions(apply::Pass::Start);
    EXPECT_FALSE(IcqKeyExists(L""));
    EXPECT_EQ(IcqValue(L"", L"MultiInstance"), L"<missing>");
    EXPECT_EQ(doubles::results, std::vector<apply::Outcome>{apply::Outcome::Failed});
}

TEST_F(Apply, ForbidAfterAllowKeepsOwnersNoLimit) {
    Choose(true, true, true, false, 0);
    ApplyOptions(apply::Pass::Start);
    Choose(true, true, true, false, 1);
    g_run.Outcome = apply::Outcome::Succeeded;
    ApplyOptions(apply::Pass::Start);
    for (const wchar_t* key : {L"DefaultPrefs", L"ICQPro\\DefaultPrefs", L"ICQ6"}) {
        EXPECT_EQ(IcqValue(key, L"MultiInstance"), L"No") << key;
        EXPECT_EQ(IcqValue(key, L"OwnersNoLimit"), L"Yes") << key;
    }
    EXPECT_EQ(doubles::results, (std::vector<apply::Outcome>{apply::Outcome::Succeeded, apply::Outcome::Succeeded}));
}

TEST_F(Apply, AFailingStepDoesNotStopTheOthers) {
    // Only ICQ 6 has its key: Lite and Pro fail, ICQ 6 is still forbidden.
    Choose(false, false, true, false, 0);
    ApplyOptions(apply::Pass::Start);
    Choose(true, true, true, false, 1);
    g_run.Outcome = apply::Outcome::Succeeded;
    ApplyOptions(apply::Pass::Start);
    EXPECT_EQ(IcqValue(L"ICQ6", L"MultiInstance"), L"No");
    EXPECT_EQ(doubles::results.back(), apply::Outcome::Failed);
}

TEST_F(Apply, Icq7WithoutAKnownFolderOnlyOpensTheDialog) {
    doubles::choices.icq7Folder = wt::FixtureDir(L"icq7");  // even a folder found at start-up is not enough
    Choose(true, true, true, true, 0);
    ApplyOptions(apply::Pass::Start);
    EXPECT_EQ(doubles::settingsDialogShown, 1);
    EXPECT_TRUE(g_run.StartPending);
    EXPECT_FALSE(IcqKeyExists(L""));  // nothing written before the folder is confirmed
    EXPECT_TRUE(doubles::results.empty());
}

TEST_F(Apply, UnknownModesDoNothing) {
    Choose(true, true, true, false, 0);
    for (int pass : {0, 4, -1}) ApplyOptions(static_cast<apply::Pass>(pass));
    EXPECT_FALSE(IcqKeyExists(L""));
    EXPECT_TRUE(doubles::results.empty());
}

}  // namespace

// Ternavo started with its switches, as an administrator's one-liner runs it:
// the choices given replace the saved ones for this run, and "-start" presses
// Start once the window is up.
#include <gtest/gtest.h>
#include "tests/windows/ternavo_apply/road.h"

namespace {

class Switches : public ::testing::Test {
protected:
    void SetUp() override { road::ClearIcqKeys(); }
    void TearDown() override { road::ClearIcqKeys(); }
    std::wstring icq_ = wt::NewDir(L"sw-icq7");
};

TEST_F(Switches, TheOneLinerInstallsOverOtherSavedTicksAndSavesThem) {
    wt::InstallStandIn(icq_);
    tv::Ternavo t;
    road::Save(t, {true, true, true, false, 1}, icq_);
    ASSERT_TRUE(t.Start(L"-icq7 -allow -start"));
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_EQ(wt::ReadBytes(icq_ + L"Kestrun.exe"), wt::ReadBytes(wt::KestrunExe()));
    EXPECT_FALSE(road::IcqKeyExists(L""));
    // ICQ7, ICQPro, ICQLite, ICQ6, Instances as after a press by hand.
    EXPECT_EQ(t.Get(L"ICQ7") + t.Get(L"ICQPro") + t.Get(L"ICQLite") + t.Get(L"ICQ6") + t.Get(L"Instances"), L"10000");
}

TEST_F(Switches, OlderGenerationsInAnyCaseThenRemovalWithItsMessage) {
    wt::InstallStandIn(icq_);
    wt::InstallKestrun(icq_);
    tv::Ternavo older(L"sw-older");
    road::Save(older, {false, false, false, true, 1}, icq_);
    ASSERT_TRUE(older.Start(L"-LITE -Pro -icq6 -Allow -unknown -Start"));
    ASSERT_TRUE(older.WaitStatus(L"Changes successful!"));
    for (const wchar_t* key : {L"DefaultPrefs", L"ICQPro\\DefaultPrefs", L"ICQ6"})
        EXPECT_EQ(road::IcqValue(key, L"OwnersNoLimit"), L"Yes") << key;
    EXPECT_TRUE(wt::Exists(icq_ + L"Kestrun.exe"));  // ICQ 7 was saved, not given

    tv::Ternavo t(L"sw-remove");
    road::Save(t, {}, icq_);
    ASSERT_TRUE(t.Start(L"-onlyone -icq7 -start"));
    EXPECT_EQ(road::TakeBox(t).text, L"All shortcuts to Kestrun.exe created by your own have to be deleted manually.");
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_FALSE(wt::Exists(icq_ + L"Kestrun.exe"));
    EXPECT_EQ(road::IcqValue(L"DefaultPrefs", L"MultiInstance"), L"Yes");  // only ICQ 7 was given
}

// "-start" is pressed once the start-up search has found the ICQ 7 folder
// (none saved; ICQ 7 stands beside Ternavo): the removal takes place there.
TEST_F(Switches, StartIsPressedOnceTheSearchHasFoundTheFolder) {
    tv::Ternavo t(L"sw-found");
    wt::InstallStandIn(t.dir);
    wt::InstallKestrun(t.dir);
    ASSERT_TRUE(t.Start(L"-onlyone -icq7 -start"));
    EXPECT_TRUE(road::TakeBox(t).seen);
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_FALSE(wt::Exists(t.dir + L"Kestrun.exe"));
}

TEST_F(Switches, StartIsNotPressedWhileItIsDisabled) {
    tv::Ternavo t;
    ASSERT_TRUE(t.Start(L"-start -allow"));  // nothing ticked, nothing saved
    Sleep(1000);                             // a press would have shown its result by now
    EXPECT_EQ(t.Status(), L"Choose options and click start.");
    EXPECT_FALSE(t.Has(L"ICQ7"));
}

}  // namespace

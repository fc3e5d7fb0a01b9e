// Ternavo started with its switches, as an administrator's one-liner runs it:
// the ticks and the instances choice given replace the saved ones for this
// run, and "-start" presses Start once the window is up.
#include <gtest/gtest.h>
#include "tests/windows/ternavo_apply/road.h"

using road::IcqValue;
using tv::Ternavo;

namespace {

class Switches : public ::testing::Test {
protected:
    void SetUp() override {
        road::ClearIcqKeys();
        DeleteFileW(road::DesktopLink().c_str());
    }
    void TearDown() override { road::ClearIcqKeys(); }
    static std::wstring Icq7(const std::wstring& hint) {
        std::wstring d = wt::NewDir(hint);
        wt::InstallStandIn(d);
        return d;
    }
};

TEST_F(Switches, TheOneLinerInstallsKestrunWhateverWasSaved) {
    std::wstring icq = Icq7(L"sw-inst");
    Ternavo t;
    road::Save(t, {true, true, true, false, 1}, icq);
    ASSERT_TRUE(t.Start(L"-icq7 -allow -start"));
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_EQ(wt::ReadBytes(icq + L"Kestrun.exe"), wt::ReadBytes(wt::KestrunExe()));
    EXPECT_TRUE(road::ReadShortcut(road::DesktopLink()).ok);
    EXPECT_FALSE(road::IcqKeyExists(L""));  // the saved generations were not ticked
    // Saved afterwards as if ticked by hand: ICQ7, ICQPro, ICQLite, ICQ6, Instances.
    EXPECT_EQ(t.Get(L"ICQ7") + t.Get(L"ICQPro") + t.Get(L"ICQLite") + t.Get(L"ICQ6") + t.Get(L"Instances"), L"10000");
}

TEST_F(Switches, OlderGenerationsInAnyLetterCaseThenRemovalWithItsMessage) {
    std::wstring icq = Icq7(L"sw-rm");
    wt::InstallKestrun(icq);
    {
        Ternavo t(L"sw-old");
        road::Save(t, {false, false, false, true, 1}, icq);
        ASSERT_TRUE(t.Start(L"-LITE -Pro -icq6 -Allow -unknown -Start"));
        ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
        for (const wchar_t* key : {L"DefaultPrefs", L"ICQPro\\DefaultPrefs", L"ICQ6"})
            EXPECT_EQ(IcqValue(key, L"OwnersNoLimit"), L"Yes") << key;
        EXPECT_FALSE(wt::IsChecked(t.C("ICQ7Box")));
        EXPECT_TRUE(wt::Exists(icq + L"Kestrun.exe"));  // ICQ 7 was saved, not given
    }
    Ternavo t(L"sw-rm");
    road::Save(t, {}, icq);
    ASSERT_TRUE(t.Start(L"-onlyone -icq7 -start"));
    road::Box b = road::TakeBox(t);
    EXPECT_EQ(b.title, L"ICQ 7");
    EXPECT_EQ(b.text, L"All shortcuts to Kestrun.exe created by your own have to be deleted manually.");
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_FALSE(wt::Exists(icq + L"Kestrun.exe"));
    EXPECT_EQ(IcqValue(L"DefaultPrefs", L"MultiInstance"), L"Yes");  // only ICQ 7 was given
}

TEST_F(Switches, WithoutStartOrWithNothingTickedNothingRuns) {
    Ternavo t;
    road::Save(t, {true, false, false, false, 0});
    ASSERT_TRUE(t.Start(L"-icq6 -onlyone"));
    EXPECT_TRUE(wt::IsChecked(t.C("ICQ6Box")));
    EXPECT_FALSE(wt::IsChecked(t.C("ICQLiteBox")));
    EXPECT_EQ(t.ComboIndex(), 1);
    Ternavo none(L"sw-none");
    ASSERT_TRUE(none.Start(L"-start -allow"));
    EXPECT_FALSE(IsWindowEnabled(none.C("StartButton")));
    Sleep(1000);  // a press would have shown its result by now
    EXPECT_EQ(t.Status(), L"Choose options and click start.");
    EXPECT_EQ(none.Status(), L"Choose options and click start.");
    EXPECT_FALSE(road::IcqKeyExists(L""));
    EXPECT_EQ(t.Get(L"ICQPro"), L"1");  // nothing saved
    EXPECT_FALSE(none.Has(L"ICQ7"));
}

}  // namespace

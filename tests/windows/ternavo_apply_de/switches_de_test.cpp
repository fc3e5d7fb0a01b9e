// The administrator's one-liner under a German locale: the removal's message
// and the result in German.
#include <gtest/gtest.h>
#include "tests/windows/ternavo_apply/road.h"

TEST(DeutschSwitches, RemovalFromTheCommandLine) {
    std::wstring icq = wt::NewDir(L"de-sw");
    wt::InstallStandIn(icq);
    wt::InstallKestrun(icq);
    tv::Ternavo t(L"de-sw");
    road::Save(t, {}, icq);
    ASSERT_TRUE(t.Start(L"-ICQ7 -OnlyOne -start"));
    road::Box b = road::TakeBox(t);
    EXPECT_EQ(b.title, L"ICQ 7");
    EXPECT_EQ(b.text, L"Alle selbst erstellten Verknüpfungen von Kestrun.exe müssen manuell gelöscht werden.");
    EXPECT_TRUE(t.WaitStatus(L"Änderungen erfolgreich!"));
    EXPECT_FALSE(wt::Exists(icq + L"Kestrun.exe"));
    EXPECT_EQ(t.Get(L"Instances"), L"1");
}

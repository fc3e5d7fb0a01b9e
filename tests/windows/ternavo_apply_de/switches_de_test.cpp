// The administrator's one-liner under a German locale: removal, its message
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
    EXPECT_EQ(road::TakeBox(t).text, L"Alle selbst erstellten Verknüpfungen von Kestrun.exe müssen manuell gelöscht werden.");
    EXPECT_TRUE(t.WaitStatus(L"Änderungen erfolgreich!"));
    EXPECT_FALSE(wt::Exists(icq + L"Kestrun.exe"));
}

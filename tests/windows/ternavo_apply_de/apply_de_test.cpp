// Start in the real Ternavo under a German locale: the "ICQ 7" messages and
// the status line in German.
#include <gtest/gtest.h>
#include "tests/windows/ternavo_apply/road.h"

using road::Box;
using tv::Ternavo;

namespace {

class Deutsch : public ::testing::Test {
protected:
    void SetUp() override {
        road::ClearIcqKeys();
        DeleteFileW(road::DesktopLink().c_str());
    }
    void TearDown() override { road::ClearIcqKeys(); }
    // Starts Ternavo with ICQ 7 ticked and the folder saved, presses Start and reads the box.
    Box Press(Ternavo& t, int instances, const std::wstring& icq7Path) {
        road::Save(t, {false, false, false, true, instances}, icq7Path);
        EXPECT_TRUE(t.Start());
        t.Press(t.C("StartButton"));
        return road::TakeBox(t);
    }
    static std::wstring Icq(const std::wstring& hint, const std::wstring& kind = L"icq7") {
        std::wstring d = wt::NewDir(hint);
        wt::InstallStandIn(d, kind);
        return d;
    }
};

TEST_F(Deutsch, InstallationSucceeds) {
    std::wstring icq = Icq(L"de-inst");
    Ternavo t;
    road::Save(t, {false, false, true, true, 0}, icq);
    ASSERT_TRUE(t.Start());
    t.Press(t.C("StartButton"));
    ASSERT_TRUE(t.WaitStatus(L"Änderungen erfolgreich!"));
    EXPECT_EQ(wt::ReadBytes(icq + L"Kestrun.exe"), wt::ReadBytes(wt::KestrunExe()));
    EXPECT_EQ(road::IcqValue(L"ICQ6", L"MultiInstance"), L"Yes");
}

TEST_F(Deutsch, WrongVersionAtInstallation) {
    Ternavo t;
    Box b = Press(t, 0, Icq(L"de-six", L"icq6"));
    EXPECT_EQ(b.title, L"ICQ 7");
    EXPECT_EQ(b.text, L"Es wurde keine passende Version von ICQ 7 gefunden.");
    EXPECT_EQ(b.icon, L"warning");
    EXPECT_TRUE(t.WaitStatus(L"Änderungen fehlgeschlagen!"));
}

TEST_F(Deutsch, RemovalMessages) {
    {
        Ternavo t(L"de-m2");
        Box b = Press(t, 1, L"C:\\nirgends");
        EXPECT_EQ(b.title, L"ICQ 7");
        EXPECT_EQ(b.text, L"Es wurde kein ICQ 7 Pfad gefunden. Bitte die Einstellungen anpassen.");
        EXPECT_EQ(b.icon, L"warning");
        EXPECT_TRUE(t.WaitStatus(L"Änderungen fehlgeschlagen!"));
    }
    {
        Ternavo t(L"de-m3");
        Box b = Press(t, 1, Icq(L"de-rm6", L"icq6"));
        EXPECT_EQ(b.text,
                  L"Es wurde keine passende Version von ICQ 7 gefunden. Bitte löschen Sie die Datei Kestrun.exe und "
                  L"alle Verknüpfungen manuell.");
        EXPECT_EQ(b.icon, L"warning");
    }
    {
        std::wstring icq = Icq(L"de-lock");
        wt::InstallKestrun(icq);
        road::Lock lock(icq + L"Kestrun.exe");
        Ternavo t(L"de-m4");
        Box b = Press(t, 1, icq);
        EXPECT_EQ(b.text,
                  L"Die Datei Kestrun.exe konnte nicht entfernt werden. Bitte löschen Sie die diese und alle "
                  L"Verknüpfungen manuell.");
        EXPECT_EQ(b.icon, L"warning");
        EXPECT_TRUE(t.WaitStatus(L"Änderungen fehlgeschlagen!"));
    }
    {
        std::wstring icq = Icq(L"de-rm");
        wt::InstallKestrun(icq);
        Ternavo t(L"de-m5");
        Box b = Press(t, 1, icq);
        EXPECT_EQ(b.title, L"ICQ 7");
        EXPECT_EQ(b.text, L"Alle selbst erstellten Verknüpfungen von Kestrun.exe müssen manuell gelöscht werden.");
        EXPECT_EQ(b.icon, L"information");
        EXPECT_TRUE(t.WaitStatus(L"Änderungen erfolgreich!"));
        EXPECT_FALSE(wt::Exists(icq + L"Kestrun.exe"));
    }
}

}  // namespace

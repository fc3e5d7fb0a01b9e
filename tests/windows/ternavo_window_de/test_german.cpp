// Ternavo under a German system locale: German is the language unless a
// switch or ternavo.ini says otherwise, and every text the windows show at
// run time comes in German.
#include <gtest/gtest.h>
#include "common/product.h"
#include "tests/windows/ternavo_window/driver.h"

using tv::Ternavo;

TEST(German, EveryWindowSpeaksGermanOnAGermanSystem) {
    Ternavo t(L"de");
    ASSERT_TRUE(t.Start());
    EXPECT_EQ(wt::Text(t.C("Headline")), L"Ermöglicht das mehrfache Starten von ICQ.");
    EXPECT_EQ(wt::Text(t.C("SettingsLink")), L"Einstellungen");
    EXPECT_EQ(t.ComboItem(0), L"Mehrere Instanzen von ICQ erlauben");
    EXPECT_EQ(t.ComboItem(1), L"Nur eine Instanz von ICQ");
    EXPECT_EQ(wt::Text(t.C("InstancesList")), L"Mehrere Instanzen von ICQ erlauben");
    EXPECT_EQ(t.Status(), L"Optionen wählen und starten.");
    EXPECT_EQ(wt::Shown(wt::Text(t.C("ExitButton"))), L"Beenden");
    // The headline stays centred whatever its text's width.
    RECT client, head = wt::RectIn(t.C("Headline"), t.main);
    GetClientRect(t.main, &client);
    EXPECT_NEAR((head.left + head.right) / 2, client.right / 2, 1);

    t.OpenSettings();
    EXPECT_EQ(wt::Text(t.SettingsDialog()), L"Kestrun - Einstellungen");
    EXPECT_EQ(wt::Shown(wt::Text(t.InSettings("FolderLabel"))), L"ICQ 7 Installationverzeichnis:");
    // The caption is as wide as its German text and still ends before Change.
    RECT caption = wt::RectIn(t.InSettings("FolderLabel"), t.SettingsDialog());
    EXPECT_LT(caption.right, wt::RectIn(t.InSettings("ChangeButton"), t.SettingsDialog()).left);
    EXPECT_EQ(wt::Shown(wt::Text(t.InSettings("ChangeButton"))), L"Ändern");
    EXPECT_EQ(wt::Shown(wt::Text(t.InSettings("ShortcutBox"))), L"Verknüpfung zum Kestrun auf dem Desktop anlegen");
    t.Key(t.InSettings("FolderBox"), VK_ESCAPE);
    ASSERT_TRUE(t.WaitHidden(t.SettingsDialog()));

    t.Press(t.C("InfoButton"));
    ASSERT_TRUE(wt::WaitFor([&] { return t.Visible(t.AboutBox()); }, 10000));
    EXPECT_EQ(wt::Text(t.AboutBox()), L"Ternavo - Info");
    EXPECT_EQ(wt::Text(t.InAbout("HomepageLabel")), L"Homepage:");
    EXPECT_EQ(wt::Text(t.InAbout("HomepageLink")), kHomeDomain);
    t.Key(t.InAbout("OkButton"), VK_ESCAPE);
    ASSERT_TRUE(t.WaitHidden(t.AboutBox()));
}

TEST(German, SwitchesAndTheSettingStillChooseEnglish) {
    struct Case {
        const wchar_t* args;
        const wchar_t* language;
        bool english;
    } cases[] = {
        {L"-english", nullptr, true},
        {L"-german -english", nullptr, true},
        {L"", L"English", true},
        {L"-english", L"German", false},
        {L"-english", L"GERMAN", true},  // not an exact value: the switch stands
        {L"", L"english", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.args) + L" / " + (c.language ? c.language : L"-"));
        Ternavo t(L"delang");
        if (c.language) t.Set(L"Language", c.language);
        ASSERT_TRUE(t.Start(c.args));
        EXPECT_EQ(wt::Text(t.C("OptionsFrame")), c.english ? L"Options" : L"Optionen");
        EXPECT_EQ(t.Status(), c.english ? L"Choose options and click start." : L"Optionen wählen und starten.");
        EXPECT_EQ(t.ComboItem(1), c.english ? L"Only one instance of ICQ" : L"Nur eine Instanz von ICQ");
        EXPECT_EQ(wt::Text(t.Settings()), c.english ? L"Kestrun - Settings" : L"Kestrun - Einstellungen");
    }
}

TEST(German, ResultsAndTheWrongVersionMessageAreGerman) {
    std::wstring icq6 = wt::NewDir(L"de6");
    wt::InstallStandIn(icq6, L"icq6");
    Ternavo t(L"deres");
    ASSERT_TRUE(t.Start());
    wt::Click(t.C("ICQ6Box"));  // ICQ 6, allow: the key is created
    t.Press(t.C("StartButton"));
    ASSERT_TRUE(t.WaitStatus(L"Änderungen erfolgreich!"));
    EXPECT_TRUE(IsWindowVisible(t.C("SuccessMark")));
    ASSERT_TRUE(t.WaitStatus(L"Optionen wählen und starten.", 10000));
    EXPECT_FALSE(IsWindowVisible(t.C("SuccessMark")));
    EXPECT_EQ(t.Get(L"ICQ6"), L"1");

    wt::Click(t.C("ICQ6Box"));
    wt::Click(t.C("ICQProBox"));  // ICQ Pro 2003, only one instance: no key, so it fails
    t.Key(t.C("InstancesList"), VK_DOWN);
    t.Press(t.C("StartButton"));
    ASSERT_TRUE(t.WaitStatus(L"Änderungen fehlgeschlagen!"));
    EXPECT_TRUE(IsWindowVisible(t.C("FailureMark")));
    RECT label = wt::RectIn(t.C("StatusLine"), t.main);
    RECT mark = wt::RectIn(t.C("FailureMark"), t.main);
    EXPECT_NEAR(tv::Tw(mark.left - label.right), 130, 15);
    EXPECT_EQ(t.Get(L"ICQLite"), L"1");
    EXPECT_EQ(t.Get(L"ICQ6"), L"0");
    EXPECT_EQ(t.Get(L"Instances"), L"1");
    // The box that says what failed comes after the status line: close it before going on.
    wt::MessageBoxSeen failed = wt::WaitMessageBox(t.proc.pid(), 10000);
    ASSERT_TRUE(failed.hwnd);
    EXPECT_EQ(failed.title, L"Ternavo");
    wt::CloseMessageBox(failed.hwnd);
    ASSERT_TRUE(t.WaitHidden(failed.hwnd));

    t.OpenSettings();
    t.SetFolderBox(icq6);
    t.Press(t.InSettings("OkButton"));
    wt::MessageBoxSeen box = wt::WaitMessageBox(t.proc.pid(), 10000);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.title, L"ICQ 7");
    EXPECT_EQ(box.text, L"Das gewählte Verzeichnis enthält nicht die richtige ICQ-Version.");
    wt::CloseMessageBox(box.hwnd);
    ASSERT_TRUE(t.WaitHidden(box.hwnd));
    EXPECT_TRUE(IsWindowVisible(t.SettingsDialog()));
    EXPECT_FALSE(t.Has(L"ICQ7Path"));
}

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
    EXPECT_EQ(wt::Text(t.C("Label2")), L"Ermöglicht das mehrfache Starten von ICQ.");
    EXPECT_EQ(wt::Text(t.C("Label3")), L"Einstellungen");
    EXPECT_EQ(t.ComboItem(0), L"Mehrere Instanzen von ICQ erlauben");
    EXPECT_EQ(t.ComboItem(1), L"Nur eine Instanz von ICQ");
    EXPECT_EQ(wt::Text(t.C("Combo1")), L"Mehrere Instanzen von ICQ erlauben");
    EXPECT_EQ(t.Status(), L"Optionen wählen und starten.");
    EXPECT_EQ(wt::Text(t.C("Command2")), L"Beenden");
    // The headline stays centred whatever its text's width.
    RECT client, head = wt::RectIn(t.C("Label2"), t.main);
    GetClientRect(t.main, &client);
    EXPECT_NEAR((head.left + head.right) / 2, client.right / 2, 1);

    t.OpenSettings();
    EXPECT_EQ(wt::Text(t.Form3()), L"Kestrun - Einstellungen");
    EXPECT_EQ(wt::Text(t.F3("Label2")), L"ICQ 7 Installationverzeichnis:");
    // The caption is as wide as its German text and still ends before Change.
    RECT caption = wt::RectIn(t.F3("Label2"), t.Form3());
    EXPECT_LT(caption.right, wt::RectIn(t.F3("Command1"), t.Form3()).left);
    EXPECT_EQ(wt::Text(t.F3("Command1")), L"Ändern");
    EXPECT_EQ(wt::Text(t.F3("Check1")), L"Verknüpfung zum Kestrun auf dem Desktop anlegen");
    t.Key(t.F3("Text1"), VK_ESCAPE);
    ASSERT_TRUE(t.WaitHidden(t.Form3()));

    t.Press(t.C("Command1"));
    ASSERT_TRUE(wt::WaitFor([&] { return t.Visible(t.Form2()); }, 10000));
    EXPECT_EQ(wt::Text(t.Form2()), L"Ternavo - Info");
    EXPECT_EQ(wt::Text(t.F2("Label5")), L"Homepage:");
    EXPECT_EQ(wt::Text(t.F2("Label1")), kHomeDomain);
    t.Key(t.F2("Command1"), VK_ESCAPE);
    ASSERT_TRUE(t.WaitHidden(t.Form2()));
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
        EXPECT_EQ(wt::Text(t.C("Frame2")), c.english ? L"Options" : L"Optionen");
        EXPECT_EQ(t.Status(), c.english ? L"Choose options and click start." : L"Optionen wählen und starten.");
        EXPECT_EQ(t.ComboItem(1), c.english ? L"Only one instance of ICQ" : L"Nur eine Instanz von ICQ");
        EXPECT_EQ(wt::Text(t.Form3()), c.english ? L"Kestrun - Settings" : L"Kestrun - Einstellungen");
    }
}

TEST(German, ResultsAndTheWrongVersionMessageAreGerman) {
    std::wstring icq6 = wt::NewDir(L"de6");
    wt::InstallStandIn(icq6, L"icq6");
    Ternavo t(L"deres");
    ASSERT_TRUE(t.Start());
    wt::Click(t.C("Check3"));  // ICQ 6, allow: the key is created
    t.Press(t.C("Command3"));
    ASSERT_TRUE(t.WaitStatus(L"Änderungen erfolgreich!"));
    EXPECT_TRUE(IsWindowVisible(t.C("Image1")));
    ASSERT_TRUE(t.WaitStatus(L"Optionen wählen und starten.", 10000));
    EXPECT_FALSE(IsWindowVisible(t.C("Image1")));
    EXPECT_EQ(t.Get(L"ICQ6"), L"1");

    wt::Click(t.C("Check3"));
    wt::Click(t.C("Check2"));  // ICQ Pro 2003, only one instance: no key, so it fails
    t.Key(t.C("Combo1"), VK_DOWN);
    t.Press(t.C("Command3"));
    ASSERT_TRUE(t.WaitStatus(L"Änderungen fehlgeschlagen!"));
    EXPECT_TRUE(IsWindowVisible(t.C("Image2")));
    RECT label = wt::RectIn(t.C("Label1"), t.main);
    RECT mark = wt::RectIn(t.C("Image2"), t.main);
    EXPECT_NEAR(tv::Tw(mark.left - label.right), 130, 15);
    EXPECT_EQ(t.Get(L"ICQLite"), L"1");
    EXPECT_EQ(t.Get(L"ICQ6"), L"0");
    EXPECT_EQ(t.Get(L"Instances"), L"1");

    t.OpenSettings();
    t.SetText1(icq6);
    t.Press(t.F3("Command2"));
    wt::MessageBoxSeen box = wt::WaitMessageBox(t.proc.pid(), 10000);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.title, L"ICQ 7");
    EXPECT_EQ(box.text, L"Das gewählte Verzeichnis enthält nicht die richtige ICQ-Version.");
    wt::CloseMessageBox(box.hwnd);
    ASSERT_TRUE(t.WaitHidden(box.hwnd));
    EXPECT_TRUE(IsWindowVisible(t.Form3()));
    EXPECT_FALSE(t.Has(L"ICQ7Path"));
}

// Kestrun on a German system: its refusals speak German unless a switch or
// the settings key asks for English.
#include <gtest/gtest.h>
#include "tests/windows/kestrun_launch/launch_support.h"

using launch::Folder;

TEST(GermanLaunch, RefusalsAreInGerman) {
    {
        Folder f(L"Kestrun.exe", false);
        f.Set(L"ShowMe", L"0");
        wt::Process k = launch::Start(f);
        launch::Refusal r = launch::RefusalOf(k);
        EXPECT_EQ(r.title, L"Fehler");
        EXPECT_EQ(r.text, L"Die Datei ICQ.exe konnte nicht gefunden werden! Vorgang abgebrochen.");
        EXPECT_TRUE(r.ended);
    }
    {
        Folder f(L"KesTrun.exe");
        wt::Process k = launch::Start(f, L"", L"KesTrun.exe");
        launch::Refusal r = launch::RefusalOf(k);
        EXPECT_EQ(r.title, L"Fehler");
        EXPECT_EQ(r.text, L"Falscher EXE-Name des Ternavo Starters");
        EXPECT_TRUE(r.ended);
    }
    {
        Folder f;
        f.Set(L"ShowMe", L"0");
        f.Set(L"Starts", L"3");
        f.Stub(L"MarkerDelayMs", L"-1");
        wt::Process first = launch::Start(f);
        ASSERT_TRUE(wt::WaitFor([&] { return f.Get(L"LastNr") == L"1"; }, 20000));
        wt::Process second = launch::Start(f, L"-showme");
        launch::Refusal r = launch::RefusalOf(second);
        EXPECT_EQ(r.title, L"Fehler");
        EXPECT_EQ(r.text, L"Der Ternavo Starter läuft bereits.");
        EXPECT_TRUE(r.ended);
        EXPECT_TRUE(first.WaitExit(30000));
        EXPECT_EQ(f.Log().size(), 1u);
        for (HWND w : launch::StubWindows()) PostMessageW(w, WM_CLOSE, 0, 0);
    }
}

TEST(GermanLaunch, EnglishBySwitchOrByTheSettingsKey) {
    struct Case { const wchar_t* key; const wchar_t* args; const wchar_t* title; } cases[] = {
        {nullptr, L"-English", L"Error"},
        {L"English", L"-german", L"Error"},
        {L"ENGLISH", L"", L"Fehler"},
        {L"German", L"-english", L"Fehler"},
    };
    for (const auto& c : cases) {
        Folder f(L"Kestrun.exe", false);
        f.Set(L"ShowMe", L"0");
        if (c.key) f.Set(L"Language", c.key);
        wt::Process k = launch::Start(f, c.args);
        launch::Refusal r = launch::RefusalOf(k);
        EXPECT_EQ(r.title, c.title) << c.args;
        EXPECT_TRUE(r.ended);
    }
}

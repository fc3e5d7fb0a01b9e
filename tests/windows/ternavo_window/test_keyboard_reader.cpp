// Ternavo from the keyboard alone and through a screen reader's ears: every
// window in both languages, its names, access keys, Tab order and links, and the
// Settings link followed with Enter and with Space.
#include <gtest/gtest.h>
#include "tests/windows/support/reader.h"
#include "tests/windows/ternavo_window/driver.h"

using tv::Ternavo;

TEST(KeyboardAndReader, EveryWindowInBothLanguagesIsNamedKeyedAndTabbedInTheOrderOfItsTable) {
    std::wstring icq7 = wt::NewDir(L"reader7");
    wt::InstallStandIn(icq7, L"icq7");
    for (const wchar_t* language : {L"-english", L"-german"}) {
        std::string lang = language[1] == L'e' ? "English" : "German";
        Ternavo t(L"reader");
        t.Set(L"ICQ7", L"1");        // Start can be pressed, so that it takes part
        t.Set(L"ICQ7Path", icq7);  // and so can the settings dialog's OK
        ASSERT_TRUE(t.Start(language));

        EXPECT_EQ(t.Focus(), t.C("StartButton")) << lang;
        wt::ExpectNamesAndAccessKeys(t.main, kMainWindowControls, kMainWindowCount, lang + " main window");
        wt::ExpectTabOrderOfTable(t.main, kMainWindowControls, kMainWindowCount, lang + " main window");
        wt::ExpectLinksBesideTheirTexts(t.main, kMainWindowControls, kMainWindowCount, nullptr, 0, ScreenDpi(),
                                        lang + " main window");

        // The Settings link from the keyboard: Tab to it, Enter opens the dialog.
        for (int n = 0; n < 12 && t.Focus() != t.C("SettingsLink"); ++n) t.Key(t.Focus(), VK_TAB);
        ASSERT_EQ(t.Focus(), t.C("SettingsLink")) << lang;
        t.Key(t.C("SettingsLink"), VK_RETURN);
        ASSERT_TRUE(t.WaitSettingsShown()) << lang << ": Enter on the link";
        HWND dialog = t.SettingsDialog();
        wt::ExpectNamesAndAccessKeys(dialog, kSettingsDialogControls, kSettingsDialogCount, lang + " settings dialog");
        wt::ExpectTabOrderOfTable(dialog, kSettingsDialogControls, kSettingsDialogCount, lang + " settings dialog");
        t.Key(t.InSettings("FolderBox"), VK_ESCAPE);
        ASSERT_TRUE(t.WaitHidden(dialog));
        // Back on the link, Space follows it too.
        // The keyboard goes on from where it was.
        wt::WaitFor([&] { return t.Focus() == t.C("SettingsLink"); }, 3000);
        ASSERT_EQ(t.Focus(), t.C("SettingsLink"))
            << lang << ": the focus went to row " << wt::TableRow(t.main, kMainWindowControls, kMainWindowCount, t.Focus())
            << (t.Focus() && GetAncestor(t.Focus(), GA_ROOT) == dialog ? " of the hidden dialog" : "");
        t.Key(t.C("SettingsLink"), VK_SPACE);
        ASSERT_TRUE(t.WaitShown(dialog)) << lang << ": Space on the link";
        t.Key(t.InSettings("FolderBox"), VK_ESCAPE);
        ASSERT_TRUE(t.WaitHidden(dialog));
        ASSERT_TRUE(wt::WaitFor([&] { return t.Focus() == t.C("SettingsLink"); }, 3000)) << lang;

        // Alt+I is Info.
        PostMessageW(t.Focus(), WM_SYSCHAR, L'i', 0x20000001);
        ASSERT_TRUE(wt::WaitFor([&] { return t.Visible(t.AboutBox()); }, 10000)) << lang << ": Alt+I";
        HWND about = t.AboutBox();
        EXPECT_EQ(t.Focus(), t.InAbout("OkButton"));
        wt::ExpectNamesAndAccessKeys(about, kAboutBoxControls, kAboutBoxCount, lang + " about box");
        wt::ExpectTabOrderOfTable(about, kAboutBoxControls, kAboutBoxCount, lang + " about box");
        wt::ExpectLinksBesideTheirTexts(about, kAboutBoxControls, kAboutBoxCount, kAboutBoxSentences,
                                        std::size(kAboutBoxSentences), ScreenDpi(), lang + " about box");
        t.Key(t.InAbout("OkButton"), VK_ESCAPE);
        ASSERT_TRUE(t.WaitHidden(about));
    }
}

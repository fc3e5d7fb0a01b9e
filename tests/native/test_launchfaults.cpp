// Kestrun's launch around the new ICQ 7 window and its two error boxes.
#include <gtest/gtest.h>
#include "kestrun/rules/failuretexts.h"
#include "kestrun/rules/icqwindow.h"

TEST(IcqWindow, HelperWindowsShownStateAndTheToolWindowStyle) {
    for (const wchar_t* helper : {L"IME", L"MSCTFIME UI", L"CicMarshalWndClass", L"OleMainThreadWndClass",
                                  L"GDI+ Hook Window Class", L"ime", L"olemainthreadwndclass"})
        EXPECT_TRUE(IsHelperWindowClass(helper)) << helper;
    for (const wchar_t* other : {L"", L"IcqStubWindow", L"IMEx", L"IM", L"#32770", L"OleMainThreadWnd"})
        EXPECT_FALSE(IsHelperWindowClass(other)) << other;

    // Only the visible bit counts: a shown pop-up (sign bit set) is shown, a
    // hidden minimized window with clip-siblings is not.
    EXPECT_TRUE(IsShownStyle(0x90000000u));   // a shown pop-up
    EXPECT_TRUE(IsShownStyle(0x10000000u));   // the visible bit alone
    EXPECT_TRUE(IsShownStyle(0x14CF0000u));   // a shown captioned window
    EXPECT_FALSE(IsShownStyle(0x24CF0000u));  // hidden and minimized
    EXPECT_FALSE(IsShownStyle(0x80000000u));  // a hidden pop-up

    EXPECT_EQ(ToolWindowExStyle(0u), 0x80u);
    EXPECT_EQ(ToolWindowExStyle(0x40000u), 0x80u);         // the app-window bit goes
    EXPECT_EQ(ToolWindowExStyle(0x80108u), 0x80188u);      // layered, topmost, window edge stay
    EXPECT_EQ(ToolWindowExStyle(0xC0108u), 0x80188u);      // ...also where the app-window bit goes
}

TEST(ErrorBoxes, MessageReasonAndHintEachOnALine) {
    EXPECT_EQ(ReasonLine(L"Access denied.\r\n", L"x"), L"Access denied.");
    EXPECT_EQ(ReasonLine(L"Two lines\r\nof reason. \r\n\r\n", L"x"), L"Two lines\r\nof reason.");
    EXPECT_EQ(ReasonLine(L" \r\n", L"x"), L"");
    // Where the system names the file, it is named; a "%1" in its name stays as it is.
    EXPECT_EQ(ReasonLine(L"%1 is not a valid Win32 application.\r\n", L"C:\\ICQ 7\\ICQ.exe2"),
              L"C:\\ICQ 7\\ICQ.exe2 is not a valid Win32 application.");
    EXPECT_EQ(ReasonLine(L"%1 or %1", L"a%1"), L"a%1 or a%1");

    const std::wstring copy = L"C:\\ICQ7\\ICQ.exe1";
    EXPECT_EQ(StartFailedText(true, L"Bad EXE format for %1.\r\n", copy, false),
              L"ICQ 7 could not be started.\nBad EXE format for C:\\ICQ7\\ICQ.exe1.");
    EXPECT_EQ(StartFailedText(false, L"Zugriff verweigert\r\n", copy, true),
              L"ICQ 7 konnte nicht gestartet werden.\nZugriff verweigert\nStarten Sie Kestrun als Administrator oder "
              L"installieren Sie ICQ 7 in einen Ordner, in den Sie schreiben dürfen.");
    EXPECT_EQ(StartFailedText(true, L"Access denied.", copy, true),
              L"ICQ 7 could not be started.\nAccess denied.\nRun Kestrun as administrator, or install ICQ 7 into a "
              L"folder you may write to.");
    // Without a text from the system the message stands alone.
    EXPECT_EQ(StartFailedText(true, L"", copy, false), L"ICQ 7 could not be started.");
    EXPECT_EQ(SaveFailedText(true, L"Sharing violation.\r\n", L"k.ini"), L"The settings could not be saved.\nSharing violation.");
    EXPECT_EQ(SaveFailedText(false, L"", L"k.ini"), L"Die Einstellungen konnten nicht gespeichert werden.");

    EXPECT_TRUE(CopyWasRefused(5));
    for (unsigned long other : {0ul, 2ul, 3ul, 32ul, 112ul}) EXPECT_FALSE(CopyWasRefused(other)) << other;
}

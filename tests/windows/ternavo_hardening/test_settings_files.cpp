// ternavo.ini as other programs and people leave it: random bytes, byte-order
// marks, UTF-16, a line of 1 MB, quoted values, a section or key twice, a
// read-only file, a file held open by another program, a folder of that name.
// Ternavo must start, show what the system reads (the defaults where it reads
// nothing), apply, and change no key but those its save writes.
#include <gtest/gtest.h>
#include <memory>
#include "tests/windows/kestrun_hardening/hardening.h"
#include "tests/windows/ternavo_window/driver.h"

namespace {

using hard::Layout;

struct Case {
    const char* name;
    std::string bytes;
    Layout layout;
    bool check[4];  // the generation boxes (ICQ Lite, Pro, 6, 7) after loading
    bool german;
};

std::vector<Case> Cases() {
    const std::string body = "[Ternavo]\r\nICQ6=1\r\nICQ7Path=C:\\Programme\\ICQ7\\\r\n[Notes]\r\nKeep=1\r\n";
    std::vector<Case> c;
    c.push_back({"random bytes", hard::RandomBytes(4096, 11), Layout::File, {false, false, false, false}, false});
    c.push_back({"UTF-8 with byte-order mark",
                 "\xEF\xBB\xBF; edited by hand\r\n[Ternavo]\r\nICQPro=1\r\nLanguage=German\r\n"
                 "ICQ7Path=C:\\Programme\\ICQ7\\\r\n[Notes]\r\nOwner=J\xC3\xBCrgen\r\n",
                 Layout::File, {true, false, false, false}, true});
    c.push_back({"UTF-16",
                 hard::Utf16(L"[Ternavo]\r\nICQLite=1\r\nICQ6=1\r\nICQ7Path=C:\\\x03A9\x03BC\x03AD\x03B3\x03B1\\ICQ7\\\r\n"
                             L"[Notes]\r\nOwner=\x03A9\x03BC\x03AD\x03B3\x03B1 \x65E5\x672C\r\n"),
                 Layout::File, {false, true, true, false}, false});
    c.push_back({"a line of 1 MB", "[Ternavo]\r\nICQ6=1\r\nNote=" + std::string(1 << 20, 'x') + "\r\nInstances=0\r\n",
                 Layout::File, {false, false, true, false}, false});
    // A folder text far beyond any path: read cut short, tested and passed over.
    c.push_back({"a folder of 64 KB", "[Ternavo]\r\nICQ6=1\r\nICQ7Path=C:\\" + std::string(1 << 16, 'a') + "\\\r\n",
                 Layout::File, {false, false, true, false}, false});
    // The system takes a value out of a pair of quotes around it; a lone quote stays.
    c.push_back({"values in quotes", "[Ternavo]\r\nICQPro=\"1\"\r\nICQLite='1'\r\nICQ6=\"1\r\nLanguage=\"German\"\r\n",
                 Layout::File, {true, true, false, false}, true});
    // Only the first of two sections counts...
    c.push_back({"the section twice", "[Ternavo]\r\nICQ6=1\r\n[Other]\r\nx=1\r\n[Ternavo]\r\nICQPro=1\r\nLanguage=German\r\n",
                 Layout::File, {false, false, true, false}, false});
    // ...and only the first of two keys.
    c.push_back({"the key twice", "[Ternavo]\r\nICQ6=0\r\nICQ6=1\r\nICQLite=1\r\nICQLite=0\r\nInstances=0\r\nInstances=1\r\n",
                 Layout::File, {false, true, false, false}, false});
    c.push_back({"a read-only file", body, Layout::ReadOnly, {false, false, true, false}, false});
    c.push_back({"a file held open by another program", body, Layout::HeldOpen, {false, false, true, false}, false});
    c.push_back({"a folder named ternavo.ini", "", Layout::Folder, {false, false, false, false}, false});
    return c;
}

TEST(SettingsFiles, EveryBadFileStartsWithWhatTheSystemReadsAndKeepsTheOtherKeys) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        tv::Ternavo t(L"tvini");
        hard::Lay(t.ini, c.bytes, c.layout);
        std::unique_ptr<hard::Held> held;
        if (c.layout == Layout::HeldOpen) {
            held = std::make_unique<hard::Held>(t.ini);
            ASSERT_TRUE(held->ok());
        }
        const hard::IniView before = hard::ReadIni(t.ini);
        const std::string bytesBefore = wt::ReadBytes(t.ini);

        ASSERT_TRUE(t.Start());
        const char* boxes[] = {"ICQLiteBox", "ICQProBox", "ICQ6Box", "ICQ7Box"};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(wt::IsChecked(t.C(boxes[i])), c.check[i]) << boxes[i];
        EXPECT_EQ(t.ComboIndex(), 0);
        EXPECT_EQ(t.Status(), c.german ? L"Optionen wählen und starten." : L"Choose options and click start.");
        EXPECT_EQ(wt::ReadBytes(t.ini), bytesBefore) << "loading wrote to the file";
        // No stored folder is usable here: the settings dialog holds what the search found, nothing.
        EXPECT_EQ(t.FolderBox(), L"");

        // Allow multiple instances of ICQ 6 (and of whatever the file checked).
        if (!c.check[2]) wt::Click(t.C("ICQ6Box"));
        ASSERT_TRUE(IsWindowEnabled(t.C("StartButton")));
        t.Press(t.C("StartButton"));
        EXPECT_TRUE(t.WaitStatus(c.german ? L"Änderungen erfolgreich!" : L"Changes successful!")) << t.Status();
        t.Press(t.C("ExitButton"));  // Exit
        ASSERT_TRUE(t.proc.WaitExit(15000)) << "Ternavo did not end";
        EXPECT_EQ(t.proc.ExitCode(), 0u);

        const hard::IniView after = hard::ReadIni(t.ini);
        hard::ExpectOnlyWritten(before, after, L"Ternavo",
                                {L"ICQPro", L"ICQLite", L"ICQ6", L"ICQ7", L"Shortcut", L"Instances"}, c.name);
        switch (c.layout) {
        case Layout::HeldOpen:
            EXPECT_EQ(wt::ReadBytes(t.ini), bytesBefore);
            break;
        case Layout::Folder:
            EXPECT_TRUE(GetFileAttributesW(t.ini.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
            break;
        case Layout::ReadOnly:
            EXPECT_TRUE(GetFileAttributesW(t.ini.c_str()) & FILE_ATTRIBUTE_READONLY);
            break;
        case Layout::File:
            // The choices of this run were saved.
            EXPECT_EQ(t.Get(L"ICQPro"), c.check[0] ? L"1" : L"0");
            EXPECT_EQ(t.Get(L"ICQLite"), c.check[1] ? L"1" : L"0");
            EXPECT_EQ(t.Get(L"ICQ6"), L"1");
            EXPECT_EQ(t.Get(L"Instances"), L"0");
            break;
        }
        for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE"}) {
            std::string m(mark);
            if (c.bytes.compare(0, m.size(), m) == 0) {
                EXPECT_EQ(wt::ReadBytes(t.ini).substr(0, m.size()), m);
            }
        }
        if (c.bytes.size() > (1 << 20)) {
            EXPECT_NE(wt::ReadBytes(t.ini).find("\r\nNote=" + std::string(1 << 20, 'x') + "\r\n"), std::string::npos);
        }
        held.reset();
    }
}

// The command line can hold 32 KB; "-german" somewhere inside it still counts.
TEST(CommandLine, ThirtyTwoKilobytesOfArgumentsStillChooseTheLanguage) {
    tv::Ternavo t(L"tvcmd");
    std::wstring args;
    while (args.size() < 16000) args += L"-x \"quoted \t text\" ";
    args += L"-german ";
    while (args.size() < 32000) args += L"\x00C4\x03A9\x65E5 -status=99999 ";
    ASSERT_TRUE(t.Start(args));
    EXPECT_EQ(t.Status(), L"Optionen wählen und starten.");
    EXPECT_FALSE(IsWindowEnabled(t.C("StartButton")));
    t.Press(t.C("ExitButton"));
    ASSERT_TRUE(t.proc.WaitExit(15000));
    EXPECT_FALSE(wt::Exists(t.ini)) << "nothing was saved, so no file was made";
}

}  // namespace

// The support library both programs share: settings files, locale, file test,
// digit filter and the window icon object.
#include <windows.h>
#include <delayimp.h>
#include <gtest/gtest.h>
#include "common/formicon.h"
#include "common/layout.h"
#include "common/dll_search.h"
#include "common/files.h"
#include "common/ini_file.h"
#include "common/locale_info.h"
#include "common/rules/digits.h"
#include "tests/windows/support/wt.h"

TEST(IniFile, ReadingAMissingFileGivesEmptyTextAndCreatesNothing) {
    std::wstring dir = wt::NewDir(L"ini");
    EXPECT_EQ(ReadIniValue(dir + L"none.ini", L"Kestrun", L"MaxNr"), L"");
    EXPECT_FALSE(wt::Exists(dir + L"none.ini"));
}

TEST(IniFile, WritingCreatesFileAndSectionAndKeepsOtherKeys) {
    std::wstring file = wt::NewDir(L"ini") + L"new.ini";
    WriteIniValue(file, L"Kestrun", L"MaxNr", L"7");
    WriteIniValue(file, L"Kestrun", L"LastNr", L"2");
    WriteIniValue(file, L"Kestrun", L"MaxNr", L"9");
    EXPECT_EQ(ReadIniValue(file, L"Kestrun", L"MaxNr"), L"9");
    EXPECT_EQ(ReadIniValue(file, L"Kestrun", L"LastNr"), L"2");
    EXPECT_EQ(ReadIniValue(file, L"Other", L"MaxNr"), L"");
    // Settings files stay ANSI text: no byte-order mark, no UTF-16.
    std::string bytes = wt::ReadBytes(file);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 9), "[Kestrun]");
}

TEST(IniFile, ASectionReadOnceGivesWhatEachKeyReadAloneGives) {
    std::wstring file = wt::NewDir(L"ini") + L"section.ini";
    std::string longValue(10050, 'v');
    wt::WriteBytes(file, "[Other]\r\nMaxNr=1\r\n[Kestrun]\r\n  maxnr  =  7  \r\nShowMe=\"0\"\r\nQuote='a\r\n"
                         "Eq=a=b\r\nEmpty=\r\nNoValue\r\nTwice=first\r\nTwice=second\r\nLong=" + longValue +
                         "\r\n;Comment=1\r\n[Kestrun2]\r\nLastNr=3\r\n");
    const IniSection section(file, L"Kestrun");
    for (const wchar_t* key : {L"MaxNr", L"ShowMe", L"Quote", L"Eq", L"Empty", L"NoValue", L"Twice", L"Long",
                               L"LastNr", L"Missing"})
        EXPECT_EQ(section.Value(key), ReadIniValue(file, L"Kestrun", key)) << key;
    EXPECT_EQ(section.Value(L"MaxNr"), L"7");
    EXPECT_EQ(section.Value(L"ShowMe"), L"0");
    EXPECT_EQ(section.Value(L"Long").size(), 9998u);
    EXPECT_EQ(IniSection(file + L"x", L"Kestrun").Value(L"MaxNr"), L"");
}

TEST(IniFile, LongValuesReadBackWholeUpTo9998Characters) {
    std::wstring file = wt::NewDir(L"ini") + L"long.ini";
    std::wstring value(9998, L'x');
    value[0] = L'a';
    value[9997] = L'z';
    WriteIniValue(file, L"S", L"K", value);
    EXPECT_EQ(ReadIniValue(file, L"S", L"K"), value);
    WriteIniValue(file, L"S", L"K", value + L"!");
    EXPECT_EQ(ReadIniValue(file, L"S", L"K").size(), 9998u);
}

TEST(IniFile, UmlautsSurviveTheRoundTrip) {
    std::wstring file = wt::NewDir(L"ini") + L"umlaut.ini";
    WriteIniValue(file, L"Ternavo", L"ICQ7Path", L"C:\\Programme\\Grüße\\");
    EXPECT_EQ(ReadIniValue(file, L"Ternavo", L"ICQ7Path"), L"C:\\Programme\\Grüße\\");
}

TEST(FileExistsTest, OnlyRealFilesCount) {
    std::wstring dir = wt::NewDir(L"fe");
    wt::WriteBytes(dir + L"a.txt", "x");
    EXPECT_TRUE(FileExists(dir + L"a.txt"));
    EXPECT_FALSE(FileExists(dir + L"b.txt"));
    EXPECT_FALSE(FileExists(dir));
    EXPECT_FALSE(FileExists(dir.substr(0, dir.size() - 1)));
    EXPECT_FALSE(FileExists(L""));
    EXPECT_FALSE(FileExists(L"Q:\\nowhere\\a.txt"));
}

TEST(DigitFilter, DigitsAndBackspacePassEverythingElseIsDropped) {
    for (int c = '0'; c <= '9'; ++c) EXPECT_EQ(FilterDigitKey(c), c);
    EXPECT_EQ(FilterDigitKey(8), 8);
    for (int c : {int('a'), int('Z'), int('-'), int('.'), int(' '), 13, 22, 0x00E4})
        EXPECT_EQ(FilterDigitKey(c), 0) << c;
}

TEST(Locale, EnglishSystemLocaleNamesItsLanguageEnglish) {
    EXPECT_EQ(ReadLocaleInfo(LOCALE_SNATIVELANGNAME), L"English");
    EXPECT_EQ(ReadLocaleInfo(0x7FFFFFF0), L"");
}

namespace {
HWND PlainWindow() {
    return CreateWindowExW(0, L"STATIC", L"icon test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}
HICON IconOf(HWND w, WPARAM which) { return reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, which, 0)); }
}  // namespace

TEST(FormIconTest, ResourceIconSetsBothSizesAndIsDestroyedOnRelease) {
    HWND w = PlainWindow();
    HICON big, small;
    {
        FormIcon icon;
        icon.Form(w);
        // The test program carries no icon resource; take one from the built Kestrun.
        HMODULE k = LoadLibraryExW(wt::KestrunExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(k, nullptr);
        icon.hInstance(k);
        icon.ResIcon(1);
        big = icon.big();
        small = icon.small();
        ASSERT_NE(big, nullptr);
        ASSERT_NE(small, nullptr);
        EXPECT_EQ(IconOf(w, ICON_BIG), big);
        EXPECT_EQ(IconOf(w, ICON_SMALL), small);
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(small, &ii));
        BITMAP bm{};
        GetObjectW(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 16);
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);

        // Setting it again destroys the first pair.
        icon.ResIcon(1);
        ICONINFO gone{};
        EXPECT_FALSE(GetIconInfo(big, &gone));
        big = icon.big();
        small = icon.small();

        // On a screen of 144 dpi the icons are made again at its sizes (24 and
        // 48 pixels), and those of 96 dpi are destroyed.
        icon.Dpi(144);
        EXPECT_FALSE(GetIconInfo(big, &gone));
        EXPECT_FALSE(GetIconInfo(small, &gone));
        EXPECT_EQ(IconOf(w, ICON_SMALL), icon.small());
        ASSERT_TRUE(GetIconInfo(icon.small(), &ii));
        GetObjectW(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 24);
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);
        big = icon.big();
        small = icon.small();
        FreeLibrary(k);
    }
    ICONINFO gone{};
    EXPECT_FALSE(GetIconInfo(big, &gone));
    EXPECT_FALSE(GetIconInfo(small, &gone));
    EXPECT_EQ(IconOf(w, ICON_BIG), nullptr);
    DestroyWindow(w);
}

TEST(FormIconTest, DetachingTheWindowDestroysTheIconsAndUnknownResourcesSetNothing) {
    HWND w = PlainWindow();
    FormIcon icon;
    icon.Form(w);
    HMODULE k = LoadLibraryExW(wt::KestrunExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    icon.hInstance(k);
    icon.ResIcon(1);
    HICON big = icon.big();
    icon.Form(nullptr);
    ICONINFO gone{};
    EXPECT_FALSE(GetIconInfo(big, &gone));
    icon.Form(w);
    icon.ResIcon(4711);
    EXPECT_EQ(icon.big(), nullptr);
    EXPECT_EQ(IconOf(w, ICON_BIG), nullptr);
    FreeLibrary(k);
    DestroyWindow(w);
}

// The one way every window follows a change of DPI: each control of the table
// at its place for the new DPI, in fonts made for it, the old fonts freed.
TEST(LayoutTest, RescaleLaysTheTableOutAtTheNewDpiAndFreesTheFontsItHad) {
    static constexpr ControlDef table[] = {
        {"Frame", Kind::Frame, nullptr, 120, 120, 3000, 1500, L"Frame", nullptr, CF_None},
        {"Label", Kind::Label, "Frame", 240, 300, 1200, 195, L"Label", nullptr, CF_Bold},
        {"Link", Kind::Link, "Frame", 1500, 300, 900, 195, L"Link", nullptr, CF_Tahoma | CF_Underline},
    };
    HWND w = PlainWindow();
    Layout layout(table, 3);
    layout.Create(w);
    ASSERT_EQ(layout.Dpi(), 96);
    auto place = [&](const char* name) { return wt::RectIn(layout.Get(name), w); };
    auto font = [&](const char* name) { return reinterpret_cast<HFONT>(SendMessageW(layout.Get(name), WM_GETFONT, 0, 0)); };
    RECT label96 = place("Label");
    HFONT bold96 = font("Label"), link96 = font("Link");
    ASSERT_NE(GetObjectType(bold96), 0u);

    layout.Rescale(144);
    RECT label = place("Label");
    EXPECT_EQ(label.left, TwipsToPixels(120 + 240, 144));
    EXPECT_EQ(label.top, TwipsToPixels(120 + 300, 144));
    EXPECT_EQ(label.right - label.left, TwipsToPixels(1200, 144));
    EXPECT_EQ(place("Frame").right, TwipsToPixels(120 + 3000, 144));
    EXPECT_EQ(GetObjectType(bold96), 0u) << "the font of 96 dpi is freed";
    EXPECT_EQ(GetObjectType(link96), 0u);
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(font("Label"), sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -MulDiv(825, 144, 7200));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    ASSERT_TRUE(GetObjectW(font("Link"), sizeof lf, &lf));
    EXPECT_TRUE(lf.lfUnderline);

    layout.Rescale(96);
    label = place("Label");
    EXPECT_TRUE(EqualRect(&label, &label96));
    DestroyWindow(w);
}

// The delay-load helper asks the programs' hook for each DLL before it would
// load it by its bare name. A system DLL comes from the system folder; one the
// system folder cannot give ends the program with its own exit code, so that
// the helper never goes on to search the program's folder for that name.
TEST(DllSearch, ADelayLoadTheSystemFolderCannotServeEndsTheProgram) {
    auto askHook = [](const char* dll) {
        DelayLoadInfo info{};
        info.cb = sizeof(info);
        info.szDll = dll;
        return __pfnDliNotifyHook2(dliNotePreLoadLibrary, &info);
    };
    // In a process of its own: the search limit stays there.
    EXPECT_EXIT(
        {
            LimitLibrarySearchToSystemFolder();
            if (!askHook("version.dll")) ExitProcess(3);
            askHook("no-such-library.dll");
            ExitProcess(0);
        },
        ::testing::ExitedWithCode(kSystemLibraryMissingExitCode), "");
}

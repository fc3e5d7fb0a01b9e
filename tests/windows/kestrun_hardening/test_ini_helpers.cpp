// The settings-file helpers both programs share, at a path beyond 260
// characters: what they write lands in that file or nowhere, never in the
// settings file opened before it.
#include <gtest/gtest.h>
#include "common/ini_file.h"
#include "tests/windows/kestrun_hardening/hardening.h"

TEST(IniHelpers, APathBeyond260CharactersNeverReachesAnotherFile) {
    const std::wstring other = wt::NewDir(L"other") + L"other.ini";
    WriteIniValue(other, L"Kestrun", L"LastNr", L"7");
    ASSERT_EQ(ReadIniValue(other, L"Kestrun", L"LastNr"), L"7");
    const std::string otherBytes = wt::ReadBytes(other);

    std::wstring dir = wt::NewDir(L"deep");
    while (dir.size() < 300) dir = wt::EnsureDir(dir + L"a folder with a rather long name");
    const std::wstring ini = dir + L"kestrun.ini";
    EXPECT_EQ(ReadIniValue(ini, L"Kestrun", L"LastNr"), L"");
    WriteIniValue(ini, L"Kestrun", L"LastNr", L"1");
    WriteIniValue(ini, L"Kestrun", L"Starts", L"2");

    EXPECT_EQ(wt::ReadBytes(other), otherBytes) << "the other settings file was written";
    EXPECT_EQ(ReadIniValue(other, L"Kestrun", L"Starts"), L"");
    // The keys are in the deep file itself.
    EXPECT_EQ(ReadIniValue(ini, L"Kestrun", L"LastNr"), L"1");
    EXPECT_EQ(ReadIniValue(ini, L"Kestrun", L"Starts"), L"2");
    EXPECT_NE(wt::ReadBytes(L"\\\\?\\" + ini).find("Starts=2"), std::string::npos);
}

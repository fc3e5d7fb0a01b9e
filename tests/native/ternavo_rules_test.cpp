// The platform-free rules of Ternavo: cleaning an ICQ 7 candidate, the version
// test, the candidate list, which steps one press of Start takes, the folder
// of a picked ICQ.exe and the room of a temporary name.
#include <gtest/gtest.h>
#include <map>
#include "ternavo/rules/applyplan.h"
#include "ternavo/rules/folders.h"
#include "ternavo/rules/icq7search.h"

namespace {

using icq7::CleanCandidate;

// The long-path conversion of a machine on which only these short names exist.
std::wstring FakeLongPath(const std::wstring& path) {
    static const std::map<std::wstring, std::wstring> known = {
        {L"C:\\PROGRA~1\\ICQ7~1.2\\", L"C:\\Program Files\\ICQ7.2\\"},
        {L"C:\\PROGRA~1\\ICQ7~1.2", L"C:\\Program Files\\ICQ7.2"},
        {L"C:\\PROGRA~2\\ICQ7", L"C:\\Program Files (x86)\\ICQ7"},
    };
    auto it = known.find(path);
    return it == known.end() ? path : it->second;
}

std::wstring Clean(const std::wstring& raw, int index) { return CleanCandidate(raw, index, FakeLongPath); }

TEST(CleanCandidate, ExamplesOfTheSearch) {
    // A quoted program path followed by a quoted argument, as the icq: protocol handler has it.
    EXPECT_EQ(Clean(L"\"C:\\Program Files\\ICQ7.2\\ICQ.exe\" \"%1\"", 18), L"C:\\Program Files\\ICQ7.2\\");
    // A folder without backslash whose name ends in ICQ7.<digit> keeps its last component.
    EXPECT_EQ(Clean(L"C:\\Program Files\\ICQ7.2", 21), L"C:\\Program Files\\ICQ7.2\\");
    // Any other folder without backslash is cut back to its parent...
    EXPECT_EQ(Clean(L"D:\\Messenger", 21), L"D:\\");
    // ...except for the two "Path" values, which always name a folder.
    EXPECT_EQ(Clean(L"D:\\Messenger", 22), L"D:\\Messenger\\");
    EXPECT_EQ(Clean(L"D:\\Messenger", 23), L"D:\\Messenger\\");
    // Short names are expanded before anything else looks at the text.
    for (int i : {0, 1, 16, 18, 21, 22, 23}) EXPECT_EQ(Clean(L"C:\\PROGRA~1\\ICQ7~1.2\\", i), L"C:\\Program Files\\ICQ7.2\\") << i;
}

TEST(CleanCandidate, FolderNamePatternIsCaseSensitiveAndOneDigit) {
    EXPECT_EQ(Clean(L"C:\\Apps\\ICQ7", 20), L"C:\\Apps\\ICQ7\\");
    EXPECT_EQ(Clean(L"C:\\Apps\\ICQ7.0", 20), L"C:\\Apps\\ICQ7.0\\");
    EXPECT_EQ(Clean(L"C:\\Apps\\ICQ7.9", 20), L"C:\\Apps\\ICQ7.9\\");
    // Two digits, a letter, or lower case: no backslash from the pattern, so the name is cut.
    EXPECT_EQ(Clean(L"C:\\Apps\\ICQ7.12", 20), L"C:\\Apps\\");
    EXPECT_EQ(Clean(L"C:\\Apps\\ICQ7.x", 20), L"C:\\Apps\\");
    EXPECT_EQ(Clean(L"C:\\Apps\\icq7", 20), L"C:\\Apps\\");
    EXPECT_EQ(Clean(L"C:\\Apps\\Icq7.1", 20), L"C:\\Apps\\");
    // The "Path" values get their backslash anyway.
    EXPECT_EQ(Clean(L"C:\\Apps\\ICQ7.12", 22), L"C:\\Apps\\ICQ7.12\\");
    EXPECT_EQ(Clean(L"C:\\Apps\\icq7", 23), L"C:\\Apps\\icq7\\");
    // The pattern only looks at the end of the text: "ICQ7" alone is a name without a folder.
    EXPECT_EQ(Clean(L"ICQ7", 20), L"ICQ7\\");
    EXPECT_EQ(Clean(L"ICQ7.1", 5), L"ICQ7.1\\");
}

TEST(CleanCandidate, FileNamesArgumentsAndOddTexts) {
    EXPECT_EQ(Clean(L"C:\\Program Files\\ICQ7\\ICQ.exe", 16), L"C:\\Program Files\\ICQ7\\");
    EXPECT_EQ(Clean(L"C:\\Program Files\\ICQ7\\ICQ.exe -trayonly", 17), L"C:\\Program Files\\ICQ7\\");
    // A backslash inside the arguments is the last one: what a blind cut gives.
    EXPECT_EQ(Clean(L"\"C:\\ICQ7\\ICQ.exe\" \"C:\\x\\%1\"", 18), L"C:\\ICQ7\\ICQ.exe C:\\x\\");
    // No backslash at all: the empty text, with a backslash.
    EXPECT_EQ(Clean(L"", 0), L"\\");
    EXPECT_EQ(Clean(L"ICQ.exe", 19), L"\\");
    EXPECT_EQ(Clean(L"\"\"\"", 18), L"\\");
    EXPECT_EQ(Clean(L"", 22), L"\\");
    // Quotes anywhere are removed before the long-path conversion sees the text.
    EXPECT_EQ(Clean(L"\"C:\\PROGRA~1\\ICQ7~1.2\"", 21), L"C:\\Program Files\\ICQ7.2\\");
    EXPECT_EQ(Clean(L"C:\\PROGRA~2\\ICQ7", 21), L"C:\\Program Files (x86)\\ICQ7\\");
    // Forward slashes are not separators.
    EXPECT_EQ(Clean(L"C:/Program Files/ICQ7", 21), L"C:/Program Files/ICQ7\\");
}

TEST(CleanCandidate, ConversionSeesTheTextWithoutQuotes) {
    std::wstring seen;
    auto spy = [&](const std::wstring& p) { seen = p; return p; };
    CleanCandidate(L"\"C:\\a b\\ICQ.exe\" \"%1\"", 18, spy);
    EXPECT_EQ(seen, L"C:\\a b\\ICQ.exe %1");
}

TEST(Candidates, OrderAndSources) {
    using icq7::Source;
    const auto& c = icq7::kCandidates;
    EXPECT_EQ(c[0].source, Source::ProgramDir);
    EXPECT_STREQ(c[1].key, L"C:\\Program Files\\ICQ7\\");
    EXPECT_STREQ(c[5].key, L"C:\\Program Files\\ICQ7.4\\");
    EXPECT_STREQ(c[6].key, L"C:\\Program Files (x86)\\ICQ7\\");
    EXPECT_STREQ(c[11].key, L"C:\\Programme\\ICQ7\\");
    EXPECT_STREQ(c[15].key, L"C:\\Programme\\ICQ7.4\\");
    for (int i = 1; i <= 15; ++i) {
        EXPECT_EQ(c[i].source, Source::Fixed) << i;
        EXPECT_EQ(std::wstring(c[i].key).back(), L'\\') << i;
    }
    EXPECT_EQ(c[16].source, Source::HKLM);
    EXPECT_STREQ(c[16].key, L"SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\Extensions\\"
                            L"{73C6DCFB-B606-47F3-BDFA-9A4FBF931E37}");
    EXPECT_STREQ(c[16].value, L"Exec");
    EXPECT_STREQ(c[17].key, L"SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\Low Rights\\ElevationPolicy\\"
                            L"{73C6DCFB-B606-47F3-BDFA-9A4FBF931E37}");
    EXPECT_STREQ(c[17].value, L"AppName");
    EXPECT_EQ(c[18].source, Source::HKCR);
    EXPECT_STREQ(c[18].key, L"icq\\shell\\open\\command");
    EXPECT_STREQ(c[18].value, L"");
    EXPECT_STREQ(c[19].key, L"icquser\\shell\\open\\command");
    EXPECT_EQ(c[20].source, Source::HKCU);
    EXPECT_STREQ(c[20].value, L"ICQ.exe");
    EXPECT_STREQ(c[21].value, L"InstallLocation");
    EXPECT_STREQ(c[22].key, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe");
    EXPECT_STREQ(c[23].key, L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe");
    EXPECT_STREQ(c[22].value, L"Path");
    EXPECT_STREQ(c[23].value, L"Path");
}

TEST(VersionText, OnlyMajorSevenPasses) {
    EXPECT_TRUE(icq7::IsICQ7VersionText(L"7.0.0.0"));
    EXPECT_TRUE(icq7::IsICQ7VersionText(L"7.4.4629.0"));
    EXPECT_FALSE(icq7::IsICQ7VersionText(L"17.0.0.0"));
    EXPECT_FALSE(icq7::IsICQ7VersionText(L"70.1.0.0"));
    EXPECT_FALSE(icq7::IsICQ7VersionText(L"6.5.0.0"));
    EXPECT_FALSE(icq7::IsICQ7VersionText(L"7"));
    EXPECT_FALSE(icq7::IsICQ7VersionText(L""));
    EXPECT_FALSE(icq7::IsICQ7VersionText(L" 7.0"));
}

using apply::ApplyPlan;
using apply::Choices;
using apply::Step;
using Plan = std::vector<Step>;

Choices Pick(bool lite, bool pro, bool icq6, bool icq7, int instances) {
    return {lite, pro, icq6, icq7, static_cast<apply::Instances>(instances)};
}

TEST(ApplyPlan, AllowInstallsFirstThenTheOlderGenerationsInOrder) {
    EXPECT_EQ(ApplyPlan(Pick(true, true, true, false, 0)), (Plan{Step::AllowLite, Step::AllowPro, Step::AllowICQ6}));
    EXPECT_EQ(ApplyPlan(Pick(false, false, true, false, 0)), (Plan{Step::AllowICQ6}));
    EXPECT_EQ(ApplyPlan(Pick(true, false, true, true, 0)),
              (Plan{Step::InstallStarter, Step::AllowLite, Step::AllowICQ6}));
    EXPECT_EQ(ApplyPlan(Pick(false, false, false, true, 0)), (Plan{Step::InstallStarter}));
}

TEST(ApplyPlan, OnlyOneInstanceForbidsAndRemovesLast) {
    EXPECT_EQ(ApplyPlan(Pick(true, true, true, true, 1)),
              (Plan{Step::ForbidLite, Step::ForbidPro, Step::ForbidICQ6, Step::RemoveStarter}));
    EXPECT_EQ(ApplyPlan(Pick(false, true, false, false, 1)), (Plan{Step::ForbidPro}));
}

TEST(ApplyPlan, NothingTickedOrAnUnknownInstancesIndexDoesNothing) {
    EXPECT_TRUE(ApplyPlan(Pick(false, false, false, false, 0)).empty());
    // An index that is neither allow nor forbid touches no generation.
    EXPECT_TRUE(ApplyPlan(Pick(true, true, true, true, 2)).empty());
    EXPECT_TRUE(ApplyPlan(Pick(true, true, true, true, -1)).empty());
}

using folders::FolderOfPickedIcq;

TEST(PickedIcq, TheNameCountsInAnyCaseAndTheFolderEndsAtItsLastBackslash) {
    EXPECT_EQ(FolderOfPickedIcq(L"C:\\Program Files\\ICQ7.2\\ICQ.exe"), L"C:\\Program Files\\ICQ7.2");
    for (const wchar_t* name : {L"icq.exe", L"ICQ.EXE", L"Icq.Exe"})
        EXPECT_EQ(FolderOfPickedIcq(std::wstring(L"D:\\Apps\\ICQ7\\") + name), L"D:\\Apps\\ICQ7") << name;
    // A folder whose name begins like the file is just a folder on the way.
    EXPECT_EQ(FolderOfPickedIcq(L"C:\\ICQ.exe-old\\ICQ7\\ICQ.exe"), L"C:\\ICQ.exe-old\\ICQ7");
    EXPECT_EQ(FolderOfPickedIcq(L"C:\\ICQ.exe-old\\icq.exe"), L"C:\\ICQ.exe-old");
    EXPECT_EQ(FolderOfPickedIcq(L"\\\\server\\share\\ICQ.exe"), L"\\\\server\\share");
    EXPECT_EQ(FolderOfPickedIcq(L"C:\\ICQ.exe"), L"C:");
}

TEST(PickedIcq, AnyOtherFileGivesNoFolder) {
    for (const wchar_t* path : {L"C:\\ICQ.exe-old\\setup.exe", L"C:\\ICQ7\\MyICQ.exe", L"C:\\ICQ7\\ICQ.exe.bak",
                                L"C:\\ICQ7\\ICQ.exe ", L"C:\\ICQ7\\ICQ.ex", L"C:\\ICQ7\\", L"ICQ.exe", L"C:/ICQ7/ICQ.exe",
                                L"", L"C:\\ICQ7\\\u0130CQ.exe"})
        EXPECT_EQ(FolderOfPickedIcq(path), L"") << path;
}

}  // namespace

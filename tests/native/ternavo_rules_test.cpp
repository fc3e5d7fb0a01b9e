// The platform-free rules of Ternavo: cleaning an ICQ 7 candidate, the version
// test, the candidate list, which steps one press of Start takes, the folder
// of a picked ICQ.exe, the room of a temporary name, and whether only
// administrators may change a folder, the path of a folder on a substituted drive.
#include <gtest/gtest.h>
#include <map>
#include "ternavo/rules/applyplan.h"
#include "ternavo/rules/drive_paths.h"
#include "ternavo/rules/folder_rights.h"
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

TEST(DrivePaths, ASubstitutedLetterIsReplacedByItsFolderAndNothingElseIs) {
    using drive_paths::ThroughSubstitute;
    struct Row { const wchar_t* path; const wchar_t* device; bool substituted; const wchar_t* resolved; };
    const Row rows[] = {
        {L"S:\\ICQ7\\", L"\\??\\C:\\Program Files", true, L"C:\\Program Files\\ICQ7\\"},
        {L"s:\\ICQ7", L"\\??\\C:\\Program Files\\", true, L"C:\\Program Files\\ICQ7"},
        {L"S:\\", L"\\??\\D:\\Apps\\ICQ7", true, L"D:\\Apps\\ICQ7\\"},
        {L"S:\\ICQ7\\", L"\\??\\C:\\", true, L"C:\\ICQ7\\"},  // "subst S: C:\"
        {L"S:\\ICQ7\\", L"\\??\\UNC\\server\\share\\apps", true, L"\\\\server\\share\\apps\\ICQ7\\"},
        // Names that are no path another session could open: nothing to hand over.
        {L"S:\\ICQ7\\", L"\\??\\Volume{0a1b2c3d-0000-0000-0000-100000000000}\\", true, L""},
        {L"S:\\ICQ7\\", L"\\??\\UNC\\", true, L""},
        {L"S:\\ICQ7\\", L"\\??\\C:relative", true, L""},
        // Devices of the machine (as Windows and Wine name plain drives) and network
        // redirectors keep the letter; so does a path without one.
        {L"C:\\Program Files\\ICQ7\\", L"\\Device\\HarddiskVolume1", false, L"C:\\Program Files\\ICQ7\\"},
        {L"N:\\ICQ7\\", L"\\Device\\LanmanRedirector\\;N:0000000000012345\\server\\share", false, L"N:\\ICQ7\\"},
        {L"C:\\ICQ7\\", L"", false, L"C:\\ICQ7\\"},
        {L"\\\\server\\share\\ICQ7\\", L"\\??\\C:\\x", false, L"\\\\server\\share\\ICQ7\\"},
        {L"ICQ7\\", L"\\??\\C:\\x", false, L"ICQ7\\"},
        {L"C:ICQ7\\", L"\\??\\C:\\x", false, L"C:ICQ7\\"},
    };
    for (const Row& r : rows) {
        drive_paths::Resolved got = ThroughSubstitute(r.path, r.device);
        EXPECT_EQ(got.substituted, r.substituted) << r.path << L" " << r.device;
        EXPECT_EQ(got.path, r.resolved) << r.path << L" " << r.device;
    }
}

namespace rights {

using namespace folder_rights;
constexpr uint32_t kFull = 0x1F01FF;       // full control
constexpr uint32_t kModify = 0x1301BF;     // modify
constexpr uint32_t kReadExec = 0x1200A9;   // read & execute
constexpr uint32_t kWrite = 0x120116;      // write (the file system's generic write)
constexpr uint32_t kGenericReadExec = 0xA0000000;

Ace Allow(Who who, uint32_t mask, bool inheritOnly = false, bool toFiles = false) {
    return {AceType::Allow, inheritOnly, mask, who, toFiles};
}
Ace Deny(Who who, uint32_t mask) { return {AceType::Deny, false, mask, who}; }

// "Other" stands for every trustee that is not an administrator's: Users,
// Authenticated Users, Everyone, a user account.
struct Case {
    const char* name;
    FolderSecurity folder;
    bool onlyAdministrators;
};

TEST(FolderRights, TheWorkerTakesOnlyFoldersThatOnlyAdministratorsMayChange) {
    const std::vector<Ace> installed = {  // what a folder below Program Files inherits
        Allow(Who::TrustedInstaller, kFull), Allow(Who::System, kFull), Allow(Who::Administrators, kFull),
        Allow(Who::Other, kReadExec), Allow(Who::CreatorOwner, 0x10000000, true, true)};
    auto with = [&](std::vector<Ace> more) {
        std::vector<Ace> list = installed;
        list.insert(list.end(), more.begin(), more.end());
        return list;
    };
    const Case cases[] = {
        {"Program Files as shipped",
         {Who::TrustedInstaller, true,
          {Allow(Who::TrustedInstaller, kFull), Allow(Who::TrustedInstaller, 0x10000000, true),
           Allow(Who::System, kModify), Allow(Who::System, 0x10000000, true), Allow(Who::Administrators, kModify),
           Allow(Who::Administrators, 0x10000000, true), Allow(Who::Other, kReadExec),
           Allow(Who::Other, kGenericReadExec, true, true), Allow(Who::CreatorOwner, 0x10000000, true, true),
           Allow(Who::Other, kReadExec)}},  // app packages
         true},
        {"an installer's folder below it", {Who::Administrators, true, installed}, true},
        {"owned by SYSTEM", {Who::System, true, installed}, true},
        {"below XP's Program Files: Power Users with Modify", {Who::Administrators, true,
          with({Allow(Who::PowerUsers, kModify), Allow(Who::PowerUsers, kModify, true, true)})}, true},
        {"an empty list: nobody but the owner", {Who::Administrators, true, {}}, true},
        {"Users may change what the folder's new subfolders get (container only)",
         {Who::Administrators, true, with({Allow(Who::Other, kModify, true)})}, true},
        {"Users may change the files made in it (object inherit, inherit only)",
         {Who::Administrators, true, with({Allow(Who::Other, kModify, true, true)})}, false},
        {"Users may write the files made in it (object inherit)",
         {Who::Administrators, true, with({Allow(Who::Other, kWrite, false, true)})}, false},
        {"Users may read the files made in it", {Who::Administrators, true, with({Allow(Who::Other, kReadExec, true, true)})},
         true},
        {"Users denied writing", {Who::Administrators, true, with({Deny(Who::Other, kFull)})}, true},
        {"a folder a user made", {Who::Other, true, with({Allow(Who::Other, kFull)})}, false},
        {"a user's folder with administrators' entries only", {Who::Other, true, installed}, false},
        {"an owner who denied themselves",
         {Who::Other, true, {Deny(Who::Other, kFull), Allow(Who::Administrators, kFull), Allow(Who::System, kFull)}},
         false},
        {"Users with Modify", {Who::Administrators, true, with({Allow(Who::Other, kModify)})}, false},
        {"Authenticated Users with write", {Who::Administrators, true, with({Allow(Who::Other, kWrite)})}, false},
        {"Everyone with GENERIC_ALL", {Who::Administrators, true, with({Allow(Who::Other, 0x10000000)})}, false},
        {"Everyone with GENERIC_WRITE", {Who::Administrators, true, with({Allow(Who::Other, 0x40000000)})}, false},
        {"no access list at all", {Who::TrustedInstaller, false, {}}, false},
        {"a deny before the grant does not take it back",
         {Who::Administrators, true, with({Deny(Who::Other, kWriteDac), Allow(Who::Other, kFull)})}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(OnlyAdministratorsMayChange(c.folder), c.onlyAdministrators) << c.name;

    // Each right that changes the folder, granted alone to Users, is one too many;
    // reading, listing, passing through and reading the permissions are not.
    for (uint32_t right : {kAddFile, kAddSubfolder, kWriteEa, kDeleteChild, kWriteAttributes, kDelete, kWriteDac,
                           kWriteOwner, kGenericAll, kGenericWrite})
        EXPECT_FALSE(OnlyAdministratorsMayChange({Who::Administrators, true, with({Allow(Who::Other, right)})}))
            << std::hex << right;
    for (uint32_t right : {kReadExec, kGenericReadExec, 0x00020000u /* read permissions */, 0x00100000u /* sync */,
                           0x0020u /* traverse */, 0x0080u /* read attributes */, 0x0008u /* read EA */})
        EXPECT_TRUE(OnlyAdministratorsMayChange({Who::Administrators, true, with({Allow(Who::Other, right)})}))
            << std::hex << right;
}

}  // namespace rights

}  // namespace

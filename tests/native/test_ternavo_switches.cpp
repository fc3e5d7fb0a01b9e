// Ternavo's switches; the worker's command line, which steps it takes, and
// what its exit code means.
#include <gtest/gtest.h>
#include "ternavo/rules/switches.h"

namespace {

using apply::Instances;
using startup::ReadSwitches;

std::string Ticks(const apply::Choices& c) {
    return std::string(c.lite ? "L" : "-") + (c.pro ? "P" : "-") + (c.icq6 ? "6" : "-") + (c.icq7 ? "7" : "-");
}

TEST(TernavoSwitches, WholeWordsInAnyCaseTheLastInstancesSwitchCounts) {
    startup::Switches s = ReadSwitches(L"  -LITE\t-Pro   -iCq6 -pro -allow -ONLYONE -english ");
    EXPECT_EQ(Ticks(s.choices), "LP6-");
    EXPECT_TRUE(s.generationsGiven && s.instancesGiven && !s.start);
    EXPECT_EQ(s.choices.instances, Instances::OnlyOne);
    s = ReadSwitches(L"-start");  // the saved choices stay
    EXPECT_TRUE(s.start && !s.generationsGiven && !s.instancesGiven);
    // Inside a longer word, cut short, quoted, another prefix: none counts.
    s = ReadSwitches(L"-icq7x -startnow x-lite icq6 -icq -star -allowed \"-icq7\" -only one -icq7,-start /pro");
    EXPECT_TRUE(!s.generationsGiven && !s.instancesGiven && !s.start && Ticks(s.choices) == "----");
}

TEST(WorkerArguments, WhatTheWindowWritesTheWorkerReadsBackWhateverTheFolder) {
    EXPECT_EQ(startup::WorkerArgumentText({true, false, false, true, Instances::Allow}, L"C:\\Program Files\\ICQ7\\"),
              L"-worker -lite -icq7 -allow -folder \"C:\\Program Files\\ICQ7\"");
    // Blanks, a trailing "\" (dropped, or it would escape the closing quote),
    // backslashes and quotes where the system would take them apart.
    const wchar_t* folders[] = {L"C:\\Program Files\\ICQ7\\", L"C:\\ICQ7", L"\\\\server\\share\\ICQ 7\\\\",
                                L"D:\\a\"b\\\\\"c\t d", L"E:\\Grüße\\ICQ"};
    for (const wchar_t* folder : folders)
        for (int bits = 1; bits < 16; ++bits)
            for (Instances instances : {Instances::Allow, Instances::OnlyOne}) {
                apply::Choices c{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0, instances};
                std::wstring text = startup::WorkerArgumentText(c, folder);
                EXPECT_TRUE(startup::IsWorkerCall(text));
                startup::WorkerOrder order = startup::ReadWorkerArguments(text);
                ASSERT_TRUE(order.valid) << text;
                EXPECT_EQ(Ticks(order.steps), Ticks(c)) << text;
                EXPECT_EQ(order.steps.instances, instances) << text;
                std::wstring want = c.icq7 ? std::wstring(folder) : L"";
                while (!want.empty() && want.back() == L'\\') want.pop_back();
                EXPECT_EQ(order.icq7Folder, want) << text;
            }
}

TEST(WorkerArguments, AnythingButWhatTheWindowWritesIsRefused) {
    auto valid = [](const wchar_t* text) { return startup::ReadWorkerArguments(text).valid; };
    EXPECT_TRUE(valid(L"-WORKER -Pro -ONLYONE"));
    EXPECT_TRUE(valid(L"-worker -icq7 -onlyone -folder \\\\srv\\icq"));
    EXPECT_FALSE(valid(L""));
    EXPECT_FALSE(valid(L"-lite -allow -worker"));                           // not first
    EXPECT_FALSE(valid(L"-worker -allow"));                                 // no generation
    EXPECT_FALSE(valid(L"-worker -lite"));                                  // no instances choice
    EXPECT_FALSE(valid(L"-worker -lite -allow -onlyone"));                  // both
    EXPECT_FALSE(valid(L"-worker -lite -allow -start"));                    // a window switch
    EXPECT_FALSE(valid(L"-worker -lite -allow -english"));
    EXPECT_FALSE(valid(L"-worker -icq7 -allow"));                           // ICQ 7 without its folder
    EXPECT_FALSE(valid(L"-worker -icq7 -allow -folder"));
    EXPECT_FALSE(valid(L"-worker -lite -allow -folder C:\\ICQ7"));          // a folder without ICQ 7
    EXPECT_FALSE(valid(L"-worker -icq7 -allow -folder C:\\a -folder C:\\b"));
    EXPECT_FALSE(valid(L"-worker -icq7 -allow -folder ICQ7"));              // relative folders name
    EXPECT_FALSE(valid(L"-worker -icq7 -allow -folder C:ICQ7"));            // another one elsewhere
    EXPECT_FALSE(valid(L"-worker -icq7 -allow -folder \\ICQ7"));
    EXPECT_FALSE(valid(L"-worker -icq7 -allow -folder C:\\Program Files\\ICQ7"));  // unquoted: two words
    // The report's number: once, in decimal digits, 1 to 4294967295.
    EXPECT_EQ(startup::ReadWorkerArguments(startup::WorkerArgumentText({true, false, false, false}, L"", 4294967295ul))
                  .reportTo,
              4294967295ul);
    for (const wchar_t* number : {L"0", L"4294967296", L"12345678901", L"18446744073709551617", L"-1", L"+5", L"0x10", L"", L"1 -report 2"})
        EXPECT_FALSE(valid((std::wstring(L"-worker -lite -allow -report ") + number).c_str())) << number;
    EXPECT_FALSE(valid(L"-worker -lite -allow -report"));
    EXPECT_FALSE(startup::IsWorkerCall(L"-workers -lite"));
    EXPECT_FALSE(startup::IsWorkerCall(L"\"-worker\"x"));
}

TEST(WorkerArguments, TheReportReadsBackOnlyWhatIsWellFormed) {
    using apply::Failure;
    using apply::Step;
    std::vector<Failure> failures{{Step::InstallStarter, 5, 3}, {Step::ForbidPro, 2, 0}, {Step::RemoveStarter, 32, 0}};
    unsigned words[apply::kReportWords] = {};
    apply::EncodeFailures(failures, words);
    EXPECT_EQ(apply::DecodeFailures(words), failures);
    // More than fit are cut; a count past the block and steps or copies that
    // do not exist are never taken.
    apply::EncodeFailures(std::vector<Failure>(apply::kMostFailures + 5, {Step::AllowPro, 5, 0}), words);
    EXPECT_EQ(apply::DecodeFailures(words).size(), apply::kMostFailures);
    words[0] = 0xFFFFFFFFu;
    words[1] = 8;
    words[4] = 0;
    words[6] = 100;
    EXPECT_EQ(apply::DecodeFailures(words).size(), apply::kMostFailures - 2);
}

TEST(WorkerArguments, ArgumentsSplitAsWindowsSplitsThem) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(startup::SplitArguments(L"  a\tb  \"c d\" e\"f g\"h "), (V{L"a", L"b", L"c d", L"ef gh"}));
    EXPECT_EQ(startup::SplitArguments(L"a\\\\b \"c\\\\\" \"d\\\"e\" f\\\\\\\"g"), (V{L"a\\\\b", L"c\\", L"d\"e", L"f\\\"g"}));
    EXPECT_EQ(startup::SplitArguments(L"\"\" x"), (V{L"", L"x"}));
    EXPECT_TRUE(startup::SplitArguments(L" \t ").empty());
}

TEST(Rights, TheWorkerTakesOnlyWhatNeedsRightsTheUserLacks) {
    using startup::CanAskForRights;
    EXPECT_TRUE(CanAskForRights(false, 6, false) && CanAskForRights(false, 10, false));
    EXPECT_FALSE(CanAskForRights(true, 10, false));   // already administrator
    EXPECT_FALSE(CanAskForRights(false, 10, true));   // user account control switched off
    EXPECT_FALSE(CanAskForRights(false, 5, false));   // XP

    apply::Choices all{true, true, true, true, Instances::OnlyOne, L"C:\\ICQ7", false};
    auto worker = startup::WorkerShare(all, true, false);
    EXPECT_EQ(Ticks(worker), "LP67");
    EXPECT_EQ(Ticks(startup::OwnShare(all, worker)), "----");
    EXPECT_EQ(worker.instances, Instances::OnlyOne);
    // A folder this user may write to: ICQ 7 stays with the window.
    worker = startup::WorkerShare(all, true, true);
    EXPECT_EQ(Ticks(worker), "LP6-");
    EXPECT_EQ(Ticks(startup::OwnShare(all, worker)), "---7");
    EXPECT_FALSE(apply::AnyGeneration(startup::WorkerShare({false, false, false, true}, true, true)));
    // No rights to ask for: the window does everything.
    worker = startup::WorkerShare(all, false, false);
    EXPECT_FALSE(apply::AnyGeneration(worker));
    EXPECT_EQ(Ticks(startup::OwnShare(all, worker)), "LP67");
}

TEST(Rights, ExitCodesOfTheWorkerOnePerReason) {
    using apply::Outcome;
    using apply::Refusal;
    for (Outcome o : {Outcome::Succeeded, Outcome::Failed, Outcome::Refused})
        EXPECT_EQ(startup::OutcomeOfExitCode(static_cast<unsigned long>(startup::WorkerExitCode(o))), o);
    EXPECT_EQ(startup::WorkerExitCode(Outcome::Failed), 1);
    const std::pair<Refusal, int> codes[] = {{Refusal::Arguments, 2}, {Refusal::FolderUnavailable, 3},
                                             {Refusal::NotICQ7, 4}, {Refusal::Link, 5}, {Refusal::OthersMayChange, 6}};
    for (auto [why, code] : codes) {
        EXPECT_EQ(startup::WorkerExitCode(Outcome::Refused, why), code);
        EXPECT_EQ(startup::RefusalOfExitCode(static_cast<unsigned long>(code)), why);
        EXPECT_EQ(startup::OutcomeOfExitCode(static_cast<unsigned long>(code)), Outcome::Refused);
    }
    for (unsigned long other : {0UL, 1UL, 7UL, 0xC0000005UL /* ended by a crash */}) {
        EXPECT_EQ(startup::RefusalOfExitCode(other), Refusal::None) << other;
        if (other != 0) EXPECT_EQ(startup::OutcomeOfExitCode(other), Outcome::Failed) << other;
    }
}

}  // namespace

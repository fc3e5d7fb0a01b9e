// Kestrun's command line at its limits: 32 KB of switches, every switch
// without its value, numbers beyond 16 bits, letters outside ASCII, quotes and
// tabs. Each start launches once, with values within their ranges, and ends.
#include <gtest/gtest.h>
#include "tests/windows/kestrun_hardening/hardening.h"
#include "tests/windows/kestrun_launch/launch_support.h"

namespace {

struct Case {
    const char* name;
    std::wstring args;
    std::wstring icq;  // what ICQ 7 is given
    bool hidden;       // "-minimized" took effect
};

std::vector<Case> Cases() {
    std::vector<Case> c;
    std::wstring repeated;
    while (repeated.size() < 32000) repeated += L"-MINIMIZED -status=3 -loginmode=2 -toicq:uin=1 -wait=0 ";
    c.push_back({"32 KB of repeated switches", repeated, L"loginmode=2 status=3 visibility=4 uin=1", true});
    std::wstring distinct, passed;
    for (int i = 0; distinct.size() < 32000; ++i) {
        std::wstring v = L"v" + std::to_wstring(100000 + i);
        distinct += L"-toicq:" + v + L" ";
        passed += (passed.empty() ? L"" : L" ") + v;
    }
    c.push_back({"32 KB of distinct pass-through values", distinct, passed, false});
    c.push_back({"every switch without its value", L"-wait= -instances= -loginmode= -status= -toicq: -toicq:",
                 L"loginmode=1 status=1 visibility=4 ", false});
    // Beyond 16 bits a number is no number: the field keeps 0 and is clamped
    // (a value cut to 16 bits would give login mode 4 and status 6 here).
    c.push_back({"numbers beyond 16 bits",
                 L"-wait=65539 -instances=65538 -loginmode=65540 -status=65542 -status=99999999999999999999999",
                 L"loginmode=1 status=1 visibility=4 ", false});
    c.push_back({"negative numbers", L"-wait=-5 -instances=-1 -loginmode=-3 -status=-32768",
                 L"loginmode=1 status=1 visibility=4 ", false});
    // Switches are lower-cased as a whole, letters outside ASCII too; a
    // full-width digit is no number.
    c.push_back({"letters outside ASCII",
                 L"-TOICQ:\x00C4rger=\x03A9\x039C\x0388\x0393\x0391 -toicq:\x65E5\x672C -STATUS=\xFF13 -l\x00F6gin",
                 L"status=1 visibility=4 \x00E4rger=\x03C9\x03BC\x03AD\x03B3\x03B1 \x65E5\x672C", false});
    // Only blanks separate switches: a quote does not hold a blank, a tab is
    // part of its token.
    c.push_back({"quotes and tabs", L"-toicq:\"a b\" -status=2\t-minimized -toicq:c\"d",
                 L"status=1 visibility=4 \"a c\"d", false});
    return c;
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override { launch::CloseStubs(); }
    void TearDown() override { launch::CloseStubs(); }
};

TEST_F(CommandLine, OddSwitchesLaunchOnceWithinTheirRanges) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        launch::Folder f;
        f.Set(L"ShowMe", L"0");
        f.Set(L"Starts", L"3");
        const std::string icq = wt::ReadBytes(f.dir + L"ICQ.exe");
        wt::Process k = launch::Start(f, c.args);
        ASSERT_TRUE(k.started()) << GetLastError() << " " << c.args.size();
        ASSERT_TRUE(k.WaitExit(60000)) << "Kestrun did not end";
        EXPECT_TRUE(wt::TopWindows(0, L"#32770").empty()) << "a message box is open";
        auto log = f.Log();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0], f.Started(L"ICQ.exe1", c.icq));
        EXPECT_EQ(f.Get(L"LastNr"), L"1");
        EXPECT_EQ(f.Get(L"Starts"), L"4");
        EXPECT_EQ(wt::ReadBytes(f.dir + L"ICQ.exe"), icq);
        auto stubs = launch::StubWindows();
        ASSERT_EQ(stubs.size(), 1u);
        EXPECT_EQ(IsWindowVisible(stubs[0]) == FALSE, c.hidden);
        launch::CloseStubs();
    }
}

}  // namespace

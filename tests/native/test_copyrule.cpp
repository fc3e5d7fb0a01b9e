// When Kestrun makes a numbered copy again and when it leaves it alone.
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <vector>
#include "common/rules/copyrule.h"

namespace {
// What a launch sees of one numbered copy.
struct CopySeen {
    bool current = false;
    bool running = false;
};
}  // namespace

TEST(NumberedCopy, CurrentOnlyWithTheSameSizeAndTimeAsAPlainIcqExe) {
    const FileFacts icq{true, 20u << 20, 133000000000000000};
    const FileFacts none{};
    struct Case { const char* what; FileFacts source, copy; CopyState state; } cases[] = {
        {"same size and time", icq, icq, CopyState::Current},
        {"no copy", icq, none, CopyState::Missing},
        // A folder of that name says nothing by its size or time.
        {"folder of that name", icq, {false, icq.size, icq.lastWrite}, CopyState::Missing},
        {"cut short", icq, {true, icq.size - 1, icq.lastWrite}, CopyState::StaleBySize},
        {"empty", icq, {true, 0, icq.lastWrite}, CopyState::StaleBySize},
        {"larger, other time", icq, {true, icq.size + 1, icq.lastWrite + 1}, CopyState::StaleBySize},
        {"older", icq, {true, icq.size, icq.lastWrite - 1}, CopyState::StaleByTime},
        {"newer", icq, {true, icq.size, icq.lastWrite + 10000000}, CopyState::StaleByTime},
        // Nothing to compare with: the copy is made again, never trusted.
        {"ICQ.exe unreadable", none, icq, CopyState::StaleBySize},
        {"both unreadable", none, none, CopyState::Missing},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JudgeCopy(c.source, c.copy), c.state) << c.what;
        EXPECT_EQ(NeedsCopy(JudgeCopy(c.source, c.copy)), c.state != CopyState::Current) << c.what;
    }
}

// The choice of a launch's copy, on a table of what it sees. Where Kestrun may
// not write, it starts a copy Ternavo prepared: a current one, preferably one
// that nobody runs, looking on from its turn. Where it may, the turn's copy is
// made current and started even when it runs; a stale one in use gives way to
// the next copy nobody runs, made current. The choice looks up each fact once,
// and where it may write and the turn's copy is current, nothing but that copy.
TEST(NumberedCopy, ChoiceOfTheCopyOnATableOfWhatTheLaunchSees) {
    const CopySeen idle{true, false}, busy{true, true}, stale{false, false}, staleBusy{false, true};
    constexpr unsigned long kDenied = 5, kDiskFull = 112;
    struct Case {
        const char* what;
        int32_t turn, maxNr;
        bool mayWrite;
        std::vector<CopySeen> seen;               // ICQ.exe1, ICQ.exe2, ...; any further copy: stale
        std::map<int32_t, unsigned long> fails;   // copies whose refresh fails, and how
        int32_t nr;
        bool usable;
        std::vector<int32_t> refreshed;           // in this order
        unsigned long copyError = 0;
    } cases[] = {
        {"its turn, idle", 2, 3, false, {idle, idle, idle}, {}, 2, true, {}},
        {"the turn in use: the next idle one", 2, 3, false, {idle, busy, idle}, {}, 3, true, {}},
        {"round the end to the first", 2, 3, false, {idle, busy, busy}, {}, 1, true, {}},
        {"the turn on the last copy takes its own", 5, 5, false, {idle, idle, idle, idle, idle}, {}, 5, true, {}},
        {"the turn on the last copy, in use", 5, 5, false, {busy, idle, idle, idle, busy}, {}, 2, true, {}},
        // Where Kestrun may not write it refreshes nothing: stale copies are passed over.
        {"stale ones are passed over", 1, 4, false, {stale, stale, idle, stale}, {}, 3, true, {}},
        // Every current copy runs: the cycle goes on from the turn, as where Kestrun writes.
        {"everything in use", 2, 3, false, {busy, staleBusy, busy}, {}, 3, true, {}},
        {"nothing current", 1, 3, false, {stale, staleBusy, stale}, {}, 1, false, {}, kDenied},
        // Stored MaxNr=50, LastNr=40, -instances=3: the turn is 41, above the maximum in force.
        {"the turn above the maximum under -instances", 41, 3, false, {idle, idle, idle}, {}, 1, true, {}},
        {"the turn's copy above the maximum is the copy of this run", 41, 3, false, std::vector<CopySeen>(41, idle),
         {}, 41, true, {}},
        {"the turn above the maximum, made current", 41, 3, true, {busy, busy, busy}, {}, 41, true, {41}},
        {"the turn above the maximum, nothing current", 41, 3, false, {}, {}, 41, false, {}, kDenied},
        // Where Kestrun writes.
        {"may write: its turn made current", 1, 3, true, {stale, idle, idle}, {}, 1, true, {1}},
        {"may write: its turn runs, started as ever", 1, 3, true, {busy, idle, idle}, {}, 1, true, {}},
        {"may write: the stale turn in use, another current one", 1, 3, true, {staleBusy, stale, idle},
         {{1, kDenied}}, 3, true, {1}},
        {"may write: the stale turn in use, the next one nobody runs made current", 2, 4, true,
         {stale, staleBusy, staleBusy, stale}, {{2, kDenied}}, 4, true, {2, 4}},
        {"may write: that one cannot be made either, a current one in use serves", 1, 3, true,
         {staleBusy, stale, busy}, {{1, kDenied}, {2, kDiskFull}}, 3, true, {1, 2}},
        // One start writes at most one copy besides its turn's: then it says why.
        {"may write: that one cannot be made either, no third is tried", 1, 4, true,
         {staleBusy, stale, stale, stale}, {{1, kDenied}, {2, kDiskFull}}, 1, false, {1, 2}, kDenied},
        // Not in use, the turn's copy failed for another reason (a folder of its name): no other is written.
        {"may write: the stale turn cannot be made", 1, 3, true, {stale, stale, stale}, {{1, kDenied}}, 1, false,
         {1}, kDenied},
        {"a turn and a maximum below 1 count as 1", 0, 0, false, {idle}, {}, 1, true, {}},
        {"may write: everything stale and in use", 1, 3, true, {staleBusy, staleBusy, staleBusy}, {{1, kDenied}},
         1, false, {1}, kDenied},
    };
    for (const auto& c : cases) {
        std::vector<int32_t> refreshed, askedCurrent, askedRunning;
        auto seen = [&](int32_t nr) {
            EXPECT_GE(nr, 1) << c.what;
            return static_cast<size_t>(nr) <= c.seen.size() ? c.seen[static_cast<size_t>(nr - 1)] : stale;
        };
        const CopyLooks look{[&](int32_t nr) { askedCurrent.push_back(nr); return seen(nr).current; },
                             [&](int32_t nr) { askedRunning.push_back(nr); return seen(nr).running; }};
        ChosenCopy chosen = ChooseCopy(c.turn, c.maxNr, c.mayWrite, look, [&](int32_t nr) {
            refreshed.push_back(nr);
            auto fail = c.fails.find(nr);
            return fail == c.fails.end() ? 0ul : fail->second;
        });
        EXPECT_EQ(chosen.nr, c.nr) << c.what;
        EXPECT_EQ(chosen.usable, c.usable) << c.what;
        if (!c.usable) EXPECT_EQ(chosen.copyError, c.copyError) << c.what;
        EXPECT_EQ(refreshed, c.refreshed) << c.what;
        for (auto* asked : {&askedCurrent, &askedRunning}) {
            std::vector<int32_t> once = *asked;
            std::sort(once.begin(), once.end());
            EXPECT_EQ(std::adjacent_find(once.begin(), once.end()), once.end()) << c.what << ": a fact asked twice";
        }
        if (c.mayWrite && seen(c.turn).current) {
            EXPECT_EQ(askedCurrent, std::vector<int32_t>{c.turn}) << c.what;
            EXPECT_TRUE(askedRunning.empty()) << c.what << ": no process list for a current copy";
        }
    }

    // Which running programs are copies, by their file names.
    EXPECT_EQ(CopyNumberOf(L"ICQ.exe7"), 7);
    EXPECT_EQ(CopyNumberOf(L"icq.EXE99"), 99);
    for (const wchar_t* other : {L"ICQ.exe", L"ICQ.exe0", L"ICQ.exe01", L"ICQ.exe100", L"ICQ.exe1.tmp", L"xICQ.exe1",
                                 L"ICQ.exe-1", L"Kestrun.exe"})
        EXPECT_EQ(CopyNumberOf(other), 0) << other;
}

TEST(NumberedCopy, TernavoPreparesTheDefaultFiveOrWhatTheFolderUses) {
    EXPECT_EQ(CopiesToPrepare(L"", 0), 5);
    EXPECT_EQ(CopiesToPrepare(L"3", 2), 5);    // fewer in use: still the default maximum
    EXPECT_EQ(CopiesToPrepare(L"12", 0), 12);
    EXPECT_EQ(CopiesToPrepare(L"150", 7), 7);  // not a maximum Kestrun takes
    EXPECT_EQ(CopiesToPrepare(L"x", 9), 9);
    EXPECT_EQ(CopiesToPrepare(L"99", 99), 99);
    EXPECT_EQ(CopiesToPrepare(L"99", 0), 99);
}

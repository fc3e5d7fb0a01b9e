// When Kestrun makes a numbered copy again and when it leaves it alone.
#include <gtest/gtest.h>
#include "kestrun/rules/copyrule.h"

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

// Where Kestrun may not write, it starts a copy Ternavo prepared: a current
// one, preferably one that nobody runs, looking from its turn onwards.
TEST(NumberedCopy, ChoiceWhereTheTurnsCopyCannotBeUsed) {
    const CopySeen idle{true, false}, busy{true, true}, stale{false, false}, staleBusy{false, true};
    struct Case { const char* what; std::vector<CopySeen> seen; int32_t first; int32_t chosen; } cases[] = {
        {"its turn, idle", {idle, idle, idle}, 2, 2},
        {"the next idle one after a running one", {idle, busy, idle}, 2, 3},
        {"round the end to the first", {idle, busy, busy}, 2, 1},
        {"stale ones are passed over", {stale, stale, idle, stale}, 1, 3},
        // Every current copy runs: the cycle goes on from the turn, as where Kestrun writes.
        {"all current ones run", {busy, staleBusy, busy}, 2, 3},
        {"no current copy at all", {stale, staleBusy, stale}, 1, 0},
        {"no copies", {}, 1, 0},
        {"a turn beyond the copies starts at 1", {busy, idle}, 7, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(ChooseUsableCopy(c.seen, c.first), c.chosen) << c.what;

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

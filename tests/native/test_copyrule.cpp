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

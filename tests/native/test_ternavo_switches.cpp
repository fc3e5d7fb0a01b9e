// Ternavo's command line beyond the language, the text that hands the current
// choices to an elevated copy, and when Start needs that copy.
#include <gtest/gtest.h>
#include "common/rules/startuptext.h"
#include "ternavo/rules/switches.h"

namespace {

using startup::ReadSwitches;
using startup::Switches;
using startup::SwitchText;

std::string Ticks(const Switches& s) {
    const apply::Choices& c = s.choices;
    return std::string(c.lite ? "L" : "-") + (c.pro ? "P" : "-") + (c.icq6 ? "6" : "-") + (c.icq7 ? "7" : "-");
}

TEST(TernavoSwitches, WholeWordsInAnyCaseUnknownOnesPassedOver) {
    Switches s = ReadSwitches(L"-icq7 -allow -start");  // the administrator's one-liner
    EXPECT_EQ(Ticks(s), "---7");
    EXPECT_TRUE(s.generationsGiven);
    EXPECT_TRUE(s.instancesGiven);
    EXPECT_EQ(s.choices.instances, 0);
    EXPECT_TRUE(s.start);

    s = ReadSwitches(L"  -LITE\t-Pro   -iCq6 -ONLYONE  ");
    EXPECT_EQ(Ticks(s), "LP6-");
    EXPECT_EQ(s.choices.instances, 1);
    EXPECT_FALSE(s.start);

    // A switch inside a longer word, a word cut short, quotes: none of them counts.
    for (const wchar_t* text : {L"", L"   ", L"-icq7x -startnow", L"x-lite icq6 -icq -star -allowed",
                                L"\"-icq7\" -only one", L"-german -english", L"-icq7,-start", L"/icq7 /start"}) {
        s = ReadSwitches(text);
        EXPECT_FALSE(s.generationsGiven) << text;
        EXPECT_FALSE(s.instancesGiven) << text;
        EXPECT_FALSE(s.start) << text;
        EXPECT_EQ(Ticks(s), "----") << text;
    }
    // The language switches keep their own rule, beside these.
    EXPECT_FALSE(ChooseEnglish(L"English", L"-icq7 -germanistik -start", L""));
    EXPECT_TRUE(ReadSwitches(L"-icq7 -germanistik -start").start);
}

TEST(TernavoSwitches, InstancesTheLastOneCountsAndNothingGivenLeavesTheSavedChoices) {
    EXPECT_EQ(ReadSwitches(L"-allow -onlyone").choices.instances, 1);
    EXPECT_EQ(ReadSwitches(L"-onlyone -allow").choices.instances, 0);
    Switches s = ReadSwitches(L"-start -english");
    EXPECT_FALSE(s.generationsGiven);
    EXPECT_FALSE(s.instancesGiven);
    EXPECT_TRUE(s.start);
    // A repeated generation is still one tick.
    EXPECT_EQ(Ticks(ReadSwitches(L"-pro -PRO -pro")), "-P--");
}

TEST(TernavoSwitches, TheElevatedCopyReadsBackWhatTheWindowShows) {
    EXPECT_EQ(SwitchText({false, false, false, true, 0}, true, true), L"-icq7 -allow -english -start");
    EXPECT_EQ(SwitchText({true, true, true, false, 1}, false, false), L"-lite -pro -icq6 -onlyone -german");
    // Without a choice in the list the saved one stays for the copy.
    EXPECT_EQ(SwitchText({true, false, false, false, -1}, true, true), L"-lite -english -start");
    for (int bits = 1; bits < 16; ++bits)
        for (int instances : {0, 1})
            for (bool english : {false, true})
                for (bool start : {false, true}) {
                    apply::Choices c{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0, instances};
                    std::wstring text = SwitchText(c, english, start);
                    Switches s = ReadSwitches(text);
                    EXPECT_TRUE(s.generationsGiven && s.instancesGiven) << text;
                    EXPECT_EQ(s.choices.lite, c.lite) << text;
                    EXPECT_EQ(s.choices.pro, c.pro) << text;
                    EXPECT_EQ(s.choices.icq6, c.icq6) << text;
                    EXPECT_EQ(s.choices.icq7, c.icq7) << text;
                    EXPECT_EQ(s.choices.instances, instances) << text;
                    EXPECT_EQ(s.start, start) << text;
                    // Whatever the locale of the machine says.
                    EXPECT_EQ(ChooseEnglish(L"Deutsch", text, L""), english) << text;
                    EXPECT_EQ(ChooseEnglish(L"English", text, L""), english) << text;
                }
}

TEST(TernavoSwitches, OnlyANonElevatedStartWithTicksOnWindowsWithUacNeedsElevation) {
    using startup::StartNeedsElevation;
    EXPECT_TRUE(StartNeedsElevation(false, 6, false, true));   // Vista, 7, 8
    EXPECT_TRUE(StartNeedsElevation(false, 10, false, true));  // 10, 11
    EXPECT_FALSE(StartNeedsElevation(true, 10, false, true));
    EXPECT_FALSE(StartNeedsElevation(false, 10, false, false));
    EXPECT_FALSE(StartNeedsElevation(false, 10, true, true));  // user account control switched off
    EXPECT_FALSE(StartNeedsElevation(false, 5, false, true));  // XP: no user account control
    EXPECT_FALSE(StartNeedsElevation(false, 0, false, true));  // version unknown
}

}  // namespace

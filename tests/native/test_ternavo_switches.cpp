// Ternavo's command line beyond the language, the text that hands the current
// choices to an elevated copy, and when Start needs that copy.
#include <gtest/gtest.h>
#include "common/rules/startuptext.h"
#include "ternavo/rules/switches.h"

namespace {

using apply::Instances;
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
    EXPECT_TRUE(s.generationsGiven && s.instancesGiven && s.start);
    EXPECT_EQ(s.choices.instances, Instances::Allow);

    s = ReadSwitches(L"  -LITE\t-Pro   -iCq6 -pro -ONLYONE -english ");
    EXPECT_EQ(Ticks(s), "LP6-");
    EXPECT_EQ(s.choices.instances, Instances::OnlyOne);
    EXPECT_FALSE(s.start);
    // The last instances switch counts; a bare "-start" leaves the saved choices.
    EXPECT_EQ(ReadSwitches(L"-allow -onlyone").choices.instances, Instances::OnlyOne);
    EXPECT_EQ(ReadSwitches(L"-onlyone -allow").choices.instances, Instances::Allow);
    s = ReadSwitches(L"-start");
    EXPECT_TRUE(s.start && !s.generationsGiven && !s.instancesGiven);

    // A switch inside a longer word, a word cut short, quotes or another prefix: none counts.
    for (const wchar_t* text : {L"", L"   ", L"-icq7x -startnow", L"x-lite icq6 -icq -star -allowed",
                                L"\"-icq7\" -only one", L"-icq7,-start", L"/icq7 /start"}) {
        s = ReadSwitches(text);
        EXPECT_TRUE(!s.generationsGiven && !s.instancesGiven && !s.start) << text;
        EXPECT_EQ(Ticks(s), "----") << text;
    }
    // The language keeps its own rule beside these: "-german" anywhere, case-sensitive.
    EXPECT_FALSE(ChooseEnglish(L"English", L"-icq7 -germanistik -start", L""));
    EXPECT_TRUE(ReadSwitches(L"-icq7 -germanistik -start").start);
}

TEST(TernavoSwitches, TheElevatedCopyReadsBackWhatTheWindowShows) {
    EXPECT_EQ(SwitchText({false, false, false, true, Instances::Allow}, true, true), L"-icq7 -allow -english -start");
    EXPECT_EQ(SwitchText({true, true, true, false, Instances::OnlyOne}, false, false),
              L"-lite -pro -icq6 -onlyone -german");
    // With no entry chosen in the list the copy keeps the saved one.
    EXPECT_EQ(SwitchText({true, false, false, false, static_cast<Instances>(-1)}, true, true),
              L"-lite -english -start");
    for (int bits = 1; bits < 16; ++bits)
        for (Instances instances : {Instances::Allow, Instances::OnlyOne})
            for (bool english : {false, true})
                for (bool start : {false, true}) {
                    apply::Choices c{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0, instances};
                    std::wstring text = SwitchText(c, english, start);
                    Switches s = ReadSwitches(text);
                    EXPECT_TRUE(s.generationsGiven && s.instancesGiven) << text;
                    EXPECT_EQ(Ticks(s), Ticks(Switches{c})) << text;
                    EXPECT_EQ(s.choices.instances, instances) << text;
                    EXPECT_EQ(s.start, start) << text;
                    // Whatever the locale of the machine says.
                    EXPECT_EQ(ChooseEnglish(L"Deutsch", text, L""), english) << text;
                    EXPECT_EQ(ChooseEnglish(L"English", text, L""), english) << text;
                }
}

TEST(TernavoSwitches, OnlyANonElevatedStartWithTicksUnderUserAccountControlNeedsElevation) {
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

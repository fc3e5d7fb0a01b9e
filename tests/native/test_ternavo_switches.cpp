// Ternavo's switches, the text that hands the current choices to an elevated
// copy, and when Start needs that copy.
#include <gtest/gtest.h>
#include "common/rules/startuptext.h"
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

TEST(TernavoSwitches, TheElevatedCopyReadsBackTheChoicesAndTheLanguage) {
    EXPECT_EQ(startup::SwitchText({false, false, false, true, Instances::Allow}, false, true),
              L"-icq7 -allow -german -start");
    for (int bits = 1; bits < 16; ++bits)
        for (Instances instances : {Instances::Allow, Instances::OnlyOne})
            for (bool english : {false, true}) {
                apply::Choices c{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0, instances};
                std::wstring text = startup::SwitchText(c, english, true);
                startup::Switches s = ReadSwitches(text);
                EXPECT_TRUE(s.generationsGiven && s.instancesGiven && s.start) << text;
                EXPECT_EQ(Ticks(s.choices), Ticks(c)) << text;
                EXPECT_EQ(s.choices.instances, instances) << text;
                EXPECT_EQ(ChooseEnglish(english ? L"Deutsch" : L"English", text, L""), english) << text;
            }
}

TEST(TernavoSwitches, OnlyANonElevatedStartWithTicksUnderUserAccountControlNeedsElevation) {
    using startup::StartNeedsElevation;
    EXPECT_TRUE(StartNeedsElevation(false, 6, false, true) && StartNeedsElevation(false, 10, false, true));
    EXPECT_FALSE(StartNeedsElevation(true, 10, false, true));
    EXPECT_FALSE(StartNeedsElevation(false, 10, false, false));  // nothing ticked
    EXPECT_FALSE(StartNeedsElevation(false, 10, true, true));   // user account control switched off
    EXPECT_FALSE(StartNeedsElevation(false, 5, false, true));   // XP
}

}  // namespace

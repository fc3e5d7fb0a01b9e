// Link colours: the programs' own blue unless the user has high contrast on.
#include <gtest/gtest.h>
#include "common/rules/contrast.h"

TEST(HighContrast, OnlyTheOnFlagOfASuccessfulQueryTurnsLinksToTheSystemsColour) {
    constexpr std::uint32_t own = 0xAF680B, hot = 0x00FF00;
    struct Case { const char* what; bool queried; std::uint32_t flags; bool on; } cases[] = {
        {"off", true, 0, false},
        {"on", true, kHighContrastOnFlag, true},
        // Other flags of the setting (available, hot key active, ...) say nothing about the colours.
        {"other flags only", true, 0x0000007E, false},
        {"on among others", true, 0x0000007F, true},
        {"query failed, stale flags", false, kHighContrastOnFlag, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HighContrastFromSetting(c.queried, c.flags), c.on) << c.what;
        EXPECT_EQ(LinkColourFor(HighContrastFromSetting(c.queried, c.flags), own, hot), c.on ? hot : own) << c.what;
    }
}

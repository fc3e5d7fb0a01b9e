#pragma once
// The high-contrast colour decision, free of Windows: the programs' own link
// colour stays unless the user has high contrast on, and then only the
// system's colours are used.
#include <cstdint>

// The flag of the system's high-contrast setting that says it is on.
constexpr std::uint32_t kHighContrastOnFlag = 0x00000001;  // HCF_HIGHCONTRASTON

// Whether high contrast is on, from the system's answer: a failed query counts as off.
constexpr bool HighContrastFromSetting(bool queried, std::uint32_t flags) {
    return queried && (flags & kHighContrastOnFlag) != 0;
}

// The colour a link is drawn in: its own, or with high contrast the system's hot-track colour.
constexpr std::uint32_t LinkColourFor(bool highContrast, std::uint32_t own, std::uint32_t systemHotTrack) {
    return highContrast ? systemHotTrack : own;
}

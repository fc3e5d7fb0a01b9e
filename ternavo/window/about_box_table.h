#pragma once
// Ternavo's about box: the same texts in both languages.
#include <iterator>
#include "common/layout.h"
#include "common/product.h"

constexpr wchar_t kAboutBoxClass[] = L"TernavoAboutBox";
constexpr wchar_t kAboutBoxCaption[] = L"Ternavo - Info";
constexpr int kAboutBoxWidth = 3120;
constexpr int kAboutBoxHeight = 1635;

// Top to bottom as a person reads it; OK takes the focus when the box opens.
inline constexpr ControlDef kAboutBoxControls[] = {
    {"ProgramFrame", Kind::Frame, nullptr, 125, 120, 2895, 975, TERNAVO_CAPTION, nullptr, CF_None},
    {"Copyright", Kind::Label, "ProgramFrame", 300, 285, 2265, 195, L"© 2026 Ternavo-Projekt", nullptr, CF_None},
    {"HomepageLabel", Kind::Label, "ProgramFrame", 390, 615, 825, 195, L"Homepage:", nullptr, CF_None},
    // Our address, as wide as the frame leaves room for.
    {"HomepageLink", Kind::Link, "ProgramFrame", 1305, 615, 1470, 195, kHomeDomain, nullptr, CF_Tahoma | CF_Underline},
    {"OkButton", Kind::Button, nullptr, 900, 1200, 1335, 375, L"OK", nullptr, CF_None},
};
constexpr size_t kAboutBoxCount = std::size(kAboutBoxControls);
// The home page's link beside its label.
inline constexpr LinkSentence kAboutBoxSentences[] = {{"HomepageLabel", "HomepageLink", nullptr}};
inline constexpr AccessKey kAboutBoxKeys[] = {{"OkButton", L'O', L'O'}};

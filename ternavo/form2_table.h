#pragma once
// Ternavo's about box: the same texts in both languages.
#include <iterator>
#include "common/layout.h"
#include "common/product.h"

constexpr wchar_t kForm2Class[] = L"TernavoForm2";
constexpr wchar_t kForm2Caption[] = L"Ternavo - Info";
constexpr int kForm2Width = 3120;
constexpr int kForm2Height = 1635;

inline constexpr ControlDef kForm2Controls[] = {
    {"Command1", Kind::Button, nullptr, 900, 1200, 1335, 375, L"OK", nullptr, CF_None},
    {"Frame1", Kind::Frame, nullptr, 125, 120, 2895, 975, L"Ternavo v.1.5", nullptr, CF_None},
    {"Label4", Kind::Label, "Frame1", 300, 285, 2265, 195, L"© 2026 Ternavo-Projekt", nullptr, CF_None},
    {"Label5", Kind::Label, "Frame1", 390, 615, 825, 195, L"Homepage:", nullptr, CF_None},
    // Our address, as wide as the frame leaves room for.
    {"Label1", Kind::Link, "Frame1", 1305, 615, 1470, 195, kHomeDomain, nullptr, CF_Tahoma | CF_Underline},
};
constexpr size_t kForm2Count = std::size(kForm2Controls);

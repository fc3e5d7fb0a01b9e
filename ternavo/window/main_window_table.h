#pragma once
// Ternavo's main window: every control once, with its place in twips and its
// German and English text. The window, the English switch and the tests read it.
#include <iterator>
#include "common/layout.h"
#include "common/product.h"

constexpr wchar_t kMainWindowClass[] = L"TernavoMainWindow";
constexpr wchar_t kMainWindowCaption[] = TERNAVO_CAPTION;  // the same in both languages
constexpr int kMainWindowWidth = 3750;   // client area, twips
constexpr int kMainWindowHeight = 3180;

// Start comes first: it leads the keyboard order. The rest reads as a person
// reads the window, top to bottom: the option boxes stand as ICQ Pro 2003,
// ICQ Lite, ICQ 6, ICQ 7, and the instances list has a caption of its own just
// before it (a screen reader names a list after the text before it).
inline constexpr ControlDef kMainWindowControls[] = {
    {"StartButton", Kind::Button, nullptr, 120, 2760, 1335, 375, L"Start", nullptr, CF_Disabled},
    {"Headline", Kind::Label, nullptr, 345, 45, 3060, 195, L"Ermöglicht das mehrfache Starten von ICQ.",
     L"Allows you to start multiple instances of ICQ.", CF_Center},
    {"OptionsFrame", Kind::Frame, nullptr, 120, 360, 3495, 2295, L"Optionen", L"Options", CF_None},
    {"OptionsPanel", Kind::Panel, "OptionsFrame", 120, 240, 3255, 1935, nullptr, nullptr, CF_None},
    {"ICQProBox", Kind::Check, "OptionsPanel", 240, 60, 1365, 255, L"ICQ Pro 2003", nullptr, CF_None},
    {"ICQLiteBox", Kind::Check, "OptionsPanel", 240, 300, 1635, 255, L"ICQ Lite (4.x, 5.x)", nullptr, CF_None},
    {"ICQ6Box", Kind::Check, "OptionsPanel", 240, 540, 1575, 255, L"ICQ 6 / ICQ Lite 7", nullptr, CF_None},
    {"ICQ7Box", Kind::Check, "OptionsPanel", 240, 780, 735, 255, L"ICQ 7", nullptr, CF_None},
    {"SettingsLink", Kind::Link, "OptionsPanel", 1080, 810, 945, 195, L"Einstellungen", L"Settings", CF_Underline},
    {"InstancesLabel", Kind::Label, "OptionsPanel", 120, 1050, 3015, 195, L"Start bewirkt:", L"Start does:", CF_None},
    {"InstancesList", Kind::Combo, "OptionsPanel", 120, 1260, 3015, 315, nullptr, nullptr, CF_None},
    {"StatusLine", Kind::Label, "OptionsPanel", 120, 1680, 2085, 195, L"Optionen wählen und starten.",
     L"Choose options and click start.", CF_None},
    {"SuccessMark", Kind::Image, "OptionsPanel", 2640, 1605, 330, 255, nullptr, nullptr, CF_Hidden},
    {"FailureMark", Kind::Image, "OptionsPanel", 2280, 1560, 330, 360, nullptr, nullptr, CF_Hidden},
    {"InfoButton", Kind::Button, nullptr, 1560, 2760, 735, 375, L"Info", nullptr, CF_None},
    {"ExitButton", Kind::Button, nullptr, 2400, 2760, 1215, 375, L"Beenden", L"Exit", CF_None},
};
constexpr size_t kMainWindowCount = std::size(kMainWindowControls);
inline constexpr AccessKey kMainWindowKeys[] = {
    {"StartButton", L'S', L'S'}, {"ICQProBox", L'P', L'P'},      {"ICQLiteBox", L'L', L'L'}, {"ICQ6Box", L'6', L'6'},
    {"ICQ7Box", L'7', L'7'},     {"InstancesLabel", L'b', L'd'}, {"InfoButton", L'I', L'I'}, {"ExitButton", L'e', L'x'},
};

// The instances list's two fixed entries: entry 0 allows, entry 1 forbids several copies.
constexpr const wchar_t* kInstancesEntriesDe[2] = {L"Mehrere Instanzen von ICQ erlauben", L"Nur eine Instanz von ICQ"};
constexpr const wchar_t* kInstancesEntriesEn[2] = {L"Allow multiple instances of ICQ", L"Only one instance of ICQ"};

// The texts of the status line.
struct StatusTexts {
    const wchar_t* de;
    const wchar_t* en;
};
constexpr StatusTexts kStatusIdle{L"Optionen wählen und starten.", L"Choose options and click start."};
constexpr StatusTexts kStatusIdleAfterResult{L"Optionen wählen und starten.", L"Choose options and click Start"};
constexpr StatusTexts kStatusBusy{L"Bitte warten...", L"Please wait..."};
constexpr StatusTexts kStatusSuccess{L"Änderungen erfolgreich!", L"Changes successful!"};
constexpr StatusTexts kStatusFailure{L"Änderungen fehlgeschlagen!", L"Changes failed!"};

// The result mark sits this far right of the status text.
constexpr int kResultMarkGap = 130;  // twips
constexpr unsigned kStatusResetMs = 3000;   // after a result, the status line goes back to idle

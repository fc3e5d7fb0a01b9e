#pragma once
// Ternavo's ICQ 7 settings dialog: controls, places in twips, both languages.
#include <iterator>
#include "common/layout.h"

constexpr wchar_t kSettingsDialogClass[] = L"TernavoSettingsDialog";
constexpr wchar_t kSettingsDialogCaptionDe[] = L"Kestrun - Einstellungen";
constexpr wchar_t kSettingsDialogCaptionEn[] = L"Kestrun - Settings";
constexpr int kSettingsDialogWidth = 4335;
constexpr int kSettingsDialogHeight = 2835;

// The keyboard order is OK, Cancel, the folder box (after its caption), Change, the shortcut box.
inline constexpr ControlDef kSettingsDialogControls[] = {
    {"OkButton", Kind::Button, nullptr, 1440, 2400, 1335, 375, L"OK", nullptr, CF_Disabled},
    {"CancelButton", Kind::Button, nullptr, 2880, 2400, 1335, 375, L"Abbrechen", L"Cancel", CF_None},
    {"Explanation", Kind::Label, nullptr, 120, 60, 3975, 615,
     L"Um ICQ 7 mehrfach starten zu können muss der Kestrun (Kestrun.exe) ins Installationsverzeichnis von ICQ 7 "
     L"kopiert und ausgeführt werden.",
     L"To run multiple instances of ICQ 7, the Kestrun (Kestrun.exe) has to be copied to the installation "
     L"directory of ICQ 7 and launched afterwards.",
     CF_None},
    {"FolderFrame", Kind::Frame, nullptr, 120, 720, 4095, 1575, L"Bitte das ICQ 7 Verzeichnis wählen",
     L"Please choose ICQ 7 directory", CF_None},
    {"FolderPanel", Kind::Panel, "FolderFrame", 120, 240, 3855, 1215, nullptr, nullptr, CF_None},
    {"FolderLabel", Kind::Label, "FolderPanel", 0, 80, 2040, 195, L"ICQ 7 Installationverzeichnis:",
     L"ICQ 7 installation directory", CF_None},
    {"FolderBox", Kind::Edit, "FolderPanel", 0, 320, 2895, 285, L"", nullptr, CF_None},
    {"ChangeButton", Kind::Button, "FolderPanel", 3000, 270, 855, 375, L"Ändern", L"Change", CF_None},
    {"ShortcutBox", Kind::Check, "FolderPanel", 0, 680, 2895, 495, L"Verknüpfung zum Kestrun auf dem Desktop anlegen",
     L"Create a shortcut to Kestrun on Desktop", CF_Checked},
};
constexpr size_t kSettingsDialogCount = std::size(kSettingsDialogControls);
inline constexpr AccessKey kSettingsDialogKeys[] = {
    {"OkButton", L'O', L'O'},    {"CancelButton", L'A', L'C'}, {"FolderLabel", L'I', L'd'},
    {"ChangeButton", L'n', L'h'}, {"ShortcutBox", L'V', L's'},
};

constexpr wchar_t kWrongVersionDe[] = L"Das gewählte Verzeichnis enthält nicht die richtige ICQ-Version.";
constexpr wchar_t kWrongVersionEn[] = L"The chosen directory doesn't contain the right ICQ version.";
constexpr wchar_t kBrowseTitleDe[] = L"Bitte ICQ wählen";
constexpr wchar_t kBrowseTitleEn[] = L"Please choose ICQ";
constexpr wchar_t kBrowseFilter[] = L"ICQ (ICQ.exe)|ICQ.exe";

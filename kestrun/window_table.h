#pragma once
// Kestrun's window, written once as data: every control with its kind,
// container, position (twips, relative to the container), German and English
// text and font. The window, the English switch and the tests read this table.
#include <cstddef>
#include <iterator>
#include "common/layout.h"
#include "common/product.h"

// The host of our web site; the home page link shows and opens it bare.
#define KESTRUN_HOME_HOST PRODUCT_HOME_HOST

// The outer width of the window and its client height, in twips.
constexpr int kWindowOuterWidth = 6870;
constexpr int kWindowClientWidth = 6825;
constexpr int kWindowClientHeight = 5235;

// clang-format off
inline constexpr ControlDef kWindowControls[] = {
    // The tab strip and its four pages (placed over the tab strip's client area at load).
    {"TabStrip", Kind::Tab, nullptr, 120, 120, 6570, 4575, nullptr, nullptr, CF_None},
    {"TabPage(0)", Kind::Panel, nullptr, 150, 450, 6480, 4185, nullptr, nullptr, CF_None},
    {"TabPage(1)", Kind::Panel, nullptr, 150, 450, 6480, 4185, nullptr, nullptr, CF_Hidden},
    {"TabPage(2)", Kind::Panel, nullptr, 150, 450, 6480, 4185, nullptr, nullptr, CF_Hidden},
    {"TabPage(3)", Kind::Panel, nullptr, 150, 450, 6480, 4185, nullptr, nullptr, CF_Hidden},

    // Page 0: notes and the number of instances.
    {"NotesFrame", Kind::Frame, "TabPage(0)", 120, 120, 6255, 2895, L"Wichtige Hinweise", L"Important notes", CF_None},
    {"NoteBullet(0)", Kind::Bullet, "NotesFrame", 240, 425, 60, 60, nullptr, nullptr, CF_None},
    {"Note(0)", Kind::Label, "NotesFrame", 360, 360, 5265, 435,
     L"Wird ICQ 7 mehrfach ausgeführt, werden geänderte Einstellungen nicht gespeichert.",
     L"All changed settings at ICQ 7 will not be saved if multiple instances of ICQ are running.", CF_None},
    {"NoteBullet(1)", Kind::Bullet, "NotesFrame", 240, 905, 60, 60, nullptr, nullptr, CF_None},
    {"Note(1)", Kind::Label, "NotesFrame", 360, 840, 5625, 435,
     L"Damit die Einstellungen (Sprache, Skin, usw.) geladen werden und um weitere Probleme zu verhindern, ICQ 7 möglichst vor dem Login erneut starten.",
     L"To load settings successfully (language, skin, etc.) and to avoid other problems start ICQ 7 again before logging in.", CF_None},
    {"NoteBullet(2)", Kind::Bullet, "NotesFrame", 240, 1385, 60, 60, nullptr, nullptr, CF_None},
    {"Note(2)", Kind::Label, "NotesFrame", 360, 1320, 5295, 435,
     L"Ist eine Firewall aktiv (z.B. Windows Firewall)  muss ICQ 7 eventuell für jede Instanz erneut freigegeben werden.",
     L"If there is a firewall enabled (e.g. Windows Firewall) you possibly have to unblock every instance of ICQ 7.", CF_None},
    {"NoteBullet(3)", Kind::Bullet, "NotesFrame", 240, 1865, 60, 60, nullptr, nullptr, CF_None},
    {"Note(3)", Kind::Label, "NotesFrame", 360, 1800, 5490, 555,
     L"Soll ICQ 7 im Kompatibilitätsmodus ausgeführt werden, muss der Kestrun auch im Kompatibilitätsmodus gestartet werden.",
     L"If ICQ 7 should be executed in compatibility mode you have to run the Kestrun in compatibility mode too.", CF_None},
    {"NoteBullet(4)", Kind::Bullet, "NotesFrame", 240, 2345, 60, 60, nullptr, nullptr, CF_None},
    {"Note(4)", Kind::Label, "NotesFrame", 360, 2280, 5175, 495,
     L"Bitte tragen Sie unten in das Feld ein, wie viele Instanzen sie von ICQ 7 maximal gleichzeitig ausführen möchten.",
     L"Please enter the maximum number of instances of ICQ 7 (at the same time) in the box below.", CF_None},
    {"InstancesFrame", Kind::Frame, "TabPage(0)", 120, 3120, 6255, 975, L"Einstellungen", L"Settings", CF_None},
    {"InstancesPanel", Kind::Panel, "InstancesFrame", 120, 240, 6015, 615, nullptr, nullptr, CF_None},
    {"MaxInstancesLabel", Kind::Label, "InstancesPanel", 120, 150, 3705, 195,
     L"Maximale Anzahl der erlaubten Instanzen von ICQ 7:", L"Maximum number of allowed instances of ICQ 7:", CF_None},
    {"MaxInstances", Kind::Edit, "InstancesPanel", 3900, 120, 495, 285, L"5", nullptr, CF_None},
    {"MaxInstancesRange", Kind::Label, "InstancesPanel", 4440, 150, 495, 195, L"(1 - 99)", nullptr, CF_None},
    // The way back for a user who hid the window, at the foot of the page right above the box that hides it.
    {"ShiftHint", Kind::Label, "InstancesPanel", 120, 420, 5775, 195,
     L"Mit gedrückter Umschalttaste gestartet, zeigt der Kestrun dieses Fenster immer.",
     L"Started with Shift held down, Kestrun always shows this window.", CF_None},

    // Page 1: how ICQ 7 is started.
    {"StartModeFrame", Kind::Frame, "TabPage(1)", 120, 120, 6255, 3975,
     L"Einstellungen zum Startmodus", L"Settings for start mode", CF_None},
    {"StartModePanel", Kind::Panel, "StartModeFrame", 120, 240, 6015, 3615, nullptr, nullptr, CF_None},
    {"StartMinimized", Kind::Check, "StartModePanel", 240, 120, 4095, 255,
     L"ICQ 7 minimiert starten (nur im System-Tray anzeigen)", L"Run ICQ 7 minimized (show in System Tray only)", CF_None},
    {"NoTaskbarButton", Kind::Check, "StartModePanel", 240, 360, 3015, 255,
     L"ICQ 7 nicht in der Taskleiste anzeigen", L"Don't show ICQ 7 in taskbar", CF_None},
    {"Windows7Hint", Kind::Label, "StartModePanel", 480, 600, 5295, 405,
     L"Hinweis: Unter Windows 7 muss ICQ 7 bzw. der Kestrun eventuell im Kompatibilitätsmodus ausgeführt werden, um Probleme zu vermeiden.",
     L"Hint: To avoid trouble under Windows 7, you probably have to run ICQ 7 resp. Kestrun with Vista compatibility.", CF_None},
    {"LoginOptionsTitle", Kind::Label, "StartModePanel", 240, 1080, 1125, 195, L"Login-Optionen:", L"Login options:", CF_None},
    {"LoginOption(0)", Kind::Option, "StartModePanel", 360, 1320, 3135, 255,
     L"Keinen Account und Status auswählen", L"Do not set account and status", CF_Group},
    {"LoginOption(1)", Kind::Option, "StartModePanel", 360, 1560, 3375, 255,
     L"Mit letztem Account automatisch einloggen", L"Auto sign-in with last chosen account", CF_None},
    {"LoginOption(2)", Kind::Option, "StartModePanel", 360, 1800, 2175, 255,
     L"Kein automatischer Login", L"No automatic login", CF_None},
    {"LoginOption(3)", Kind::Option, "StartModePanel", 360, 2040, 5055, 255,
     L"Letzten Account mit entsprechender Voreinstellung laden (Default)",
     L"Load last account with its default settings (standard)", CF_Checked},
    {"StatusOptionsTitle", Kind::Label, "StartModePanel", 240, 2400, 1185, 195, L"Status-Optionen:", L"Status options:", CF_Group},
    {"StatusPrompt", Kind::Label, "StartModePanel", 360, 2640, 2820, 195,
     L"Folgenden Status für den Login wählen:", L"Set the following status for login:", CF_None},
    {"StatusList", Kind::ImageCombo, "StartModePanel", 3240, 2595, 2295, 330, nullptr, nullptr, CF_None},
    {"OnlyWithSetModes", Kind::Check, "StartModePanel", 240, 3120, 4935, 255,
     L"Diese Einstellungen nur bei Startparameter -setmodes anwenden",
     L"Apply these settings only on startup parameter -setmodes", CF_None},
    {"SetModesSeeAlso", Kind::Label, "StartModePanel", 480, 3360, 3360, 195,
     L"(Weitere Informationen im Tab 'Startparameter').", L"(For more information see tab 'Startup parameters').", CF_None},

    // Page 2: the startup parameters, switch in bold on the left, its meaning on the right.
    {"ParametersFrame", Kind::Frame, "TabPage(2)", 120, 120, 6255, 3975,
     L"Informationen zu den Startparametern", L"Information about startup parameters", CF_None},
    {"ParametersIntro", Kind::Label, "ParametersFrame", 240, 360, 5565, 195,
     L"Der Kestrun kann mit folgenden Startparametern ausgeführt werden:",
     L"Kestrun could be executed with the following startup parameters:", CF_None},
    {"ShowMeSwitch", Kind::Label, "ParametersFrame", 360, 720, 1275, 195, L"-showme", nullptr, CF_Bold},
    {"ShowMeMeaning", Kind::Label, "ParametersFrame", 1680, 720, 4455, 195,
     L"Zeigt dieses Fenster wieder an, falls es ausgeblendet wurde", L"Shows this window again if it was disabled", CF_None},
    {"WaitSwitch", Kind::Label, "ParametersFrame", 360, 960, 1275, 195, L"-wait=x", nullptr, CF_Bold},
    {"WaitMeaning", Kind::Label, "ParametersFrame", 1680, 960, 4455, 195,
     L"Startverzögerung in Sekunden mit x=[1-60]", L"Startup delay in seconds with x=[1-60]", CF_None},
    {"InstancesSwitch", Kind::Label, "ParametersFrame", 360, 1200, 1275, 195, L"-instances=x", nullptr, CF_Bold},
    {"InstancesMeaning", Kind::Label, "ParametersFrame", 1680, 1200, 4455, 195,
     L"Setzt die erlaubten Instanzen für ICQ 7 mit x=[1-99]", L"Sets the allowed instances of ICQ 7 with x=[1-99]", CF_None},
    {"MinimizedSwitch", Kind::Label, "ParametersFrame", 360, 1440, 1275, 195, L"-minimized", nullptr, CF_Bold},
    {"MinimizedMeaning", Kind::Label, "ParametersFrame", 1680, 1440, 4455, 195, L"ICQ 7 minimiert starten", L"Run ICQ 7 minimized", CF_None},
    {"NoTaskbarSwitch", Kind::Label, "ParametersFrame", 360, 1680, 1275, 195, L"-notaskbar", nullptr, CF_Bold},
    {"NoTaskbarMeaning", Kind::Label, "ParametersFrame", 1680, 1680, 4455, 195,
     L"ICQ 7 nicht in der Taskleiste anzeigen", L"Don't show ICQ 7 in taskbar", CF_None},
    {"LoginModeSwitch", Kind::Label, "ParametersFrame", 360, 1920, 1275, 195, L"-loginmode=x", nullptr, CF_Bold},
    {"LoginModeMeaning", Kind::Label, "ParametersFrame", 1680, 1920, 4455, 195,
     L"Login-Optionen setzen mit x=[1-4], siehe Startmodus", L"Set login options with x=[1-4], see start mode", CF_None},
    {"StatusSwitch", Kind::Label, "ParametersFrame", 360, 2160, 1275, 195, L"-status=x", nullptr, CF_Bold},
    {"StatusMeaning", Kind::Label, "ParametersFrame", 1680, 2160, 4455, 195,
     L"Status für den Login setzen mit x=[1-7], siehe Startmodus", L"Set status for login with x=[1-7], see start mode", CF_None},
    {"ToIcqSwitch", Kind::Label, "ParametersFrame", 360, 2400, 1275, 195, L"-toicq:param", nullptr, CF_Bold},
    {"ToIcqMeaning", Kind::Label, "ParametersFrame", 1680, 2400, 4455, 195,
     L"Einen Parameter an ICQ übergeben (mehrfach möglich)", L"Pass a parameter to ICQ (multiple possible)", CF_None},
    {"SetModesSwitch", Kind::Label, "ParametersFrame", 360, 2640, 1275, 195, L"-setmodes", nullptr, CF_Bold},
    {"SetModesMeaning", Kind::Label, "ParametersFrame", 1680, 2640, 4455, 195,
     L"Startmodus-Einstellungen anwenden", L"Apply start mode settings", CF_None},
    {"SetModesCondition", Kind::Label, "ParametersFrame", 1680, 2850, 4455, 615,
     L"Dieser Parameter wird nur berücksichtigt, wenn die entsprechende Option aktiviert ist.",
     L"This parameter will only be taken into account if the relevant option is enabled.", CF_None},
    {"ExampleIntro", Kind::Label, "ParametersFrame", 360, 3360, 5775, 195,
     L"Ein Beispiel für mögliche Startparameter (mit Leerzeichen getrennt):",
     L"An example for possible startup parameters (separated by spaces):", CF_None},
    {"ExampleLine", Kind::Label, "ParametersFrame", 360, 3600, 5775, 195,
     L"Kestrun.exe -instances=3 -minimized -loginmode=2 -status=5 -toicq:silent", nullptr, CF_Tahoma},

    // Page 3: program information and the links to our web site.
    {"InfoFrame", Kind::Frame, "TabPage(3)", 120, 120, 6255, 3975, L"Programm-Info", L"Program info", CF_None},
    {"ProgramName", Kind::Label, "InfoFrame", 360, 360, 2085, 195, KESTRUN_CAPTION, nullptr, CF_Bold},
    {"PartOfTernavo", Kind::Label, "InfoFrame", 360, 600, 2265, 195, L"Ein Teilprogramm von Ternavo.", L"Part of Ternavo.", CF_None},
    {"Copyright", Kind::Label, "InfoFrame", 360, 1080, 2250, 195, L"© 2026 Ternavo-Projekt", nullptr, CF_None},
    {"HomepageLabel", Kind::Label, "InfoFrame", 360, 1440, 825, 195, L"Homepage:", nullptr, CF_None},
    {"HomepageLink", Kind::Link, "InfoFrame", 1290, 1440, 1125, 195, KESTRUN_HOME_HOST, nullptr,
     CF_Tahoma | CF_Underline},
    {"ParameterNotesTitle", Kind::Label, "InfoFrame", 360, 2040, 2295, 195,
     L"Hinweis zu den Startparametern:", L"Some notes to the startup parameters:", CF_None},
    {"ParameterNotes", Kind::Label, "InfoFrame", 360, 2280, 5610, 795,
     L"Die übergebenen Parameter an den Kestrun (Kestrun.exe) werden den Einstellungen vorgezogen, d.h. wurde beispielsweise die Option \"ICQ 7 minimiert starten\" deaktiviert aber der Parameter -minimized übergeben, so wird ICQ trotzdem minimiert gestartet.",
     L"The passed parameters to Kestrun (Kestrun.exe) will be prefered to the settings, this means that if for example the option 'Run ICQ 7 minimized' was disabled but the parameter -minimized was passed, ICQ will be started minimized anyway.",
     CF_None},
    // Each sentence with a link is laid out in pieces: its text, the link a blank after it, the full stop.
    {"HelpSentence", Kind::Label, "InfoFrame", 360, 3240, 4425, 195,
     L"Weitere Hilfe zur Anwendung von Startparametern gibt es", L"Further help working with startup parameters is available",
     CF_None},
    {"HelpLink", Kind::Link, "InfoFrame", 4485, 3240, 270, 195, L"hier", L"here", CF_Tahoma | CF_Underline},
    {"HelpStop", Kind::Label, "InfoFrame", 4755, 3240, 60, 195, L".", nullptr, CF_None},
    {"ForumSentence", Kind::Label, "InfoFrame", 360, 3480, 3105, 195,
     L"Bei Fragen besuchen Sie bitte unser", L"For questions please visit our", CF_None},
    {"ForumLink", Kind::Link, "InfoFrame", 2985, 3480, 450, 195, L"Forum", nullptr, CF_Tahoma | CF_Underline},
    {"ForumStop", Kind::Label, "InfoFrame", 3435, 3480, 60, 195, L".", nullptr, CF_None},

    // Below the tab strip: the window's own switch and its two buttons.
    {"DontShowAgain", Kind::Check, nullptr, 120, 4800, 2895, 255,
     L"Dieses Fenster nicht mehr anzeigen", L"Do not show this window again", CF_None},
    {"SaveButton", Kind::Button, nullptr, 3240, 4800, 1695, 375, L"Speichern", L"Save", CF_Disabled},
    {"StartButton", Kind::Button, nullptr, 4995, 4800, 1695, 375, L"ICQ starten", L"Start ICQ", CF_None},
};
// clang-format on
inline constexpr size_t kWindowControlCount = std::size(kWindowControls);

// Access keys, unique within the window in each language; a label's key leads to the box after it.
inline constexpr AccessKey kWindowKeys[] = {
    {"DontShowAgain", L'D', L'D'},    {"StartMinimized", L'm', L'm'},   {"NoTaskbarButton", L'T', L'k'},
    {"OnlyWithSetModes", L'E', L'A'}, {"LoginOption(0)", L'K', L'n'},   {"LoginOption(1)", L'l', L'g'},
    {"LoginOption(2)", L'a', L'l'},   {"LoginOption(3)", L'V', L'f'},   {"StartButton", L's', L'I'},
    {"SaveButton", L'p', L'S'},       {"MaxInstancesLabel", L'x', L'x'}, {"StatusPrompt", L'u', L'u'},
};

// The tabs of the tab strip in their order; the key decides which page a tab shows.
struct TabDef {
    const char* key;
    const char* page;  // the panel shown for this tab
    const wchar_t* de;
    const wchar_t* en;
};
inline constexpr TabDef kWindowTabs[] = {
    {"ICQInstances", "TabPage(0)", L"ICQ Instanzen wählen", L"Choose ICQ instances"},
    {"StartMode", "TabPage(1)", L"ICQ Startmodus einstellen", L"Set ICQ start mode"},
    {"StartParameter", "TabPage(2)", L"Startparameter", L"Startup parameters"},
    {"InfoEntry", "TabPage(3)", L"Info", L"Info"},
};
inline constexpr size_t kWindowTabCount = std::size(kWindowTabs);

// Controls that move left in English, where the shorter sentences leave their gaps elsewhere (twips).
struct EnglishMove {
    const char* name;
    int dx;
};
inline constexpr EnglishMove kEnglishMoves[] = {
    {"MaxInstances", -280}, {"MaxInstancesRange", -280}, {"StatusList", -540},
};

// The window's links beside their texts.
inline constexpr LinkSentence kWindowSentences[] = {
    {"HomepageLabel", "HomepageLink", nullptr},
    {"HelpSentence", "HelpLink", "HelpStop"},
    {"ForumSentence", "ForumLink", "ForumStop"},
};

// The status list: entry i (1..7) in both languages; its icon is IDI_STATUS1 + i - 1.
struct StatusDef {
    const wchar_t* de;
    const wchar_t* en;
};
inline constexpr StatusDef kStatusTexts[] = {
    {L"Gespeicherter Status", L"Stored status"},
    {L"Online", L"Available"},
    {L"Abwesend", L"Away"},
    {L"Beschäftigt", L"Busy"},
    {L"Unsichtbar online", L"Invisible available"},
    {L"Unsichtbar abwesend", L"Invisible away"},
    {L"Unsichtbar beschäftigt", L"Invisible busy"},
};

// Our web site: the home page is opened by its bare host, help and forum by full address.
inline constexpr const wchar_t* kHomePage = KESTRUN_HOME_HOST;
inline constexpr const wchar_t* kHelpPage = L"http://" KESTRUN_HOME_HOST L"/index.php?page_id=221";
inline constexpr const wchar_t* kForumPage = L"http://" KESTRUN_HOME_HOST L"/forum";

// The one-time hint after "Start ICQ" with "Do not show this window again" ticked.
inline constexpr const wchar_t* kHintTitle = L"Information";
inline constexpr const wchar_t* kHintDe =
    L"Um dieses Fenster wieder anzeigen zu lassen, rufen Sie den Kestrun mit dem Parameter '-showme' auf.";
inline constexpr const wchar_t* kHintEn = L"To see this window again start Kestrun with the parameter '-showme'.";

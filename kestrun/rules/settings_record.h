#pragma once
// Kestrun's settings as one plain record: kestrun.ini loads and saves it, the
// window shows and edits it, the launcher reads it. Platform-free.
#include <string>

struct KestrunSettings {
    // How ICQ 7 is started.
    bool Minimized = false;        // hidden, in the system tray only
    bool NoTaskbar = false;        // without a taskbar button
    bool OnlyOnSetModes = false;   // the start modes count only with "-setmodes"
    int LoginOption = 3;           // login option 0..3, -1 when none is chosen
    int StatusItem = 1;            // status entry 1..7
    // The window itself.
    std::wstring MaxInstances = L"5";  // the maximum of instances as shown and typed
    bool ShowWindow = true;            // false: "Do not show this window again"
};

// The record's values as kestrun.ini holds them (section "Kestrun"), one text per key.
struct StoredSettings {
    std::wstring MaxNr, ShowMe, Minimized, NoTaskbar, LoginMode, LoginStatus, SetMode;
};

// The record after loading: every stored value corrected as the window shows
// it; the maximum stays `before.MaxInstances` when none is stored.
KestrunSettings SettingsFromStored(const StoredSettings& stored, const KestrunSettings& before = {});
// The texts a save writes; LoginMode stays empty (and is not written) when no
// login option is chosen.
StoredSettings StoredFromSettings(const KestrunSettings& settings);

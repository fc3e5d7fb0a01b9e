#include "kestrun/settings.h"
#include <windows.h>
#include "common/ini_file.h"

namespace {
const wchar_t kSection[] = L"Kestrun";
}  // namespace

KestrunSettings LoadSettings(const IniSection& section, const KestrunSettings& before) {
    auto read = [&](const wchar_t* key) { return section.Value(key); };
    StoredSettings stored;
    stored.MaxNr = read(L"MaxNr");
    stored.ShowMe = read(L"ShowMe");
    stored.Minimized = read(L"Minimized");
    stored.NoTaskbar = read(L"NoTaskbar");
    stored.LoginMode = read(L"LoginMode");
    stored.LoginStatus = read(L"LoginStatus");
    stored.SetMode = read(L"SetMode");
    return SettingsFromStored(stored, before);
}

bool SaveSettings(const std::wstring& file, const KestrunSettings& settings, unsigned long* error) {
    StoredSettings stored = StoredFromSettings(settings);
    bool saved = true;
    auto write = [&](const wchar_t* key, const std::wstring& value) {
        if (WriteIniValue(file, kSection, key, value) || !saved) return;
        saved = false;
        if (error) *error = GetLastError();
    };
    write(L"MaxNr", stored.MaxNr);
    write(L"ShowMe", stored.ShowMe);
    write(L"Minimized", stored.Minimized);
    write(L"NoTaskbar", stored.NoTaskbar);
    if (!stored.LoginMode.empty()) write(L"LoginMode", stored.LoginMode);
    write(L"LoginStatus", stored.LoginStatus);
    write(L"SetMode", stored.SetMode);
    return saved;
}

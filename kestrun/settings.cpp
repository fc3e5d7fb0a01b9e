#include "kestrun/settings.h"
#include "common/ini_file.h"

namespace {
const wchar_t kSection[] = L"Kestrun";
}  // namespace

KestrunSettings LoadSettings(const std::wstring& file, const KestrunSettings& before) {
    auto read = [&](const wchar_t* key) { return ReadIniValue(file, kSection, key); };
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

void SaveSettings(const std::wstring& file, const KestrunSettings& settings) {
    StoredSettings stored = StoredFromSettings(settings);
    auto write = [&](const wchar_t* key, const std::wstring& value) { WriteIniValue(file, kSection, key, value); };
    write(L"MaxNr", stored.MaxNr);
    write(L"ShowMe", stored.ShowMe);
    write(L"Minimized", stored.Minimized);
    write(L"NoTaskbar", stored.NoTaskbar);
    if (!stored.LoginMode.empty()) write(L"LoginMode", stored.LoginMode);
    write(L"LoginStatus", stored.LoginStatus);
    write(L"SetMode", stored.SetMode);
}

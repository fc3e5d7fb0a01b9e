#include "kestrun/rules/settings_record.h"
#include "kestrun/rules/launchrules.h"
#include "common/rules/numbers.h"

KestrunSettings SettingsFromStored(const StoredSettings& stored, const KestrunSettings& before) {
    KestrunSettings s = before;
    s.MaxInstances = ShownMaxNr(before.MaxInstances, stored.MaxNr);
    s.ShowWindow = stored.ShowMe != L"0";
    s.Minimized = stored.Minimized == L"1";
    s.NoTaskbar = stored.NoTaskbar == L"1";
    s.LoginOption = LoginOptionFor(stored.LoginMode);
    s.StatusItem = StatusItemFor(stored.LoginStatus);
    s.OnlyOnSetModes = stored.SetMode == L"1";
    return s;
}

StoredSettings StoredFromSettings(const KestrunSettings& settings) {
    auto flag = [](bool on) { return std::wstring(on ? L"1" : L"0"); };
    StoredSettings t;
    t.MaxNr = SavedMaxNr(settings.MaxInstances);
    t.ShowMe = flag(settings.ShowWindow);
    t.Minimized = flag(settings.Minimized);
    t.NoTaskbar = flag(settings.NoTaskbar);
    if (settings.LoginOption >= 0 && settings.LoginOption <= 3) t.LoginMode = DecimalText(settings.LoginOption + 1);
    int status = settings.StatusItem >= 1 && settings.StatusItem <= 7 ? settings.StatusItem : 1;
    t.LoginStatus = DecimalText(status);
    t.SetMode = flag(settings.OnlyOnSetModes);
    return t;
}

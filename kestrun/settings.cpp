// kestrun.ini: moves every key between the file and the window's settings.
// Invalid values are shown corrected but only written back when the user saves.
#include "common/module1.h"
#include "common/winutil.h"
#include "kestrun/app.h"
#include "kestrun/rules/launchrules.h"

namespace {

const wchar_t kSection[] = L"Kestrun";
const char* const kLoginOpt[] = {"LoginOpt(0)", "LoginOpt(1)", "LoginOpt(2)", "LoginOpt(3)"};

std::wstring Read(const wchar_t* key) { return ReadIniValue(SettingsPath, kSection, key); }
void Write(const wchar_t* key, const std::wstring& value) { WriteIniValue(SettingsPath, kSection, key, value); }
const wchar_t* Flag(bool on) { return on ? L"1" : L"0"; }

}  // namespace

void LoadSettings() {
    FillStatusList();

    SetMaxNrText(ShownMaxNr(MaxNrText(), Read(L"MaxNr")));
    SetOn("Check1", Read(L"ShowMe") == L"0");
    SetOn("Check2", Read(L"Minimized") == L"1");
    SetOn("Check3", Read(L"NoTaskbar") == L"1");
    int option = LoginOptionFor(Read(L"LoginMode"));
    for (int i = 0; i < 4; ++i) SetOn(kLoginOpt[i], i == option);
    SelectStatusItem(StatusItemFor(Read(L"LoginStatus")));
    if (HWND combo = Control("ImageCombo1")) InvalidateRect(combo, nullptr, TRUE);
    SetOn("Check4", Read(L"SetMode") == L"1");

    SetSaveEnabled(false);
}

void SaveSettings() {
    Write(L"MaxNr", SavedMaxNr(MaxNrText()));
    Write(L"ShowMe", IsOn("Check1") ? L"0" : L"1");
    Write(L"Minimized", Flag(IsOn("Check2")));
    Write(L"NoTaskbar", Flag(IsOn("Check3")));
    for (int i = 0; i < 4; ++i) {
        if (IsOn(kLoginOpt[i])) {
            Write(L"LoginMode", DecimalText(i + 1));
            break;
        }
    }
    Write(L"LoginStatus", DecimalText(SelectedStatusItem()));
    Write(L"SetMode", Flag(IsOn("Check4")));

    SetSaveEnabled(false);
}

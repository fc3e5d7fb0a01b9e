#include "kestrun/rules/failuretexts.h"

namespace {

// The message, then each further line that is not empty.
std::wstring Lines(const wchar_t* message, const std::wstring& reason, const wchar_t* hint = nullptr) {
    std::wstring text = message;
    if (!reason.empty()) text += L"\n" + reason;
    if (hint) text += std::wstring(L"\n") + hint;
    return text;
}

}  // namespace

std::wstring ReasonLine(const std::wstring& systemText) {
    size_t end = systemText.find_last_not_of(L" \t\r\n");
    return end == std::wstring::npos ? std::wstring() : systemText.substr(0, end + 1);
}

std::wstring StartFailedText(bool english, const std::wstring& systemText, bool copyRefused) {
    const wchar_t* hint = nullptr;
    if (copyRefused)
        hint = english ? L"Run Kestrun as administrator, or install ICQ 7 into a folder you may write to."
                       : L"Starten Sie Kestrun als Administrator oder installieren Sie ICQ 7 in einen Ordner, in den "
                         L"Sie schreiben dürfen.";
    return Lines(english ? L"ICQ 7 could not be started." : L"ICQ 7 konnte nicht gestartet werden.",
                 ReasonLine(systemText), hint);
}

std::wstring SaveFailedText(bool english, const std::wstring& systemText) {
    return Lines(english ? L"The settings could not be saved." : L"Die Einstellungen konnten nicht gespeichert werden.",
                 ReasonLine(systemText));
}

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

std::wstring ReasonLine(const std::wstring& systemText, const std::wstring& file) {
    size_t end = systemText.find_last_not_of(L" \t\r\n");
    std::wstring text = end == std::wstring::npos ? std::wstring() : systemText.substr(0, end + 1);
    for (size_t at = text.find(L"%1"); at != std::wstring::npos; at = text.find(L"%1", at + file.size()))
        text.replace(at, 2, file);
    return text;
}

std::wstring StartFailedText(bool english, const std::wstring& systemText, const std::wstring& file, bool folderClosed) {
    const wchar_t* hint = nullptr;
    if (folderClosed)
        hint = english ? L"Kestrun may not write in the ICQ 7 folder. Run Ternavo and press Start once more: it "
                         L"prepares the copies."
                       : L"Kestrun darf im ICQ-7-Ordner nicht schreiben. Starten Sie Ternavo und klicken Sie noch "
                         L"einmal auf Start: Ternavo bereitet die Kopien vor.";
    return Lines(english ? L"ICQ 7 could not be started." : L"ICQ 7 konnte nicht gestartet werden.",
                 ReasonLine(systemText, file), hint);
}

std::wstring SaveFailedText(bool english, const std::wstring& systemText, const std::wstring& file) {
    return Lines(english ? L"The settings could not be saved." : L"Die Einstellungen konnten nicht gespeichert werden.",
                 ReasonLine(systemText, file));
}

#include "common/rules/startuptext.h"

std::wstring TrimBlanks(const std::wstring& text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

std::wstring ArgumentText(const std::wstring& commandLine) {
    size_t i = 0;
    size_t n = commandLine.size();
    while (i < n && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
    // The program name ends at the first blank outside quotes, as the system
    // itself splits it.
    bool quoted = false;
    for (; i < n; ++i) {
        wchar_t c = commandLine[i];
        if (c == L'"') quoted = !quoted;
        else if (!quoted && (c == L' ' || c == L'\t')) break;
    }
    size_t start = commandLine.find_first_not_of(L"\t ", i);
    return start == std::wstring::npos ? std::wstring() : TrimBlanks(commandLine.substr(start));
}

bool ChooseEnglish(const std::wstring& nativeLanguageName, const std::wstring& arguments,
                   const std::wstring& languageSetting) {
    bool english = nativeLanguageName.find(L"Deutsch") == std::wstring::npos;
    if (arguments.find(L"-german") != std::wstring::npos) english = false;
    if (arguments.find(L"-english") != std::wstring::npos) english = true;
    if (languageSetting == L"English") english = true;
    if (languageSetting == L"German") english = false;
    return english;
}

// Fuzzes what both programs take from their process at start-up: the argument
// text cut from a whole command line, the language choice and Kestrun's own
// name; and Ternavo's worker's arguments. Any text must give a trimmed piece
// of itself, the settings key must decide the language whenever it is one of
// the two words, and whatever the worker accepts, written again as the window
// writes it, must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include "kestrun/rules/launchrules.h"
#include "ternavo/rules/icq7search.h"
#include "ternavo/rules/switches.h"

namespace {

void Check(bool ok) {
    if (!ok) abort();
}

// A trimmed piece of `whole`: no blank at either end, found inside it.
void ExpectTrimmedPiece(const std::wstring& piece, const std::wstring& whole) {
    Check(piece.size() <= whole.size());
    Check(whole.find(piece) != std::wstring::npos);
    if (!piece.empty()) Check(piece.front() != L' ' && piece.back() != L' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // One byte per character (quotes, blanks, tabs and switch letters come
    // often) or two bytes per character over the whole UTF-16 range.
    std::wstring text;
    if (data[0] & 1) {
        for (size_t i = 1; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    } else {
        for (size_t i = 1; i < size; ++i) text += static_cast<wchar_t>(data[i]);
    }

    ExpectTrimmedPiece(ArgumentText(text), text);
    ExpectTrimmedPiece(TrimBlanks(text), text);

    // The text split into locale name, command line and settings key.
    size_t a = text.find(L'|');
    size_t b = a == std::wstring::npos ? a : text.find(L'|', a + 1);
    std::wstring locale = text.substr(0, a);
    std::wstring args = a == std::wstring::npos ? L"" : text.substr(a + 1, b == std::wstring::npos ? b : b - a - 1);
    std::wstring key = b == std::wstring::npos ? L"" : text.substr(b + 1);
    bool english = ChooseEnglish(locale, args, key);
    // The settings key decides whenever it is one of the two words.
    if (key == L"English") Check(english);
    if (key == L"German") Check(!english);

    std::wstring base = ExeBaseName(text);
    Check(text.find(base) != std::wstring::npos);
    Check(base.find_first_of(L"\\/") == std::wstring::npos);
    Check(icq7::IsICQ7VersionText(text) == (text.size() >= 2 && text[0] == L'7' && text[1] == L'.'));

    startup::WorkerOrder order = startup::ReadWorkerArguments(text);
    if (order.valid && (order.icq7Folder.empty() || order.icq7Folder.back() != L'\\')) {
        startup::WorkerOrder again =
            startup::ReadWorkerArguments(startup::WorkerArgumentText(order.steps, order.icq7Folder, order.reportTo));
        Check(again.valid && again.icq7Folder == order.icq7Folder && again.steps.instances == order.steps.instances &&
              again.reportTo == order.reportTo);
        Check(again.steps.lite == order.steps.lite && again.steps.pro == order.steps.pro &&
              again.steps.icq6 == order.steps.icq6 && again.steps.icq7 == order.steps.icq7);
    }
    return 0;
}

#include "kestrun/rules/icqwindow.h"

namespace {

constexpr uint32_t kVisible = 0x10000000;     // WS_VISIBLE
constexpr uint32_t kToolWindow = 0x00000080;  // WS_EX_TOOLWINDOW
constexpr uint32_t kAppWindow = 0x00040000;   // WS_EX_APPWINDOW

// Input-method windows, the text-services marshalling window, OLE's main
// thread window and the GDI+ hook window.
constexpr const wchar_t* kHelperClasses[] = {L"IME", L"MSCTFIME UI", L"CicMarshalWndClass", L"OleMainThreadWndClass",
                                             L"GDI+ Hook Window Class"};

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// Class names compare in any letter case, as the system compares them.
bool SameLetters(const std::wstring& a, const wchar_t* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return i == a.size() && !b[i];
}

}  // namespace

bool IsHelperWindowClass(const std::wstring& className) {
    for (const wchar_t* helper : kHelperClasses)
        if (SameLetters(className, helper)) return true;
    return false;
}

bool IsShownStyle(uint32_t style) { return (style & kVisible) != 0; }

uint32_t ToolWindowExStyle(uint32_t exStyle) { return (exStyle & ~kAppWindow) | kToolWindow; }

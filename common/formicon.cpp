#include "common/formicon.h"
#include "common/dll_search.h"
#include "common/layout.h"

HICON LoadIconOfSize(HINSTANCE module, const wchar_t* resource, int cx, int cy) {
    using ScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto scaleDown = [] {
        HMODULE comctl32 = LoadSystemLibrary(L"comctl32.dll");
        return comctl32 ? reinterpret_cast<ScaleDownFn>(GetProcAddress(comctl32, "LoadIconWithScaleDown")) : nullptr;
    }();
    HICON icon = nullptr;
    if (scaleDown && SUCCEEDED(scaleDown(module, resource, cx, cy, &icon)) && icon) return icon;
    return static_cast<HICON>(LoadImageW(module, resource, IMAGE_ICON, cx, cy, 0));
}

void FormIcon::Form(HWND window) {
    if (!window) ReleaseIcons();
    window_ = window;
}

void FormIcon::Icon(HICON picture) {
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(picture));
}

void FormIcon::SmallIcon(HICON picture) {
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(picture));
}

void FormIcon::ResIcon(int id) { Load(MAKEINTRESOURCEW(id)); }
void FormIcon::ResIcon(const wchar_t* name) { Load(name); }

void FormIcon::Dpi(int dpi) {
    dpi_ = dpi;
    if (resource_) Load(resource_);
}

void FormIcon::Load(const wchar_t* resource) {
    ReleaseIcons();
    resource_ = resource;
    HINSTANCE module = instance_ ? instance_ : GetModuleHandleW(nullptr);
    // The sizes the system draws icons at (32 and 16 pixels at 96 dpi, more on
    // a finer screen), so that the best image of the resource is taken, not stretched.
    int dpi = dpi_ ? dpi_ : WindowDpi(window_);
    bigIcon_ = LoadIconOfSize(module, resource, SystemMetricForDpi(SM_CXICON, dpi), SystemMetricForDpi(SM_CYICON, dpi));
    smallIcon_ = LoadIconOfSize(module, resource, SystemMetricForDpi(SM_CXSMICON, dpi),
                                SystemMetricForDpi(SM_CYSMICON, dpi));
    if (bigIcon_) SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    if (smallIcon_) SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void FormIcon::ReleaseIcons() {
    // Take the icons off the window first, so that it never draws a destroyed one.
    if (window_ && IsWindow(window_)) {
        if (bigIcon_ && reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_BIG, 0)) == bigIcon_)
            SendMessageW(window_, WM_SETICON, ICON_BIG, 0);
        if (smallIcon_ && reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0)) == smallIcon_)
            SendMessageW(window_, WM_SETICON, ICON_SMALL, 0);
    }
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    bigIcon_ = smallIcon_ = nullptr;
    resource_ = nullptr;
}

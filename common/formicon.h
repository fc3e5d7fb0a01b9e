#pragma once
// Gives a window its big and small icon, at the system's icon sizes (32x32 and
// 16x16 at 96 dpi). Icons loaded from a resource belong to the object and are
// destroyed when it is released, when the window is detached, or when another
// resource icon is set.
#include <windows.h>

// An icon resource at `cx` x `cy` pixels: the larger image scaled down where the
// system offers that (Vista and later), so that no small image is blown up.
HICON LoadIconOfSize(HINSTANCE module, const wchar_t* resource, int cx, int cy);

class FormIcon {
public:
    FormIcon() = default;
    ~FormIcon() { ReleaseIcons(); }
    FormIcon(const FormIcon&) = delete;
    FormIcon& operator=(const FormIcon&) = delete;

    // The window whose icons are set; nullptr detaches and destroys the loaded icons.
    void Form(HWND window);
    // Module to load resources from; nullptr = the running executable.
    void hInstance(HINSTANCE instance) { instance_ = instance; }
    // Icons owned by somebody else; nullptr removes that icon from the window.
    void Icon(HICON picture);
    void SmallIcon(HICON picture);
    // Loads icon resource `id` (or a named one) at both sizes and sets it.
    void ResIcon(int id);
    void ResIcon(const wchar_t* name);
    // A value of another kind: the previous icons go, nothing new is set.
    void ResIconNone() { ReleaseIcons(); }
    // The window moved to a screen of another DPI: the resource icon is loaded
    // again at the sizes for it (0 = the window's own DPI).
    void Dpi(int dpi);

    HICON big() const { return bigIcon_; }
    HICON small() const { return smallIcon_; }

private:
    void Load(const wchar_t* resource);
    void ReleaseIcons();

    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    const wchar_t* resource_ = nullptr;  // the resource icon shown, nullptr when none
    int dpi_ = 0;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
};

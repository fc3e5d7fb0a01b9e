#pragma once
// Small RAII owners for Win32 handles and a few path helpers. Every handle the
// programs open closes itself when its owner goes out of scope.
#include <windows.h>
#include <objbase.h>
#include <string>
#include <utility>

namespace win {

template <typename T, typename Closer>
class Owned {
public:
    Owned() = default;
    explicit Owned(T h) : h_(h) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, T{})) {}
    Owned& operator=(Owned&& o) noexcept { if (this != &o) { reset(); h_ = std::exchange(o.h_, T{}); } return *this; }
    void reset(T h = T{}) { if (valid()) Closer{}(h_); h_ = h; }
    T get() const { return h_; }
    T* put() { reset(); return &h_; }
    T release() { return std::exchange(h_, T{}); }
    bool valid() const { return h_ != T{} && h_ != reinterpret_cast<T>(INVALID_HANDLE_VALUE); }
    explicit operator bool() const { return valid(); }
private:
    T h_{};
};

struct CloseHandleFn { void operator()(HANDLE h) const { CloseHandle(h); } };
struct RegCloseFn { void operator()(HKEY k) const { RegCloseKey(k); } };
struct DeleteObjectFn { void operator()(HGDIOBJ o) const { DeleteObject(o); } };
struct DestroyIconFn { void operator()(HICON i) const { DestroyIcon(i); } };
struct FreeLibraryFn { void operator()(HMODULE m) const { FreeLibrary(m); } };

using Handle = Owned<HANDLE, CloseHandleFn>;
using RegKey = Owned<HKEY, RegCloseFn>;
using Font = Owned<HFONT, DeleteObjectFn>;
using Brush = Owned<HBRUSH, DeleteObjectFn>;
using Bitmap = Owned<HBITMAP, DeleteObjectFn>;
using Icon = Owned<HICON, DestroyIconFn>;
using Library = Owned<HMODULE, FreeLibraryFn>;

// A COM interface pointer that releases itself.
template <typename I>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { if (p_) p_->Release(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    I* operator->() const { return p_; }
    I* get() const { return p_; }
    I** put() { if (p_) p_->Release(); p_ = nullptr; return &p_; }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    explicit operator bool() const { return p_ != nullptr; }
private:
    I* p_ = nullptr;
};

// COM for the lifetime of a scope (apartment-threaded, as the UI thread needs).
class ComScope {
public:
    ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() { if (ok_) CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
private:
    bool ok_;
};

// The device context of a window (nullptr = the screen), released at scope end.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() { ReleaseDC(hwnd_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
private:
    HWND hwnd_;
    HDC dc_;
};

// Full path of the running executable.
std::wstring ModulePath();
// Folder of the running executable, always ending in "\".
std::wstring ModuleDir();
// Text of a window (control caption, edit contents).
std::wstring WindowText(HWND hwnd);
// Appends "\" when the text does not end in one.
std::wstring WithBackslash(std::wstring path);
// Two paths name the same file as the file system compares names: letter
// case does not count.
bool SamePath(const std::wstring& a, const std::wstring& b);
// Lets the window system deliver queued messages before going on. A request
// to quit is kept for the main loop; false once one has come.
bool DoEvents();
// A request to quit has come while events were let through: waits end at once.
bool QuitRequested();
// The system's own text for an error code, in English or German where the
// system has that language, else in its own.
std::wstring SystemErrorText(DWORD code, bool english);

}  // namespace win

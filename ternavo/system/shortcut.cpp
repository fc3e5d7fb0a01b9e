#include "ternavo/system/shortcut.h"
#include <objidl.h>
#include <shobjidl.h>
#include "common/winutil.h"

HRESULT CreateShortcut(const std::wstring& target, const std::wstring& link, const std::wstring& workingDir) {
    win::ComScope com;
    win::ComPtr<IShellLinkW> shortcut;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  shortcut.put_void());
    if (FAILED(hr)) return hr;
    if (FAILED(hr = shortcut->SetPath(target.c_str()))) return hr;
    if (FAILED(hr = shortcut->SetIconLocation(target.c_str(), 0))) return hr;
    if (FAILED(hr = shortcut->SetWorkingDirectory(workingDir.c_str()))) return hr;
    win::ComPtr<IPersistFile> file;
    if (FAILED(hr = shortcut->QueryInterface(IID_IPersistFile, file.put_void()))) return hr;
    return file->Save(link.c_str(), TRUE);
}

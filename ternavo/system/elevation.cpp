#include "ternavo/system/elevation.h"
#include <shellapi.h>
#include "common/winutil.h"

namespace {

// Waits for `process` and lets the window system deliver messages meanwhile.
// A request to quit ends the delivery; the wait goes on without it.
void WaitDelivering(HANDLE process) {
    bool quit = false;
    int quitCode = 0;
    while (!quit) {
        DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1) break;  // ended, or the wait itself failed
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    WaitForSingleObject(process, INFINITE);
    if (quit) PostQuitMessage(quitCode);
}

}  // namespace

WorkerRun RunWorkerAsAdministrator(HWND owner, const std::wstring& arguments) {
    WorkerRun run;
    std::wstring exe = win::ModulePath();
    std::wstring dir = win::ModuleDir();
    SHELLEXECUTEINFOW info{sizeof(info)};
    // The process handle tells the end and the exit code; a failure is told
    // to the caller, not shown by the shell.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"runas";
    info.lpFile = exe.c_str();
    info.lpParameters = arguments.c_str();
    info.lpDirectory = dir.c_str();
    info.nShow = SW_HIDE;  // the worker shows no window
    {
        win::ComScope com;  // the shell may hand the start to an extension that wants COM
        if (!ShellExecuteExW(&info)) {
            run.startError = GetLastError();
            if (run.startError == ERROR_SUCCESS) run.startError = ERROR_GEN_FAILURE;
            return run;
        }
    }
    win::Handle process(info.hProcess);
    if (!process) {  // started through something that gives no process to wait for
        run.startError = ERROR_INVALID_HANDLE;
        return run;
    }
    WaitDelivering(process.get());
    if (!GetExitCodeProcess(process.get(), &run.exitCode)) run.exitCode = 1;
    return run;
}

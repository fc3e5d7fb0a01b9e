#pragma once
// Running Ternavo's worker "as administrator" while the window stays usable.
#include <windows.h>
#include <string>

struct WorkerRun {
    DWORD startError = ERROR_SUCCESS;  // ERROR_CANCELLED: the user declined the prompt
    DWORD exitCode = 0;                // the worker's, once it ended
};
// Starts this program with `arguments` "as administrator" (the system asks
// the user first) and waits for its end. Meanwhile the window's messages are
// delivered, so it repaints and stays usable; a request to quit that comes
// meanwhile is kept for the main loop.
WorkerRun RunWorkerAsAdministrator(HWND owner, const std::wstring& arguments);

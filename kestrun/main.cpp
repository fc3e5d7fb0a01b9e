// Kestrun.exe: each run starts one more ICQ 7 instance from the folder it lives in.
#include <windows.h>
#include "common/dll_search.h"
#include "common/layout.h"
#include "kestrun/launcher.h"
#include "kestrun/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LimitLibrarySearchToSystemFolder();
    StartUp();
    int code = RunMessageLoop();
    // A launch whose follow-up was cut short by a request to quit still
    // records its number, renames its copy back and deletes the marker.
    FinishLaunch();
    return code;
}

// Kestrun catches no exceptions: the library's error paths (a string grown
// past its limit, an index out of range) end the program at once, as an
// uncaught exception would. Defined here, in the executable only, they keep the
// exception classes and their narrow-string machinery (about 50 KiB) out of it.
#include <cstdlib>
namespace std {
void __throw_bad_cast() { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_bad_exception() { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std

// Linked into each executable: the programs never print a C++ terminate message,
// and leaving out the default handler keeps the symbol demangler out of the
// binaries (tens of kilobytes that a small starter does not need).
#include <windows.h>
#include <cstdint>
#include <cstdlib>
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}

// The stack protector's guard and failure routine. The compiler's own library
// for them seeds the guard through advapi32's crypto service, a library
// Kestrun does not otherwise load at start; the guard is seeded here from the
// values that differ per process and per start (time, counters, ids, the
// randomised stack address), before any protected function runs.
#ifndef __SSP_STRONG__
#error "the programs are compiled with -fstack-protector-strong"
#endif
extern "C" {
uintptr_t __stack_chk_guard = static_cast<uintptr_t>(0x2B992DDFA232ULL);

// A smashed stack ends the process at once, with the status Windows uses for it.
[[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), 0xC0000409);  // STATUS_STACK_BUFFER_OVERRUN
    for (;;) {}
}
}

__attribute__((constructor(101), no_stack_protector)) static void SeedStackGuard() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    uintptr_t seed = now.dwLowDateTime ^ (static_cast<uint64_t>(now.dwHighDateTime) << 24);
    seed ^= static_cast<uintptr_t>(counter.QuadPart) ^ (static_cast<uintptr_t>(GetCurrentProcessId()) << 8);
    seed ^= (static_cast<uintptr_t>(GetCurrentThreadId()) << 16) ^ GetTickCount();
    seed ^= reinterpret_cast<uintptr_t>(&seed);
    if (seed) __stack_chk_guard = seed;
}

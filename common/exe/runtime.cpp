// Linked into each executable: the programs never print a C++ terminate message,
// and leaving out the default handler keeps the symbol demangler out of the
// binaries (tens of kilobytes that a small starter does not need).
#include <cstdlib>
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}

// The library's error paths (a string grown past its limit, an index out of
// range, memory exhausted) end the program at once, as an uncaught exception
// would. Defining them here keeps the exception classes and their narrow-string
// machinery (about 50 KiB) out of the programs, which never catch them.
namespace std {
void __throw_bad_cast() { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_bad_exception() { std::abort(); }
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

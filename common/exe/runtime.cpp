// Linked into each executable: the programs never print a C++ terminate message,
// and leaving out the default handler keeps the symbol demangler out of the
// binaries (tens of kilobytes that a small starter does not need).
#include <cstdlib>
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}

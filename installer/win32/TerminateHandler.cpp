// Every failure is caught in wWinMain, so the library's verbose terminate
// handler never runs; replacing it keeps its name demangler (about 60 KB of
// code and unwind tables) out of the exe.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

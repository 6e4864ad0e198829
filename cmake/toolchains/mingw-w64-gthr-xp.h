// Forced into every C++ file of the win32-threads build (mingw-w64-i686-xp.cmake).
// From GCC 13 on, that runtime's libstdc++ is built for Windows Vista, and its
// thread header offers the condition variable type only when _WIN32_WINNT says
// Vista; under our 0x0501 the C++20 headers that use it (<memory> through
// atomic waits) do not compile, and they would disagree with the library about
// its own types. The header declares nothing of Windows' own (libstdc++ hides
// the Windows API from it), so it alone sees the value the library was built
// with; everything else keeps XP's. What the programs then import is judged by
// tests/win32/xp-imports.sh.
#include <stdlib.h>
#include <sys/timeb.h>
#pragma push_macro("_WIN32_WINNT")
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <bits/gthr.h>
#pragma pop_macro("_WIN32_WINNT")

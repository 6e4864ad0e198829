// Whether the tests run under Wine, which mishandles some of what the
// programs rely on; the programs themselves never ask.
#pragma once

#include <windows.h>

inline bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

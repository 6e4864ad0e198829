// The processor time this process has used, user and system, in seconds.
// One file per platform: process_cpu_posix.cpp, process_cpu_win32.cpp.
#pragma once

double ProcessCpuSeconds();

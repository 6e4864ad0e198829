// The headless platform's windows: records only, nothing on any display.
#pragma once

#include "demo/runtime/runtime.h"

void StartWindowSupport();
void StopWindowSupport();
// The number of the live window with this handle, or -1.
int WindowNumberOf(WindowHandle handle);

// EGL's error codes in words, for the messages of a failed context set-up.
#pragma once

#include <string>

// "EGL_BAD_ALLOC: ..." for a known code, the number in hex otherwise.
std::string EglErrorText(int code);

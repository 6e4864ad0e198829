// wobblet on Windows. No arguments. Whoever started it by a double click sees
// no standard error: when the window goes because its screen is lost for
// good, a box says why.
#include <windows.h>

#include <string>

#include "demo/Wobblet.h"

namespace {

void ShowReason(const char* reason) {
    const std::string text = std::string("Wobblet has stopped: ") + reason + ".";
    MessageBoxA(nullptr, text.c_str(), "Wobblet", MB_OK | MB_ICONERROR);
}

}  // namespace

int main() {
    return RunWobblet("wobblet", ShowReason);
}

// wobblet: the jelly cube in its window. No arguments.
#include "demo/Wobblet.h"

int main() {
    return RunWobblet("wobblet");
}

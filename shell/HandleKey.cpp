#include <limits>

#include "shell/App.h"

void HandleKey(char character) {
    switch (character) {
        case '+':
            // No upper limit but the int's own: one more would be undefined.
            if (warpIndex != std::numeric_limits<int>::max()) {
                ++warpIndex;  // the warp used is the index modulo 4
            }
            break;
        case '-':
            if (warpIndex != 0) {
                --warpIndex;
            }
            break;
        case '<':
            theScene.ZoomBy(1.1111111111111112);  // the double nearest 1 / 0.9
            break;
        case '>':
            theScene.ZoomBy(0.9);
            break;
        case 'g':
        case 'G':
            theScene.ToggleTumble();
            break;
        case 'q':
        case 'Q':
            OnClose();  // exactly as the close box
            break;
        case 's':
        case 'S':
            spinOn = !spinOn;
            break;
        case 'w':
        case 'W':
            warpOn = !warpOn;
            break;
        case 'x':
            theScene.Rotate(4.0, 0.0, 0.0);
            break;
        case 'X':
            theScene.Rotate(-4.0, 0.0, 0.0);
            break;
        case 'y':
            theScene.Rotate(0.0, 4.0, 0.0);
            break;
        case 'Y':
            theScene.Rotate(0.0, -4.0, 0.0);
            break;
        case 'z':
            theScene.Rotate(0.0, 0.0, 4.0);
            break;
        case 'Z':
            theScene.Rotate(0.0, 0.0, -4.0);
            break;
        default:
            break;  // everything else, 'p' included, does nothing
    }
}

#include "shell/App.h"

#include "model/Warps.h"
#include "shell/Platform.h"

// One translation unit, so the construction order is the order written here.
CubeMesh theMesh;
Scene theScene;
DrawGL theDrawGL;

unsigned char warpOn = 0;
unsigned char spinOn = 0;
int warpIndex = 0;
double warpTime = 0.0;

// Given by the build (shell/CMakeLists.txt), which names the installed
// desktop entry's window class after it too.
const char* const kWindowTitle = VELMORA_WINDOW_TITLE;

void CenteredWindowOrigin(int screenWidth, int screenHeight, int& x, int& y) {
    x = (screenWidth - kWindowWidth) / 2;
    y = (screenHeight - kWindowHeight) / 2;
}

int InitApp() {
    theDrawGL.Create(kWindowWidth, kWindowHeight);
    theDrawGL.SetMaterial(kFaceFront, 0);
    theDrawGL.SetMaterial(kFaceBack, 11);
    theDrawGL.SetColorMaterial(true);
    theDrawGL.SetSmoothing(true);

    ShowMainWindow();

    theMesh.Create(20);
    warpIndex = 1;
    spinOn = 1;
    warpOn = 1;
    // Each zoom multiplies: 1.0 -> 0.8 -> 0.512 -> 0.2097152.
    for (int k = 0; k < 3; ++k) {
        theScene.ZoomBy(theScene.GetZoom() * 0.8);
    }
    return 1;
}

void AnimateFrame() {
    theScene.Step();
    if (warpOn == 1) {
        WarpMesh(warpTime, &theMesh, warpIndex);
        warpTime += 0.05;
    }
    if (spinOn == 1) {
        theScene.Rotate(4.0, 4.0, 4.0);
    }
}

namespace {

// The colours move on as a drawing of the mesh would have moved them.
void PassOverFrame() {
    theScene.SetMesh(&theMesh);
    theScene.PassOverDraw();
}

}  // namespace

void RenderFrame() {
    // Nearly all of a tick's cost is the drawing, so a window nobody can see
    // is not drawn. AnimateFrame has moved the cube on all the same, and the
    // colours move on here: the first tick it can be seen again draws that
    // tick's picture.
    if (!MainWindowCanBeSeen()) {
        PassOverFrame();
        return;
    }
    int width = 0;
    int height = 0;
    GetClientSize(width, height);
    theDrawGL.StartDraw();
    theScene.SetMesh(&theMesh);
    theScene.Draw(theDrawGL);
    theDrawGL.FinishDraw();
    CopyToWindow(theDrawGL.GetMemoryDC(), width, height);
}

void PassOverTick() {
    AnimateFrame();
    PassOverFrame();
}

#include "bench/velmora/BenchApp.h"

#include "shell/App.h"
#include "shell/headless/HeadlessWindow.h"

bool StartOnce() {
    static const bool started = [] {
        OnCreate();
        InitApp();
        return theDrawGL.HasContext();
    }();
    return started;
}

void UseSize(int width, int height) {
    HeadlessSetClientSize(width, height);
    OnSize(width, height);
}

void DrawOnly() {
    theDrawGL.StartDraw();
    theScene.SetMesh(&theMesh);
    theScene.Draw(theDrawGL);
    theDrawGL.FinishDraw();
}

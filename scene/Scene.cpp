#include "scene/Scene.h"

#include <cmath>

void Scene::Rotate(double ax, double ay, double az) {
    orientation.Rotate(ax, ay, az);
}

void Scene::ZoomBy(double factor) {
    // A zoom of 0 or infinity could never be divided out again: the
    // orientation would turn to NaN for good. Such a step is refused.
    const double next = zoom * factor;
    if (!std::isnormal(next) || !std::isnormal(1.0 / next)) {
        return;
    }
    // The rotations and a uniform scale commute, so the old zoom can be
    // divided out and the new one put in.
    const double s = 1.0 / zoom;
    orientation.Scale(s, s, s);
    zoom = zoom * factor;
    orientation.Scale(zoom, zoom, zoom);
}

void Scene::ToggleTumble() {
    tumbleOn = tumbleOn == 1 ? 0 : 1;
}

void Scene::Step() {
    if (tumbleOn != 1) {
        return;
    }
    const double p = tumblePhase;
    const double rx = 10.0 * std::sin(p + 1.2);
    const double ry = 10.0 * std::cos(1.2 * p + 3.0);
    const double rz = 10.0 * std::sin(std::cos(p) / 10.0 + p);
    tumblePhase = p + 0.01;
    if (tumblePhase > 31.41592653589793) {
        tumblePhase -= 31.41592653589793;
    }
    Rotate(rx, ry, rz);
}

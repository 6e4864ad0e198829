// An independent picture of what a frame must cover: the warped mesh
// projected on the CPU with the drawing context's transform and perspective,
// and the measures to compare it with a rendered frame's covered pixels.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <vector>

#include "math/matrix.h"

using Mask = std::vector<bool>;  // one flag a pixel, top row first

// What a frame shows: the mesh's warped points and the scene's orientation.
struct FrameState {
    std::vector<Vector3> points;  // warped points of all six faces
    Matrix4x4 orientation;
};

// The state of theMesh and theScene now.
FrameState CurrentFrameState();
// The pixels of a width x height window that the mesh's quads cover.
Mask ProjectedMask(const FrameState& state, int width, int height);
double IntersectionOverUnion(const Mask& a, const Mask& b);
std::size_t Count(const Mask& mask);
// The mask turned upside down, as a picture read with its rows reversed.
Mask UpsideDown(const Mask& mask, int width, int height);

// Runs the ticks firstTick to lastTick through the core's OnTimer and, for
// the listed ticks, compares frameMask() (the covered pixels of the frame
// just drawn, window-sized) with the projection: intersection over union at
// least threshold, while the projection of the tick before and the frame
// turned upside down must score below it, so that a late, flipped or black
// frame cannot pass.
void CompareFrames(int firstTick, int lastTick, std::initializer_list<int> checked,
                   const std::function<Mask()>& frameMask, double threshold);

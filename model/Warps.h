// The four warps that deform the cube, and the table that picks one by index.
#pragma once

#include "model/CubeMesh.h"

// Maps value linearly from [inLow, inHigh] onto [outLow, outHigh]; no clamping.
double RemapRange(double inLow, double inHigh, double outLow, double outHigh, double value);

Vector3 WobbleWarp(const Vector3& p, double t);
Vector3 TwistWarp(const Vector3& p, double t);
Vector3 BulgeWarp(const Vector3& p, double t);

// WobbleWarp, TwistWarp, WobbleWarp, BulgeWarp, then a null end marker.
extern const WarpFunction warpTable[];

// Warps mesh with entry |warpIndex| mod (number of table entries) at time t.
void WarpMesh(double t, CubeMesh* mesh, int warpIndex);

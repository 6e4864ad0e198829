// The background picture's drawing: white silhouettes on black, 800 x 600.
#pragma once

#include "tools/artwork/Raster.h"

namespace artwork {

inline constexpr int kWidth = 800;
inline constexpr int kHeight = 600;

// A head in profile at the left, facing right.
void DrawHead(Canvas& canvas);
// An open, upturned hand at the lower right.
void DrawHand(Canvas& canvas);

}  // namespace artwork

// FillRect, DrawLine and BlitImage: clipping, then direct writes into the
// current target's pixel buffer (a platform's native output draws itself).
// Coordinates are widened to 64 bits before any arithmetic, so no int
// argument, however close to its limits, can overflow, and every write is
// clipped to the target first. Where an ink map or the screen's records let
// work be skipped, InkCopies and ScreenCopies do it.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/Images.h"
#include "demo/runtime/InkCopies.h"
#include "demo/runtime/PixelRows.h"
#include "demo/runtime/PixelSpans.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/ScreenCopies.h"

namespace {

using i64 = std::int64_t;

// A coordinate kept within int for native drawing.
int Narrow(i64 value) {
    return static_cast<int>(std::clamp<i64>(value, INT_MIN, INT_MAX));
}

// A coordinate with the origin added, kept within int for native drawing.
int Add(int a, int b) {
    return Narrow(i64{a} + b);
}

// The output's ink map when it keeps one (a blank-made image), else null.
InkMap* TrackedInk(const DrawTarget& out) {
    return out.buffer->ink.Tracked() ? &out.buffer->ink : nullptr;
}

// Pixels x0 <= x < x1, y0 <= y < y1 of the target have been drawn over.
void DrawnOver(const DrawTarget& out, i64 x0, i64 y0, i64 x1, i64 y1) {
    if (out.damage != nullptr) {
        ScreenDrawnOver(*out.buffer, *out.damage, x0, y0, x1, y1);
    }
}

// Whether drawing in the current colour can put a byte other than zero
// where all were zero: black copies zeros into the colour channels (a 32-bit
// pixel's alpha is left as it was) and exclusive-or with black changes
// nothing.
bool Inks(const DrawTarget& out) {
    return (out.red | out.green | out.blue) != 0;
}

// b + (edge - a) * s, truncated toward zero. The exact value lies between
// the segment's two end points, so it is within 64-bit range; the clamp only
// keeps a conversion from ever being undefined.
i64 MovedCoordinate(i64 a, i64 b, i64 edge, double s) {
    const double moved = std::trunc(static_cast<double>(b) + static_cast<double>(edge - a) * s);
    return static_cast<i64>(std::clamp(moved, -9.0e18, 9.0e18));
}

// Clips one axis of a segment to 0..limit. a is the coordinate on this axis,
// b the other one. False when both ends lie beyond the same limit.
bool ClipAxis(i64& a1, i64& b1, i64& a2, i64& b2, i64 limit) {
    if ((a1 < 0 && a2 < 0) || (a1 > limit && a2 > limit)) {
        return false;
    }
    const bool inside1 = a1 >= 0 && a1 <= limit;
    const bool inside2 = a2 >= 0 && a2 <= limit;
    if (inside1 && inside2) {
        return true;
    }
    // One end is beyond a limit that the other is not beyond, so a1 != a2.
    // The slope is taken once, from the ends as they are before either moves.
    const double s = static_cast<double>(b2 - b1) / static_cast<double>(a2 - a1);
    if (!inside1) {
        const i64 edge = a1 < 0 ? 0 : limit;
        b1 = MovedCoordinate(a1, b1, edge, s);
        a1 = edge;
    }
    if (!inside2) {
        const i64 edge = a2 < 0 ? 0 : limit;
        b2 = MovedCoordinate(a2, b2, edge, s);
        a2 = edge;
    }
    return true;
}

// Bresenham's line, walked from the end with the smaller main coordinate so
// that a line and its reverse set the same pixels. Both ends are plotted.
template <typename PlotPixel>
void Bresenham(i64 x1, i64 y1, i64 x2, i64 y2, PlotPixel plot) {
    const i64 d = std::abs(x2 - x1);
    const i64 e = std::abs(y2 - y1);
    if (e <= d) {
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const i64 step = y2 > y1 ? 1 : -1;
        i64 error = 2 * e - d;
        i64 x = x1;
        i64 y = y1;
        plot(x, y);
        while (x < x2) {
            ++x;
            if (error < 0) {
                error += 2 * e;
            } else {
                y += step;
                error += 2 * (e - d);
            }
            plot(x, y);
        }
    } else {
        if (y1 > y2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const i64 step = x2 > x1 ? 1 : -1;
        i64 error = 2 * d - e;
        i64 x = x1;
        i64 y = y1;
        plot(x, y);
        while (y < y2) {
            ++y;
            if (error < 0) {
                error += 2 * d;
            } else {
                x += step;
                error += 2 * (d - e);
            }
            plot(x, y);
        }
    }
}

}  // namespace

void FillRect(int xIn, int yIn, int widthIn, int heightIn, Color color) {
    DrawTarget* out = DrawingTarget();
    if (out == nullptr) {
        return;
    }
    SetTargetColor(*out, color);
    i64 x = i64{xIn} + out->originX;
    i64 y = i64{yIn} + out->originY;
    i64 width = widthIn;
    i64 height = heightIn;
    if (width < 0) {
        x += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        height = -height;
    }
    if (out->native) {
        NativeFillRect(*out, Narrow(x), Narrow(y), Narrow(width), Narrow(height));
        return;
    }
    if (x < 0) {
        width += x;
        x = 0;
    }
    if (y < 0) {
        height += y;
        y = 0;
    }
    width = std::min(width, out->clipWidth - x);
    height = std::min(height, out->clipHeight - y);
    if (width <= 0 || height <= 0) {
        return;
    }
    DrawnOver(*out, x, y, x + width, y + height);
    if (InkMap* ink = TrackedInk(*out); ink != nullptr) {
        if (!Inks(*out)) {
            if (!XorMode(*out)) {
                ClearInked(*out, x, y, width, height);
            }
            return;
        }
        ink->Mark(x, y, x + width, y + height);
    }
    HorizontalSpan(*out, x, y, width);
    // In copy mode on a 24-bit buffer every row of the box is the same bytes;
    // a grey one (black clearing a ring slot) is the same byte throughout,
    // written without reading anything back.
    const bool sameRows = !XorMode(*out) && out->buffer->bytesPerPixel == 3;
    if (sameRows && out->blue == out->green && out->green == out->red) {
        for (i64 row = y + 1; row < y + height; ++row) {
            std::memset(PixelAt(*out, x, row), out->blue, static_cast<std::size_t>(width) * 3);
        }
        return;
    }
    const std::uint8_t* first = PixelAt(*out, x, y);
    for (i64 row = y + 1; row < y + height; ++row) {
        if (sameRows) {
            std::memcpy(PixelAt(*out, x, row), first, static_cast<std::size_t>(width) * 3);
        } else {
            HorizontalSpan(*out, x, row, width);
        }
    }
}

void DrawLine(int x1In, int y1In, int x2In, int y2In, Color color) {
    DrawTarget* out = DrawingTarget();
    if (out == nullptr) {
        return;
    }
    SetTargetColor(*out, color);
    if (out->native) {
        NativeDrawLine(*out, Add(x1In, out->originX), Add(y1In, out->originY),
                       Add(x2In, out->originX), Add(y2In, out->originY));
        return;
    }
    const i64 maxX = i64{out->clipWidth} - 1;
    const i64 maxY = i64{out->clipHeight} - 1;
    if (maxX < 0 || maxY < 0) {
        return;
    }
    i64 x1 = i64{x1In} + out->originX;
    i64 y1 = i64{y1In} + out->originY;
    i64 x2 = i64{x2In} + out->originX;
    i64 y2 = i64{y2In} + out->originY;
    InkMap* ink = Inks(*out) ? TrackedInk(*out) : nullptr;
    if (y1 == y2) {
        const i64 left = std::max<i64>(std::min(x1, x2), 0);
        const i64 right = std::min(std::max(x1, x2), maxX);
        if (y1 >= 0 && y1 <= maxY && left <= right) {
            DrawnOver(*out, left, y1, right + 1, y1 + 1);
            if (ink != nullptr) {
                ink->Mark(left, y1, right + 1, y1 + 1);
            }
            HorizontalSpan(*out, left, y1, right - left + 1);
        }
        return;
    }
    if (x1 == x2) {
        const i64 top = std::max<i64>(std::min(y1, y2), 0);
        const i64 bottom = std::min(std::max(y1, y2), maxY);
        if (x1 >= 0 && x1 <= maxX && top <= bottom) {
            DrawnOver(*out, x1, top, x1 + 1, bottom + 1);
            if (ink != nullptr) {
                ink->Mark(x1, top, x1 + 1, bottom + 1);
            }
            VerticalSpan(*out, x1, top, bottom - top + 1);
        }
        return;
    }
    if (!ClipAxis(x1, y1, x2, y2, maxX) || !ClipAxis(y1, x1, y2, x2, maxY)) {
        return;
    }
    // The clipped ends lie on the segment, hence inside; this only guards
    // the buffer should rounding ever say otherwise.
    const auto inside = [&](i64 x, i64 y) { return x >= 0 && x <= maxX && y >= 0 && y <= maxY; };
    if (!inside(x1, y1) || !inside(x2, y2)) {
        return;
    }
    DrawnOver(*out, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1);
    // Each pixel is marked in the ink map when there is one; the test is made
    // once a line, not once a pixel.
    const PixelPlotter plot(*out);
    if (ink != nullptr) {
        const InkMap::PixelPen pen = ink->Pen();
        Bresenham(x1, y1, x2, y2, [&](i64 x, i64 y) {
            plot(x, y);
            pen.Mark(x, y);
        });
    } else {
        Bresenham(x1, y1, x2, y2, plot);
    }
}

void BlitImage(ImageHandle image, int x, int y) {
    DrawTarget* out = DrawingTarget();
    if (out == nullptr || !IsLiveImage(image)) {
        return;
    }
    if (out->native) {
        NativeBlitImage(*out, *image, Add(x, out->originX), Add(y, out->originY));
        return;
    }
    PixelBuffer& dst = *out->buffer;
    const i64 left = i64{x} + out->originX;
    const i64 top = i64{y} + out->originY;
    const i64 x0 = std::max<i64>(left, 0);
    const i64 y0 = std::max<i64>(top, 0);
    const i64 x1 = std::min<i64>(left + image->width, out->clipWidth);
    const i64 y1 = std::min<i64>(top + image->height, out->clipHeight);
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    const int sbpp = image->bytesPerPixel;
    const int dbpp = dst.bytesPerPixel;
    const bool xorMode = XorMode(*out);
    // An image drawn onto itself would read pixels this pass has already
    // written: it draws from a copy of the part it draws, as a block copy
    // between overlapping areas does.
    const PixelBuffer* src = image;
    std::unique_ptr<PixelBuffer> taken;
    if (image == out->buffer) {
        taken = NewUnfilledPixelBuffer(static_cast<int>(x1 - x0), static_cast<int>(y1 - y0),
                                       image->Depth());
        if (!taken) {
            return;
        }
        const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0) * sbpp;
        for (i64 row = y0; row < y1; ++row) {
            std::memcpy(taken->Row(static_cast<int>(row - y0)),
                        image->Row(static_cast<int>(row - top)) + (x0 - left) * sbpp, rowBytes);
        }
        src = taken.get();
    }
    const i64 srcLeft = taken ? x0 : left;
    const i64 srcTop = taken ? y0 : top;
    // The screen's two copies of every frame do only what its records say
    // is left to do, and keep the damage themselves.
    ScreenDamage* damage = out->damage;
    if (damage != nullptr && !xorMode && sbpp == 4 && dbpp == 4) {
        CopyOntoScreen(*src, dst, srcLeft, srcTop, x0, y0, x1, y1, *damage);
        return;
    }
    const bool compositeXor = xorMode && sbpp == 3 && dbpp == 4;
    if (!compositeXor) {
        DrawnOver(*out, x0, y0, x1, y1);
    }
    if (InkMap* ink = TrackedInk(*out); ink != nullptr) {
        if (!xorMode && sbpp == dbpp) {
            CopyByInk(*src, dst, srcLeft, srcTop, x0, y0, x1, y1);
            return;
        }
        ink->Mark(x0, y0, x1, y1);
    }
    if (damage != nullptr && compositeXor) {
        XorOntoScreen(*src, dst, srcLeft, srcTop, x0, y0, x1, y1, *damage);
        return;
    }
    for (i64 row = y0; row < y1; ++row) {
        LayRow(dst.Row(static_cast<int>(row)) + x0 * dbpp, dbpp,
               src->Row(static_cast<int>(row - srcTop)) + (x0 - srcLeft) * sbpp, sbpp, x1 - x0,
               xorMode);
    }
}

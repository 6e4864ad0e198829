// FillRect, DrawLine and BlitImage: direct writes into the current output's
// pixel buffer. Coordinates are widened to 64 bits before any arithmetic, so
// no int argument, however close to its limits, can overflow, and every
// write is clipped to the output first.
#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/Images.h"
#include "demo/runtime/Prefetch.h"

namespace {

using i64 = std::int64_t;

// Byte 3 of a 32-bit pixel read as a little-endian word. The word-wide
// routines below rely on that byte order.
static_assert(std::endian::native == std::endian::little);
constexpr std::uint32_t kAlphaMask = 0xFF000000u;

// A coordinate with the origin added, kept within int for native drawing.
int Add(int a, int b) {
    return static_cast<int>(std::clamp<i64>(i64{a} + b, INT_MIN, INT_MAX));
}

bool XorMode(const DrawTarget& out) {
    return (out.mode & DrawModeXor) != 0;
}

// The output's ink map when it keeps one (a blank-made image), else null.
InkMap* TrackedInk(const DrawTarget& out) {
    return out.buffer->ink.Tracked() ? &out.buffer->ink : nullptr;
}

// Whether drawing in the current colour can leave a byte other than zero:
// black copies zeros and exclusive-or with black changes nothing.
bool Inks(const DrawTarget& out) {
    return (out.red | out.green | out.blue) != 0;
}

std::uint8_t* PixelAt(const DrawTarget& out, i64 x, i64 y) {
    return out.buffer->Row(static_cast<int>(y)) + x * out.buffer->bytesPerPixel;
}

// Colour channels only: a 32-bit buffer keeps its alpha.
void PutPixel(const DrawTarget& out, std::uint8_t* p) {
    if (XorMode(out)) {
        p[0] ^= out.blue;
        p[1] ^= out.green;
        p[2] ^= out.red;
    } else {
        p[0] = out.blue;
        p[1] = out.green;
        p[2] = out.red;
    }
}

// Single pixels in the output's colour and mode, many in a row. Everything
// it needs is copied into it first: the byte stores of one pixel could, as
// far as the compiler knows, change the output's record, which it would
// otherwise read again for the next.
class PixelPlotter {
  public:
    explicit PixelPlotter(const DrawTarget& out)
        : bits(out.buffer->bits.get()),
          stride(out.buffer->stride),
          lastRow(out.buffer->height - 1),
          bottomUp(out.buffer->bottomUp),
          bytesPerPixel(out.buffer->bytesPerPixel),
          exclusiveOr(XorMode(out)),
          colour{out.blue, out.green, out.red} {}

    void operator()(i64 x, i64 y) const {
        std::uint8_t* p = bits + (bottomUp ? lastRow - y : y) * stride + x * bytesPerPixel;
        if (exclusiveOr) {
            p[0] ^= colour[0];
            p[1] ^= colour[1];
            p[2] ^= colour[2];
        } else {
            p[0] = colour[0];
            p[1] = colour[1];
            p[2] = colour[2];
        }
    }

  private:
    std::uint8_t* bits;
    std::ptrdiff_t stride;
    i64 lastRow;
    bool bottomUp;
    int bytesPerPixel;
    bool exclusiveOr;
    std::uint8_t colour[3];
};

// A 32-bit pixel's colour channels replaced, its alpha kept: one word each,
// which the compiler can vectorise, where three byte stores could not be.
// SourceStep is 4 for a 32-bit source, 0 for one colour repeated.
template <int SourceStep>
void CopyColourWords(std::uint8_t* d, const std::uint8_t* s, i64 count) {
    for (i64 i = 0; i < count; ++i, d += 4, s += SourceStep) {
        std::uint32_t from;
        std::uint32_t to;
        std::memcpy(&from, s, 4);
        std::memcpy(&to, d, 4);
        to = (to & kAlphaMask) | (from & ~kAlphaMask);
        std::memcpy(d, &to, 4);
    }
}

// count pixels from (x, y) rightwards; already clipped. Copy-mode spans are
// the bulk of every fill, so they avoid the per-pixel path.
void HorizontalSpan(const DrawTarget& out, i64 x, i64 y, i64 count) {
    std::uint8_t* p = PixelAt(out, x, y);
    const int bpp = out.buffer->bytesPerPixel;
    if (!XorMode(out) && bpp == 4) {
        const std::uint8_t colour[4] = {out.blue, out.green, out.red, 0};
        CopyColourWords<0>(p, colour, count);
        return;
    }
    if (!XorMode(out) && out.blue == out.green && out.green == out.red) {
        std::memset(p, out.blue, static_cast<std::size_t>(count) * 3);
        return;
    }
    for (i64 i = 0; i < count; ++i, p += bpp) {
        PutPixel(out, p);
    }
}

// count pixels from (x, y) downwards; already clipped.
void VerticalSpan(const DrawTarget& out, i64 x, i64 y, i64 count) {
    const PixelPlotter plot(out);
    for (i64 i = 0; i < count; ++i) {
        plot(x, y + i);
    }
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

// Colour channels only, as the screen's copy and exclusive-or do; a source's
// alpha plays no part and a 32-bit target keeps its own.
void CopyRow(std::uint8_t* d, int dbpp, const std::uint8_t* s, int sbpp, i64 count) {
    for (i64 i = 0; i < count; ++i, s += sbpp, d += dbpp) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
    }
}

void XorRow(std::uint8_t* d, int dbpp, const std::uint8_t* s, int sbpp, i64 count) {
    for (i64 i = 0; i < count; ++i, s += sbpp, d += dbpp) {
        d[0] ^= s[0];
        d[1] ^= s[1];
        d[2] ^= s[2];
    }
}

// A 24-bit row laid by exclusive-or over a 32-bit one (the composite over
// the screen), four pixels at a time: twelve source bytes read as three
// words are regrouped into four, so no byte past the row is ever read.
void XorPackedOntoWords(std::uint8_t* d, const std::uint8_t* s, i64 count) {
    i64 i = 0;
    for (; i + 4 <= count; i += 4, s += 12, d += 16) {
        std::uint32_t in[3];
        std::uint32_t out[4];
        std::memcpy(in, s, 12);
        std::memcpy(out, d, 16);
        out[0] ^= in[0] & 0x00FFFFFFu;
        out[1] ^= (in[0] >> 24) | ((in[1] & 0xFFFFu) << 8);
        out[2] ^= (in[1] >> 16) | ((in[2] & 0xFFu) << 16);
        out[3] ^= in[2] >> 8;
        std::memcpy(d, out, 16);
    }
    XorRow(d, 4, s, 3, count - i);
}

// A 32-bit row copied onto a 32-bit row as CopyColourWords<4> does, but only
// where the colours differ, and what changed is recorded in damage (the
// screen's background is the same bytes nearly everywhere, frame after frame).
// Blocks of 16 pixels are compared whole, which the compiler vectorises.
void CopyChangedWords(std::uint8_t* d, const std::uint8_t* s, i64 count, i64 x, i64 y,
                      ScreenDamage& damage) {
    constexpr i64 kBlock = 16;
    i64 first = -1;
    i64 last = -1;
    i64 b = 0;
    // Two pixels a word.
    const auto differs = [&](i64 from, i64 n) {
        std::uint64_t diff = 0;
        i64 i = from;
        for (; i + 2 <= from + n; i += 2) {
            std::uint64_t a;
            std::uint64_t c;
            std::memcpy(&a, s + 4 * i, 8);
            std::memcpy(&c, d + 4 * i, 8);
            diff |= a ^ c;
        }
        if (i < from + n) {
            std::uint32_t a;
            std::uint32_t c;
            std::memcpy(&a, s + 4 * i, 4);
            std::memcpy(&c, d + 4 * i, 4);
            diff |= a ^ c;
        }
        constexpr std::uint64_t kColours = ~(std::uint64_t{kAlphaMask} << 32 | kAlphaMask);
        return (diff & kColours) != 0;
    };
    for (; b + kBlock <= count; b += kBlock) {
        if (differs(b, kBlock)) {
            first = first < 0 ? b : first;
            last = b + kBlock;
        }
    }
    if (b < count && differs(b, count - b)) {
        first = first < 0 ? b : first;
        last = count;
    }
    if (first >= 0) {
        CopyColourWords<4>(d + 4 * first, s + 4 * first, last - first);
        damage.AddCopied(x + first, y, x + last, y + 1);
    }
}

// The pixels first <= i < last of a 24-bit row outside which every byte is
// zero (first == last when all are): exclusive-or with zero changes nothing,
// so only that part of a composite row needs laying over the screen. Read
// eight bytes at a time from each end; a wire frame's rows are mostly zero.
void NonZeroPixels(const std::uint8_t* s, i64 count, i64& first, i64& last) {
    const i64 bytes = count * 3;
    i64 lo = 0;
    while (lo + 8 <= bytes) {
        std::uint64_t word;
        std::memcpy(&word, s + lo, 8);
        if (word != 0) {
            break;
        }
        lo += 8;
    }
    while (lo < bytes && s[lo] == 0) {
        ++lo;
    }
    if (lo == bytes) {
        first = last = 0;
        return;
    }
    i64 hi = bytes;
    while (hi - 8 >= lo) {
        std::uint64_t word;
        std::memcpy(&word, s + hi - 8, 8);
        if (word != 0) {
            break;
        }
        hi -= 8;
    }
    while (s[hi - 1] == 0) {
        --hi;
    }
    first = lo / 3;
    last = (hi + 2) / 3;
}

// The chunks of covered that a copy-mode write leaves blank where it wrote
// zeros. It replaces red, green and blue only: a 32-bit pixel keeps its
// alpha, which may be other than zero wherever the map has a bit set, so
// there nothing becomes blank.
std::uint64_t LeftBlank(const PixelBuffer& buffer, std::uint64_t covered) {
    return buffer.bytesPerPixel == 3 ? covered : 0;
}

// Black over a box of a tracked image: only the chunks that may hold ink
// need their zeros back.
void ClearInked(const DrawTarget& out, InkMap& ink, i64 x, i64 y, i64 width, i64 height) {
    const std::uint64_t touched = ink.Touching(x, x + width);
    const std::uint64_t blanked = LeftBlank(*out.buffer, ink.Covering(x, x + width));
    for (i64 row = y; row < y + height; ++row) {
        const std::uint64_t before = ink.Row(static_cast<int>(row));
        ForEachRun(before & touched, [&](int first, int end) {
            const i64 from = std::max(ink.ChunkStart(first), x);
            const i64 to = std::min(ink.ChunkEnd(end - 1), x + width);
            if (row + kPrefetchRows < y + height) {
                PrefetchBytes(PixelAt(out, from, row + kPrefetchRows),
                              (to - from) * out.buffer->bytesPerPixel);
            }
            HorizontalSpan(out, from, row, to - from);
        });
        ink.SetRow(static_cast<int>(row), before & ~blanked);
    }
}

// count pixels of the same depth, colour channels only.
void CopyPixels(std::uint8_t* d, const std::uint8_t* s, i64 count, int bytesPerPixel) {
    if (bytesPerPixel == 3) {
        std::memcpy(d, s, static_cast<std::size_t>(count) * 3);
    } else {
        CopyColourWords<4>(d, s, count);
    }
}

// An image copied onto a tracked image of its depth (the image's corner at
// left, top; clipped to x0..x1, y0..y1). Only the chunks where the source
// or the target may hold ink are written, since elsewhere both are zero; the
// target's map then shows the source's ink where the copy covers it (and,
// on a 32-bit target, also the ink it had: its alpha stays).
void CopyByInk(const PixelBuffer& src, const PixelBuffer& dst, InkMap& ink, i64 left, i64 top,
               i64 x0, i64 y0, i64 x1, i64 y1) {
    const int bpp = dst.bytesPerPixel;
    const std::uint64_t touched = ink.Touching(x0, x1);
    const std::uint64_t blanked = LeftBlank(dst, ink.Covering(x0, x1));
    const std::uint64_t sourceColumns = src.ink.Touching(x0 - left, x1 - left);
    for (i64 row = y0; row < y1; ++row) {
        const int sourceRow = static_cast<int>(row - top);
        const std::uint64_t landed =
            ink.Shifted(src.ink, src.ink.Row(sourceRow) & sourceColumns, left, x0, x1);
        const std::uint64_t before = ink.Row(static_cast<int>(row));
        const std::uint8_t* s = src.Row(sourceRow);
        std::uint8_t* d = dst.Row(static_cast<int>(row));
        ForEachRun(landed | (before & touched), [&](int first, int end) {
            const i64 from = std::max(ink.ChunkStart(first), x0);
            const i64 to = std::min(ink.ChunkEnd(end - 1), x1);
            if (row + kPrefetchRows < y1) {
                PrefetchBytes(dst.Row(static_cast<int>(row + kPrefetchRows)) + from * bpp,
                              (to - from) * bpp);
            }
            CopyPixels(d + from * bpp, s + (from - left) * bpp, to - from, bpp);
        });
        ink.SetRow(static_cast<int>(row), (before & ~blanked) | landed);
    }
}

// Row imageY of a 24-bit image laid by exclusive-or over screen row y, the
// image's column 0 at screen column left, clipped to image columns from..to.
// Only the image's inked chunks are read, and of those only the pixels from
// the first that is not zero to the last (exclusive-or with zero changes
// nothing); each part laid is recorded in damage.
void XorRowOntoScreen(std::uint8_t* screenRow, const std::uint8_t* imageRow, const InkMap& ink,
                      int imageY, i64 from, i64 to, i64 left, i64 y, ScreenDamage& damage,
                      const std::uint8_t* screenRowAhead) {
    const std::uint64_t chunks = ink.Row(imageY) & ink.Touching(from, to);
    if (chunks == 0) {
        return;
    }
    const i64 hullFrom = std::max(ink.ChunkStart(std::countr_zero(chunks)), from);
    const i64 hullTo = std::min(ink.ChunkEnd(63 - std::countl_zero(chunks)), to);
    i64 first = 0;
    i64 last = 0;
    NonZeroPixels(imageRow + hullFrom * 3, hullTo - hullFrom, first, last);
    if (first >= last) {
        return;
    }
    first += hullFrom;
    last += hullFrom;
    ForEachRun(chunks, [&](int a, int b) {
        const i64 runFrom = std::max(ink.ChunkStart(a), first);
        const i64 runTo = std::min(ink.ChunkEnd(b - 1), last);
        if (runFrom < runTo) {
            if (screenRowAhead != nullptr) {
                PrefetchBytes(screenRowAhead + (left + runFrom) * 4, (runTo - runFrom) * 4);
            }
            damage.Add(left + runFrom, y, left + runTo, y + 1);
            XorPackedOntoWords(screenRow + (left + runFrom) * 4, imageRow + runFrom * 3,
                               runTo - runFrom);
        }
    });
}

// A 32-bit image copied onto the screen (clipped to columns x0..x1, rows
// y0..y1 of the screen, the image's corner at left, top). Bands of the screen
// that already hold this very copy only get back what was drawn over it;
// elsewhere only pixels that differ are written. Either way the damage
// records exactly what changed.
void CopyOntoScreen(const PixelBuffer& src, const PixelBuffer& dst, i64 left, i64 top, i64 x0,
                    i64 y0, i64 x1, i64 y1, ScreenDamage& damage) {
    const int bandHeight = ScreenDamage::kBandHeight;
    for (i64 band = y0 / bandHeight; band * bandHeight < y1; ++band) {
        const i64 bandTop = band * bandHeight;
        const i64 bandBottom = std::min<i64>(bandTop + bandHeight, damage.Height());
        const i64 rowFirst = std::max(bandTop, y0);
        const i64 rowEnd = std::min(bandBottom, y1);
        const bool whole = rowFirst == bandTop && rowEnd == bandBottom;
        const std::uint64_t* drawn = nullptr;
        const bool known =
            whole && damage.CopyLiesThere(static_cast<int>(band), src.version,
                                          static_cast<int>(left), static_cast<int>(top),
                                          static_cast<int>(x0), static_cast<int>(x1), drawn);
        if (!known) {
            for (i64 row = rowFirst; row < rowEnd; ++row) {
                CopyChangedWords(dst.Row(static_cast<int>(row)) + x0 * 4,
                                 src.Row(static_cast<int>(row - top)) + (x0 - left) * 4, x1 - x0,
                                 x0, row, damage);
            }
        }
        // Each row gets back the columns of the tiles drawn over in it. What
        // was drawn there differs from the copy almost everywhere, so they
        // are copied whole rather than compared first.
        const int tileShift = std::countr_zero(static_cast<unsigned>(damage.TileWidth()));
        for (i64 row = rowFirst; known && row < rowEnd; ++row) {
            ForEachRun(drawn[row - bandTop], [&](int first, int end) {
                const i64 from = std::max(i64{first} << tileShift, x0);
                const i64 to = std::min(i64{end} << tileShift, x1);
                if (from < to) {
                    if (row + kPrefetchRows < y1) {
                        PrefetchBytes(dst.Row(static_cast<int>(row + kPrefetchRows)) + from * 4,
                                      (to - from) * 4);
                        PrefetchBytes(src.Row(static_cast<int>(row + kPrefetchRows - top)) +
                                          (from - left) * 4,
                                      (to - from) * 4);
                    }
                    CopyColourWords<4>(dst.Row(static_cast<int>(row)) + from * 4,
                                       src.Row(static_cast<int>(row - top)) + (from - left) * 4,
                                       to - from);
                    damage.AddCopied(from, row, to, row + 1);
                }
            });
        }
        damage.CopiedOver(static_cast<int>(band), whole, src.version, static_cast<int>(left),
                          static_cast<int>(top), static_cast<int>(x0), static_cast<int>(x1));
    }
}

}  // namespace

void FillRect(int xIn, int yIn, int widthIn, int heightIn, Color color) {
    DrawTarget* out = DrawingTarget();
    if (out == nullptr) {
        return;
    }
    SetTargetColor(*out, color);
    if (out->native != nullptr) {
        out->native->fillRect(*out, Add(xIn, out->originX), Add(yIn, out->originY), widthIn,
                              heightIn);
        return;
    }
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
    if (out->damage != nullptr) {
        out->damage->Add(x, y, x + width, y + height);
    }
    if (InkMap* ink = TrackedInk(*out); ink != nullptr) {
        if (!Inks(*out)) {
            if (!XorMode(*out)) {
                ClearInked(*out, *ink, x, y, width, height);
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
    if (out->native != nullptr) {
        out->native->drawLine(*out, Add(x1In, out->originX), Add(y1In, out->originY),
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
            if (out->damage != nullptr) {
                out->damage->Add(left, y1, right + 1, y1 + 1);
            }
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
            if (out->damage != nullptr) {
                out->damage->Add(x1, top, x1 + 1, bottom + 1);
            }
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
    if (out->damage != nullptr) {
        out->damage->Add(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1,
                         std::max(y1, y2) + 1);
    }
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
    if (out->native != nullptr) {
        out->native->blitImage(*out, *image, Add(x, out->originX), Add(y, out->originY));
        return;
    }
    const PixelBuffer& src = *image;
    const PixelBuffer& dst = *out->buffer;
    const i64 left = i64{x} + out->originX;
    const i64 top = i64{y} + out->originY;
    const i64 x0 = std::max<i64>(left, 0);
    const i64 y0 = std::max<i64>(top, 0);
    const i64 x1 = std::min<i64>(left + src.width, out->clipWidth);
    const i64 y1 = std::min<i64>(top + src.height, out->clipHeight);
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    const i64 count = x1 - x0;
    const int sbpp = src.bytesPerPixel;
    const int dbpp = dst.bytesPerPixel;
    const bool xorMode = XorMode(*out);
    // An image drawn onto itself would read pixels this pass has already
    // written: take the part it draws first, as a block copy between
    // overlapping areas does.
    const std::size_t rowBytes = static_cast<std::size_t>(count) * sbpp;
    std::vector<std::uint8_t> taken;
    if (image == out->buffer) {
        taken.resize(rowBytes * static_cast<std::size_t>(y1 - y0));
        for (i64 row = y0; row < y1; ++row) {
            std::memcpy(taken.data() + static_cast<std::size_t>(row - y0) * rowBytes,
                        src.Row(static_cast<int>(row - top)) + (x0 - left) * sbpp, rowBytes);
        }
    }
    ScreenDamage* damage = out->damage;
    const bool comparedCopy = !xorMode && sbpp == 4 && dbpp == 4 && taken.empty();
    const bool compositeXor = xorMode && sbpp == 3 && dbpp == 4;
    if (damage != nullptr && comparedCopy) {
        CopyOntoScreen(src, dst, left, top, x0, y0, x1, y1, *damage);
        return;
    }
    if (damage != nullptr && !compositeXor) {
        damage->Add(x0, y0, x1, y1);
    }
    if (InkMap* ink = TrackedInk(*out); ink != nullptr) {
        if (!xorMode && sbpp == dbpp && taken.empty()) {
            CopyByInk(src, dst, *ink, left, top, x0, y0, x1, y1);
            return;
        }
        ink->Mark(x0, y0, x1, y1);
    }
    for (i64 row = y0; row < y1; ++row) {
        const std::uint8_t* s = taken.empty()
                                    ? src.Row(static_cast<int>(row - top)) + (x0 - left) * sbpp
                                    : taken.data() + static_cast<std::size_t>(row - y0) * rowBytes;
        std::uint8_t* d = dst.Row(static_cast<int>(row)) + x0 * dbpp;
        if (!xorMode && sbpp == 3 && dbpp == 3) {
            std::memcpy(d, s, rowBytes);
        } else if (comparedCopy) {
            CopyColourWords<4>(d, s, count);
        } else if (compositeXor && damage != nullptr) {
            XorRowOntoScreen(
                dst.Row(static_cast<int>(row)), src.Row(static_cast<int>(row - top)), src.ink,
                static_cast<int>(row - top), x0 - left, x1 - left, left, row, *damage,
                row + kPrefetchRows < y1 ? dst.Row(static_cast<int>(row + kPrefetchRows))
                                         : nullptr);
        } else if (compositeXor) {
            XorPackedOntoWords(d, s, count);
        } else if (xorMode) {
            XorRow(d, dbpp, s, sbpp, count);
        } else {
            CopyRow(d, dbpp, s, sbpp, count);
        }
    }
}

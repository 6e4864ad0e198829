#include "demo/runtime/InkCopies.h"

#include <algorithm>
#include <cstring>

#include "demo/runtime/PixelRows.h"
#include "demo/runtime/PixelSpans.h"
#include "demo/runtime/Prefetch.h"

namespace {

using i64 = std::int64_t;

// The chunks of covered that a copy-mode write leaves blank where it wrote
// zeros. It replaces red, green and blue only: a 32-bit pixel keeps its
// alpha, which may be other than zero wherever the map has a bit set, so
// there nothing becomes blank.
std::uint64_t LeftBlank(const PixelBuffer& buffer, std::uint64_t covered) {
    return buffer.bytesPerPixel == 3 ? covered : 0;
}

}  // namespace

// Only the chunks that may hold ink need their zeros back.
void ClearInked(const DrawTarget& out, i64 x, i64 y, i64 width, i64 height) {
    InkMap& ink = out.buffer->ink;
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

// Only the chunks where the source or the target may hold ink are written,
// since elsewhere both are zero; the target's map then shows the source's
// ink where the copy covers it (and, on a 32-bit target, also the ink it
// had: its alpha stays).
void CopyByInk(const PixelBuffer& src, PixelBuffer& dst, i64 left, i64 top, i64 x0, i64 y0, i64 x1,
               i64 y1) {
    InkMap& ink = dst.ink;
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

// Only the source's inked chunks are read, and the copy learns where its ink
// lies.
void CopyInkedRows(PixelBuffer& copy, const PixelBuffer& src, i64 x, i64 y, i64 left, i64 top,
                   i64 right, i64 bottom) {
    const int bpp = src.bytesPerPixel;
    InkMap& ink = copy.ink;
    const i64 from = left - x;
    const i64 to = right - x;
    const std::uint64_t columns = src.ink.Touching(left, right);
    for (i64 row = top; row < bottom; ++row) {
        const std::uint64_t chunks =
            ink.Shifted(src.ink, src.ink.Row(static_cast<int>(row)) & columns, -x, from, to);
        std::uint8_t* d = copy.Row(static_cast<int>(row - y));
        const std::uint8_t* s = src.Row(static_cast<int>(row));
        ForEachRun(chunks, [&](int first, int end) {
            const i64 a = std::max(ink.ChunkStart(first), from);
            const i64 b = std::min(ink.ChunkEnd(end - 1), to);
            if (row + kPrefetchRows < bottom) {
                PrefetchBytes(src.Row(static_cast<int>(row + kPrefetchRows)) + (a + x) * bpp,
                              (b - a) * bpp);
            }
            std::memcpy(d + a * bpp, s + (a + x) * bpp, static_cast<std::size_t>(b - a) * bpp);
        });
        ink.SetRow(static_cast<int>(row - y), chunks);
    }
}

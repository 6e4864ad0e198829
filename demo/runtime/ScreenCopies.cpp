#include "demo/runtime/ScreenCopies.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "demo/runtime/PixelRows.h"
#include "demo/runtime/Prefetch.h"

namespace {

using i64 = std::int64_t;

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
        damage.Add(x + first, y, x + last, y + 1);
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

// Row imageY of a 24-bit image laid by exclusive-or over screen row y, the
// image's column 0 at screen column left, clipped to image columns from..to.
// Only the image's inked chunks are read, and of those only the pixels from
// the first that is not zero to the last (exclusive-or with zero changes
// nothing); each part laid is recorded as drawn over.
void XorRowOntoScreen(PixelBuffer& screen, const PixelBuffer& image, int imageY, i64 from, i64 to,
                      i64 left, i64 y, ScreenDamage& damage, const std::uint8_t* screenRowAhead) {
    const InkMap& ink = image.ink;
    std::uint8_t* screenRow = screen.Row(static_cast<int>(y));
    const std::uint8_t* imageRow = image.Row(imageY);
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
            ScreenDrawnOver(screen, damage, left + runFrom, y, left + runTo, y + 1);
            XorPackedOntoWords(screenRow + (left + runFrom) * 4, imageRow + runFrom * 3,
                               runTo - runFrom);
        }
    });
}

}  // namespace

// Bands of the screen that already hold this very copy only get back what
// was drawn over it; elsewhere only pixels that differ are written.
void CopyOntoScreen(const PixelBuffer& src, PixelBuffer& dst, i64 left, i64 top, i64 x0, i64 y0,
                    i64 x1, i64 y1, ScreenDamage& damage) {
    RestoreCache& cache = dst.restore;
    cache.Fit(dst.width, dst.height);
    const InkMap& drawn = cache.Drawn();
    const int bandHeight = ScreenDamage::kBandHeight;
    for (i64 band = y0 / bandHeight; band * bandHeight < y1; ++band) {
        const i64 bandTop = band * bandHeight;
        const i64 bandBottom = std::min<i64>(bandTop + bandHeight, dst.height);
        const i64 rowFirst = std::max(bandTop, y0);
        const i64 rowEnd = std::min(bandBottom, y1);
        const bool whole = rowFirst == bandTop && rowEnd == bandBottom;
        const bool known =
            whole && cache.CopyLiesThere(static_cast<int>(band), src.version, left, top, x0, x1);
        if (!known) {
            for (i64 row = rowFirst; row < rowEnd; ++row) {
                CopyChangedWords(dst.Row(static_cast<int>(row)) + x0 * 4,
                                 src.Row(static_cast<int>(row - top)) + (x0 - left) * 4, x1 - x0,
                                 x0, row, damage);
            }
        }
        // Each row gets back the columns of the chunks drawn over in it. What
        // was drawn there differs from the copy almost everywhere, so they
        // are copied whole rather than compared first.
        for (i64 row = rowFirst; known && row < rowEnd; ++row) {
            ForEachRun(drawn.Row(static_cast<int>(row)), [&](int first, int end) {
                const i64 from = std::max(drawn.ChunkStart(first), x0);
                const i64 to = std::min(drawn.ChunkEnd(end - 1), x1);
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
                    damage.Add(from, row, to, row + 1);
                }
            });
        }
        cache.CopiedOver(static_cast<int>(band), whole, src.version, left, top, x0, x1);
    }
}

// Only the image's inked chunks are read (a composite is mostly black).
void XorOntoScreen(const PixelBuffer& src, PixelBuffer& dst, i64 left, i64 top, i64 x0, i64 y0,
                   i64 x1, i64 y1, ScreenDamage& damage) {
    for (i64 row = y0; row < y1; ++row) {
        XorRowOntoScreen(
            dst, src, static_cast<int>(row - top), x0 - left, x1 - left, left, row, damage,
            row + kPrefetchRows < y1 ? dst.Row(static_cast<int>(row + kPrefetchRows)) : nullptr);
    }
}

void ScreenDrawnOver(PixelBuffer& screen, ScreenDamage& damage, i64 x0, i64 y0, i64 x1, i64 y1) {
    damage.Add(x0, y0, x1, y1);
    screen.restore.DrawnOver(x0, y0, x1, y1);
}

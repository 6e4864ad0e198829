// Which parts of an image's rows may hold a byte other than zero. A wire frame
// drawn on black leaves most of every row zero, so clearing such an image,
// copying it and laying it over the screen by exclusive-or only has to touch
// the chunks of columns marked here.
//
// Each row has one bit a chunk of ChunkWidth() columns; a clear bit promises
// that every byte of those pixels is zero, a set bit promises nothing. A map
// that is not tracked (the default) has every bit set: pixels written by a
// decoder, by the platform or by anyone outside the drawing routines are
// never assumed blank. Whoever writes pixels behind the drawing routines'
// back calls MarkAll first.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

// Bits first..last, both included, 0 <= first <= last <= 63.
inline std::uint64_t InkBits(std::int64_t first, std::int64_t last) {
    const std::uint64_t upTo = last == 63 ? ~std::uint64_t{0} : (std::uint64_t{2} << last) - 1;
    return upTo & (~std::uint64_t{0} << first);
}

class InkMap {
  public:
    // The map of an image this wide, not tracked.
    void SetWidth(int width);
    // The image's bytes are all zero: tracked, nothing marked.
    void StartBlank(int height);
    // Anything may be anywhere; the map stops tracking.
    void MarkAll() { rows.clear(); }
    bool Tracked() const { return !rows.empty(); }
    int ChunkWidth() const { return 1 << chunkShift; }

    // The chunks of row y (counted from the top) that may hold ink.
    std::uint64_t Row(int y) const { return rows.empty() ? all : rows[static_cast<unsigned>(y)]; }
    // Row y's chunks are now exactly these; ignored unless tracked.
    void SetRow(int y, std::uint64_t chunks) {
        if (!rows.empty()) {
            rows[static_cast<unsigned>(y)] = chunks & all;
        }
    }
    // Pixels x0 <= x < x1 of rows y0 <= y < y1 may now hold ink. Already
    // clipped to the image.
    void Mark(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    // Marks single pixels of a tracked map, many in a row: held in locals,
    // its pointer need not be read again after each pixel's byte stores,
    // which the compiler must assume could change any memory.
    struct PixelPen {
        std::uint64_t* rows;
        int chunkShift;
        void Mark(std::int64_t x, std::int64_t y) const {
            rows[y] |= std::uint64_t{1} << (x >> chunkShift);
        }
    };
    PixelPen Pen() { return {rows.data(), chunkShift}; }

    // The chunks with at least one column in x0 <= x < x1, and those with
    // every column in it; both ranges within the image.
    std::uint64_t Touching(std::int64_t x0, std::int64_t x1) const {
        if (x0 >= x1) {
            return 0;
        }
        const std::int64_t last = std::min<std::int64_t>((x1 - 1) >> chunkShift, 63);
        return InkBits(std::min<std::int64_t>(x0 >> chunkShift, last), last) & all;
    }
    std::uint64_t Covering(std::int64_t x0, std::int64_t x1) const;
    // The first column of a chunk, and the one past its last (or past the
    // image's last).
    std::int64_t ChunkStart(int chunk) const { return std::int64_t{chunk} << chunkShift; }
    std::int64_t ChunkEnd(int chunk) const {
        return std::min<std::int64_t>(std::int64_t{chunk + 1} << chunkShift, width);
    }

    // The chunks of this map that the columns of source's chunks land on
    // when source column c is placed at column c + shift here, clipped to
    // x0 <= x < x1 of this map.
    std::uint64_t Shifted(const InkMap& source, std::uint64_t sourceChunks, std::int64_t shift,
                          std::int64_t x0, std::int64_t x1) const {
        // Chunks of one width moved by whole chunks (images of one width
        // side by side) land chunk for chunk.
        const std::int64_t mask = (std::int64_t{1} << chunkShift) - 1;
        if (source.chunkShift == chunkShift && (shift & mask) == 0) {
            const std::int64_t by = shift >> chunkShift;
            if (by <= -64 || by >= 64) {
                return 0;
            }
            const std::uint64_t moved = by >= 0 ? sourceChunks << by : sourceChunks >> -by;
            return moved & Touching(x0, x1);
        }
        return ShiftedByColumns(source, sourceChunks, shift, x0, x1);
    }

  private:
    std::uint64_t ShiftedByColumns(const InkMap& source, std::uint64_t sourceChunks,
                                   std::int64_t shift, std::int64_t x0, std::int64_t x1) const;

    int width = 0;
    // Chunks are 1 << chunkShift columns wide (a power of two, so no
    // division), and at most 64 across, so a row's chunks fit one word.
    int chunkShift = 4;
    std::uint64_t all = ~std::uint64_t{0};
    std::vector<std::uint64_t> rows;
};

// Calls f(first, end) for each run of set bits first <= bit < end in chunks,
// left to right.
template <typename F>
void ForEachRun(std::uint64_t chunks, F&& f) {
    int bit = 0;
    while (chunks != 0) {
        const int skip = std::countr_zero(chunks);
        chunks >>= skip;
        bit += skip;
        const int run = std::countr_one(chunks);
        f(bit, bit + run);
        chunks = run == 64 ? 0 : chunks >> run;
        bit += run;
    }
}

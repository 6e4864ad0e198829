#include "demo/runtime/InkMap.h"

#include <algorithm>

void InkMap::SetWidth(int imageWidth) {
    width = std::max(imageWidth, 0);
    chunkShift = 4;
    while ((std::int64_t{64} << chunkShift) < width) {
        ++chunkShift;
    }
    const int chunks =
        std::max(1, static_cast<int>((std::int64_t{width} + ChunkWidth() - 1) >> chunkShift));
    all = chunks == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << chunks) - 1;
    rows.clear();
}

void InkMap::StartBlank(int height) {
    rows.assign(static_cast<std::size_t>(std::max(height, 0)), 0);
}

void InkMap::Mark(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    if (rows.empty() || x0 >= x1) {
        return;
    }
    const std::uint64_t chunks = Touching(x0, x1);
    for (std::int64_t y = y0; y < y1; ++y) {
        rows[static_cast<std::size_t>(y)] |= chunks;
    }
}

std::uint64_t InkMap::Covering(std::int64_t x0, std::int64_t x1) const {
    // A chunk is covered when its first column is at or after x0 and its
    // end at or before x1; the image's last chunk ends at the image's edge.
    const std::int64_t first = (x0 + ChunkWidth() - 1) >> chunkShift;
    const std::int64_t end = x1 >= width ? 64 : x1 >> chunkShift;
    if (first >= std::min<std::int64_t>(end, 64)) {
        return 0;
    }
    return InkBits(first, std::min<std::int64_t>(end, 64) - 1) & all;
}

std::uint64_t InkMap::ShiftedByColumns(const InkMap& source, std::uint64_t sourceChunks,
                                       std::int64_t shift, std::int64_t x0, std::int64_t x1) const {
    std::uint64_t chunks = 0;
    ForEachRun(sourceChunks, [&](int first, int end) {
        const std::int64_t from = std::max(source.ChunkStart(first) + shift, x0);
        const std::int64_t to = std::min(source.ChunkEnd(end - 1) + shift, x1);
        chunks |= Touching(from, to);
    });
    return chunks;
}

// What a buffer's bands of rows were last covered with by one whole image
// copy, and which chunks of columns of each row have been drawn over since.
// Copying the same, unchanged image to the same place again then only has to
// put back what was drawn over it: a background laid under every frame costs
// what the frame drew on it, not the whole screen twice over in memory
// traffic. The screen's back buffer uses it; a buffer nobody copies a whole
// band onto keeps it empty.
#pragma once

#include <cstdint>
#include <vector>

#include "demo/runtime/InkMap.h"
#include "demo/runtime/ScreenDamage.h"

class RestoreCache {
  public:
    // Sized to a buffer of width x height the first time; nothing is known.
    void Fit(int width, int height);
    // Pixels x0 <= x < x1, y0 <= y < y1 have been drawn over; clipped to the
    // buffer.
    void DrawnOver(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    // About to copy columns x0 <= x < x1 of the source buffer with version
    // source, placed with its left top corner at (left, top), over all rows
    // of band (bands of ScreenDamage::kBandHeight rows). True when that copy
    // already lies there; then only the chunks of Drawn() set in each of the
    // band's rows may have changed since.
    bool CopyLiesThere(int band, std::uint64_t source, std::int64_t left, std::int64_t top,
                       std::int64_t x0, std::int64_t x1) const;
    const InkMap& Drawn() const { return drawn; }
    // After the copy: over the whole band, or (whole false) over part of it.
    void CopiedOver(int band, bool whole, std::uint64_t source, std::int64_t left, std::int64_t top,
                    std::int64_t x0, std::int64_t x1);

  private:
    struct Copy {
        std::uint64_t source = 0;  // 0: no copy known
        std::int64_t left = 0;
        std::int64_t top = 0;
        std::int64_t x0 = 0;
        std::int64_t x1 = 0;
    };
    int width = 0;
    int height = 0;
    std::vector<Copy> copies;
    // The lines of a wire frame cross a row in a few places, not from end to
    // end: an ink map's chunks say where.
    InkMap drawn;
};

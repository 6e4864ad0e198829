// Which parts of a screen's back buffer have changed since it was last
// presented, so that presenting sends the display only those. The drawing
// routines report what they change on a screen output; the platform's
// PresentScreen takes the rectangles. Kept per band of rows, each band with
// the left and right end of what changed in it: a handful of rectangles a
// frame, whatever is drawn.
//
// Each band also remembers the last image copied over the whole of it, and
// each row which tiles of it have been drawn over since. Copying the same, unchanged image
// to the same place again then only has to restore what was drawn over it:
// a background laid under every frame costs what the frame drew on it, not
// the whole screen twice over in memory traffic.
#pragma once

#include <cstdint>
#include <vector>

struct DamageRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class ScreenDamage {
  public:
    static constexpr int kBandHeight = 8;

    // A screen of this size that has never been presented: all of it.
    void Reset(int width, int height);
    // Pixels x0 <= x < x1, y0 <= y < y1 have changed; clipped to the screen.
    void Add(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    // The same for pixels changed by a copy that CopiedOver describes.
    void AddCopied(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);

    // About to copy columns x0 <= x < x1 of the source buffer with version
    // source, placed with its left top corner at (left, top), over all rows of
    // band. True when that copy already lies there; then in the band's row i
    // only the columns of the tiles set in drawn[i] (tile t: TileWidth() * t
    // <= x < TileWidth() * (t + 1)) may have been drawn over since.
    bool CopyLiesThere(int band, std::uint64_t source, int left, int top, int x0, int x1,
                       const std::uint64_t*& drawn) const;
    int TileWidth() const { return 1 << tileShift; }
    // After the copy: over the whole band, or (whole false) over part of it.
    void CopiedOver(int band, bool whole, std::uint64_t source, int left, int top, int x0, int x1);
    int Width() const { return width; }
    int Height() const { return height; }
    // Everything, as when the window was uncovered or the display lost it.
    void AddAll() { Add(0, 0, width, height); }
    bool Empty() const { return !any; }
    // The changed parts as rectangles, top to bottom, that cover every changed
    // pixel; bands whose spans overlap are joined into one rectangle. The
    // damage is cleared.
    void Take(std::vector<DamageRect>& rects);

  private:
    // Cuts a rectangle to the screen; false when nothing is left.
    bool Clip(std::int64_t& x0, std::int64_t& y0, std::int64_t& x1, std::int64_t& y1) const;

    int width = 0;
    int height = 0;
    bool any = false;
    // Per band; left >= right when nothing in the band changed.
    std::vector<int> left;
    std::vector<int> right;

    struct Copy {
        std::uint64_t source = 0;  // 0: no copy known
        int left = 0;
        int top = 0;
        int x0 = 0;
        int x1 = 0;
    };
    // Tiles are 1 << tileShift columns wide: a power of two, so finding a
    // column's tile is a shift, not a division.
    int tileShift = 4;
    std::vector<Copy> copies;
    // Per row, one bit a tile of columns drawn over since the band's copy:
    // the lines of a wire frame cross a row in a few places, not from end to
    // end.
    std::vector<std::uint64_t> drawnRows;
};

// The bytes a presentation of these rectangles hands on, at 4 bytes a pixel.
std::int64_t DamageBytes(const std::vector<DamageRect>& rects);

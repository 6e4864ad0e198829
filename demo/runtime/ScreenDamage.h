// Which parts of a screen's back buffer have changed since it was last
// presented, so that presenting sends the display only those. The drawing
// routines report what they change on a screen output; PresentScreen takes
// the rectangles. Kept per band of rows, each band with the left and right
// end of what changed in it: a handful of rectangles a frame, whatever is
// drawn.
#pragma once

#include <cstdint>
#include <vector>

struct DamageRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const DamageRect&) const = default;
};

class ScreenDamage {
  public:
    // The screen's records are kept per band of this many rows: this damage,
    // and which image copy lies where (RestoreCache). Thin bands send little
    // a frame did not change; each band more is another span to keep and
    // join.
    static constexpr int kBandHeight = 8;

    // A screen of this size that has never been presented: all of it.
    void Reset(int width, int height);
    // Pixels x0 <= x < x1, y0 <= y < y1 have changed; clipped to the screen.
    void Add(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    int Width() const { return width; }
    int Height() const { return height; }
    // Everything, as when the window was uncovered or the display lost it.
    void AddAll() { Add(0, 0, width, height); }
    bool Empty() const { return !any; }
    // The changed parts as rectangles, top to bottom, that cover every changed
    // pixel; bands whose spans overlap are joined into one rectangle. The
    // damage is cleared.
    void TakeJoined(std::vector<DamageRect>& rects);
    // The changed parts as one rectangle a band, top to bottom: for copying,
    // where another rectangle costs nothing and the corners that joining
    // bands adds would only be copied for nothing. The damage is cleared.
    void TakeBands(std::vector<DamageRect>& rects);

  private:
    // Cuts a rectangle to the screen; false when nothing is left.
    bool Clip(std::int64_t& x0, std::int64_t& y0, std::int64_t& x1, std::int64_t& y1) const;

    int width = 0;
    int height = 0;
    bool any = false;
    // Per band; left >= right when nothing in the band changed.
    std::vector<int> left;
    std::vector<int> right;
};

// The bytes a presentation of these rectangles hands on, at 4 bytes a pixel.
std::int64_t DamageBytes(const std::vector<DamageRect>& rects);

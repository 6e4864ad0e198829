// A small anti-aliased filler for closed outlines made of lines and cubic
// curves: enough to draw smooth solid silhouettes.
#pragma once

#include <cstdint>
#include <vector>

namespace artwork {

struct Point {
    double x = 0;
    double y = 0;
};

// One closed outline. Curves are flattened finely enough that no facet is
// visible at the picture's size.
class Outline {
  public:
    explicit Outline(Point start);
    Outline& LineTo(Point p);
    Outline& CurveTo(Point c1, Point c2, Point end);
    const std::vector<Point>& Points() const { return points_; }

  private:
    std::vector<Point> points_;
};

// The outline of a stroke along a cubic curve, its width changing evenly from
// one end to the other, with round ends: a finger, a thumb.
Outline Stroke(Point start, Point c1, Point c2, Point end, double startWidth, double endWidth);

// A grey picture into which outlines are filled (white) or cut out (black),
// in the order the calls are made. Coverage is computed on sub-rows with exact
// horizontal spans, so edges come out smooth.
class Canvas {
  public:
    Canvas(int width, int height);
    void Fill(const Outline& outline);
    void Cut(const Outline& outline);
    // Grey levels 0..255, top row first.
    std::vector<std::uint8_t> Grey() const;
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    struct Span {
        double from;
        double to;
    };
    using Spans = std::vector<Span>;

    Spans SpansOf(const Outline& outline, double y) const;
    void Apply(const Outline& outline, bool fill);

    int width_;
    int height_;
    // Inside spans of every sub-row, built up outline by outline.
    std::vector<Spans> rows_;
};

}  // namespace artwork

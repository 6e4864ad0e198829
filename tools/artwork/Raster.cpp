#include "tools/artwork/Raster.h"

#include <algorithm>
#include <cmath>

namespace artwork {

namespace {

constexpr int kSubRows = 16;
constexpr int kCurveSegments = 48;

// Spans as sorted, disjoint intervals; these combine two such lists.
std::vector<std::pair<double, int>> Edges(const std::vector<std::pair<double, double>>& a,
                                          const std::vector<std::pair<double, double>>& b) {
    std::vector<std::pair<double, int>> edges;
    for (const auto& s : a) {
        edges.push_back({s.first, 1});
        edges.push_back({s.second, -1});
    }
    for (const auto& s : b) {
        edges.push_back({s.first, 2});
        edges.push_back({s.second, -2});
    }
    std::sort(edges.begin(), edges.end());
    return edges;
}

}  // namespace

Outline::Outline(Point start) {
    points_.push_back(start);
}

Outline& Outline::LineTo(Point p) {
    points_.push_back(p);
    return *this;
}

Outline& Outline::CurveTo(Point c1, Point c2, Point end) {
    const Point p0 = points_.back();
    for (int i = 1; i <= kCurveSegments; ++i) {
        const double t = static_cast<double>(i) / kCurveSegments;
        const double u = 1 - t;
        const double a = u * u * u;
        const double b = 3 * u * u * t;
        const double c = 3 * u * t * t;
        const double d = t * t * t;
        points_.push_back({a * p0.x + b * c1.x + c * c2.x + d * end.x,
                           a * p0.y + b * c1.y + c * c2.y + d * end.y});
    }
    return *this;
}

Outline Stroke(Point start, Point c1, Point c2, Point end, double startWidth, double endWidth) {
    constexpr int kSteps = 64;
    constexpr int kCapSteps = 24;
    constexpr double kPi = 3.14159265358979323846;
    std::vector<Point> centre;
    std::vector<Point> normal;
    std::vector<double> halfWidth;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps;
        const double u = 1 - t;
        centre.push_back(
            {u * u * u * start.x + 3 * u * u * t * c1.x + 3 * u * t * t * c2.x + t * t * t * end.x,
             u * u * u * start.y + 3 * u * u * t * c1.y + 3 * u * t * t * c2.y +
                 t * t * t * end.y});
        // The derivative gives the direction; its normal points left of it.
        const double dx =
            3 * u * u * (c1.x - start.x) + 6 * u * t * (c2.x - c1.x) + 3 * t * t * (end.x - c2.x);
        const double dy =
            3 * u * u * (c1.y - start.y) + 6 * u * t * (c2.y - c1.y) + 3 * t * t * (end.y - c2.y);
        // Where a control point sits on its end point the derivative
        // vanishes there; the chord still gives the direction.
        double ux = dx;
        double uy = dy;
        if (std::hypot(ux, uy) == 0) {
            ux = end.x - start.x;
            uy = end.y - start.y;
        }
        const double length = std::hypot(ux, uy) > 0 ? std::hypot(ux, uy) : 1.0;
        normal.push_back({-uy / length, ux / length});
        halfWidth.push_back((startWidth + (endWidth - startWidth) * t) / 2);
    }
    auto offset = [&](int i, double side) {
        return Point{centre[i].x + side * halfWidth[i] * normal[i].x,
                     centre[i].y + side * halfWidth[i] * normal[i].y};
    };
    auto cap = [&](int i, double side) {
        // Half a circle from the right side (side = -1) or left side round
        // the end to the other side.
        const double base = std::atan2(side * normal[i].y, side * normal[i].x);
        std::vector<Point> arc;
        for (int k = 1; k < kCapSteps; ++k) {
            const double a = base - kPi * k / kCapSteps;
            arc.push_back({centre[i].x + halfWidth[i] * std::cos(a),
                           centre[i].y + halfWidth[i] * std::sin(a)});
        }
        return arc;
    };
    Outline outline(offset(0, 1));
    for (int i = 1; i <= kSteps; ++i) {
        outline.LineTo(offset(i, 1));
    }
    for (const Point& p : cap(kSteps, 1)) {
        outline.LineTo(p);
    }
    for (int i = kSteps; i >= 0; --i) {
        outline.LineTo(offset(i, -1));
    }
    for (const Point& p : cap(0, -1)) {
        outline.LineTo(p);
    }
    return outline;
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), rows_(static_cast<std::size_t>(height) * kSubRows) {}

Canvas::Spans Canvas::SpansOf(const Outline& outline, double y) const {
    // Non-zero winding over the closed polygon.
    std::vector<std::pair<double, int>> crossings;
    const std::vector<Point>& p = outline.Points();
    const std::size_t n = p.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point& a = p[i];
        const Point& b = p[(i + 1) % n];
        if ((a.y <= y) == (b.y <= y)) {
            continue;
        }
        const double x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
        crossings.push_back({x, b.y > a.y ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end());
    Spans spans;
    int winding = 0;
    for (const auto& [x, direction] : crossings) {
        const int before = winding;
        winding += direction;
        if (before == 0 && winding != 0) {
            spans.push_back({x, x});
        } else if (before != 0 && winding == 0) {
            spans.back().to = x;
        }
    }
    return spans;
}

void Canvas::Apply(const Outline& outline, bool fill) {
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const double y = (static_cast<double>(r) + 0.5) / kSubRows;
        const Spans shape = SpansOf(outline, y);
        if (shape.empty()) {
            continue;
        }
        std::vector<std::pair<double, double>> a;
        std::vector<std::pair<double, double>> b;
        for (const Span& s : rows_[r]) {
            a.push_back({s.from, s.to});
        }
        for (const Span& s : shape) {
            b.push_back({s.from, s.to});
        }
        // Walk the sorted edges, tracking which of the two lists we are in.
        Spans result;
        bool inA = false;
        bool inB = false;
        bool inside = false;
        for (const auto& [x, what] : Edges(a, b)) {
            if (what == 1 || what == -1) {
                inA = what > 0;
            } else {
                inB = what > 0;
            }
            const bool now = fill ? (inA || inB) : (inA && !inB);
            if (now && !inside) {
                result.push_back({x, x});
            } else if (!now && inside) {
                result.back().to = x;
            }
            inside = now;
        }
        std::erase_if(result, [](const Span& s) { return s.to <= s.from; });
        rows_[r] = std::move(result);
    }
}

void Canvas::Fill(const Outline& outline) {
    Apply(outline, true);
}

void Canvas::Cut(const Outline& outline) {
    Apply(outline, false);
}

std::vector<std::uint8_t> Canvas::Grey() const {
    std::vector<double> coverage(static_cast<std::size_t>(width_) * height_, 0.0);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        double* row = coverage.data() + (r / kSubRows) * width_;
        for (const Span& s : rows_[r]) {
            const double from = std::clamp(s.from, 0.0, static_cast<double>(width_));
            const double to = std::clamp(s.to, 0.0, static_cast<double>(width_));
            if (to <= from) {
                continue;
            }
            const int first = static_cast<int>(from);
            const int last = std::min(static_cast<int>(to), width_ - 1);
            if (first == last) {
                row[first] += (to - from) / kSubRows;
                continue;
            }
            row[first] += (first + 1 - from) / kSubRows;
            for (int x = first + 1; x < last; ++x) {
                row[x] += 1.0 / kSubRows;
            }
            row[last] += (to - last) / kSubRows;
        }
    }
    std::vector<std::uint8_t> grey(coverage.size());
    for (std::size_t i = 0; i < coverage.size(); ++i) {
        grey[i] = static_cast<std::uint8_t>(std::lround(std::clamp(coverage[i], 0.0, 1.0) * 255));
    }
    return grey;
}

}  // namespace artwork

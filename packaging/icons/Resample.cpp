#include "packaging/icons/Resample.h"

#include <algorithm>
#include <cmath>

namespace icons {

namespace {

// How much of source pixel k lies under [from, to) in source coordinates.
double Overlap(int k, double from, double to) {
    return std::max(0.0, std::min<double>(k + 1, to) - std::max<double>(k, from));
}

}  // namespace

Rgba ResampleSquare(const Rgba& source, int size) {
    Rgba out{size, size, std::vector<std::uint32_t>(static_cast<std::size_t>(size) * size)};
    const double sx = static_cast<double>(source.width) / size;
    const double sy = static_cast<double>(source.height) / size;
    for (int y = 0; y < size; ++y) {
        const double top = y * sy;
        const double bottom = (y + 1) * sy;
        for (int x = 0; x < size; ++x) {
            const double left = x * sx;
            const double right = (x + 1) * sx;
            double sum[4] = {0, 0, 0, 0};  // alpha-weighted red, green, blue; alpha
            const int lastRow =
                std::min(source.height - 1, static_cast<int>(std::ceil(bottom)) - 1);
            const int lastColumn =
                std::min(source.width - 1, static_cast<int>(std::ceil(right)) - 1);
            for (int v = static_cast<int>(top); v <= lastRow; ++v) {
                const double wy = Overlap(v, top, bottom);
                for (int u = static_cast<int>(left); u <= lastColumn; ++u) {
                    const double w = wy * Overlap(u, left, right);
                    const std::uint32_t p =
                        source.pixels[static_cast<std::size_t>(v) * source.width + u];
                    const double alpha = (p >> 24) / 255.0;
                    sum[0] += w * alpha * ((p >> 16) & 255);
                    sum[1] += w * alpha * ((p >> 8) & 255);
                    sum[2] += w * alpha * (p & 255);
                    sum[3] += w * alpha;
                }
            }
            const double area = sx * sy;
            std::uint32_t pixel = 0;
            if (sum[3] > 0) {
                auto channel = [&](double v) {
                    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0)));
                };
                pixel = channel(255 * sum[3] / area) << 24 | channel(sum[0] / sum[3]) << 16 |
                        channel(sum[1] / sum[3]) << 8 | channel(sum[2] / sum[3]);
            }
            out.pixels[static_cast<std::size_t>(y) * size + x] = pixel;
        }
    }
    return out;
}

}  // namespace icons

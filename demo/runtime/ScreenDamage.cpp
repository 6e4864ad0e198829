#include "demo/runtime/ScreenDamage.h"

#include <algorithm>

void ScreenDamage::Reset(int screenWidth, int screenHeight) {
    width = std::max(screenWidth, 0);
    height = std::max(screenHeight, 0);
    const int bands = (height + kBandHeight - 1) / kBandHeight;
    left.assign(static_cast<std::size_t>(bands), 0);
    right.assign(static_cast<std::size_t>(bands), 0);
    any = false;
    AddAll();
}

bool ScreenDamage::Clip(std::int64_t& x0, std::int64_t& y0, std::int64_t& x1,
                        std::int64_t& y1) const {
    x0 = std::max<std::int64_t>(x0, 0);
    y0 = std::max<std::int64_t>(y0, 0);
    x1 = std::min<std::int64_t>(x1, width);
    y1 = std::min<std::int64_t>(y1, height);
    return x0 < x1 && y0 < y1;
}

void ScreenDamage::Add(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    if (!Clip(x0, y0, x1, y1)) {
        return;
    }
    const int first = static_cast<int>(y0 / kBandHeight);
    const int last = static_cast<int>((y1 - 1) / kBandHeight);
    for (int band = first; band <= last; ++band) {
        int& l = left[static_cast<std::size_t>(band)];
        int& r = right[static_cast<std::size_t>(band)];
        if (l >= r) {
            l = static_cast<int>(x0);
            r = static_cast<int>(x1);
        } else {
            l = std::min(l, static_cast<int>(x0));
            r = std::max(r, static_cast<int>(x1));
        }
    }
    any = true;
}

void ScreenDamage::TakeJoined(std::vector<DamageRect>& rects) {
    rects.clear();
    if (!any) {
        return;
    }
    DamageRect open;
    bool isOpen = false;
    for (std::size_t band = 0; band < left.size(); ++band) {
        const int l = left[band];
        const int r = right[band];
        left[band] = right[band] = 0;
        if (l >= r) {
            if (isOpen) {
                rects.push_back(open);
                isOpen = false;
            }
            continue;
        }
        const int top = static_cast<int>(band) * kBandHeight;
        const int bottom = std::min(top + kBandHeight, height);
        // Bands side by side rather than over each other stay apart: joined
        // they would send the gap between them too.
        if (isOpen && l < open.x + open.width && r > open.x) {
            const int joinedLeft = std::min(open.x, l);
            const int joinedRight = std::max(open.x + open.width, r);
            open.x = joinedLeft;
            open.width = joinedRight - joinedLeft;
            open.height = bottom - open.y;
            continue;
        }
        if (isOpen) {
            rects.push_back(open);
        }
        open = DamageRect{l, top, r - l, bottom - top};
        isOpen = true;
    }
    if (isOpen) {
        rects.push_back(open);
    }
    any = false;
}

void ScreenDamage::TakeBands(std::vector<DamageRect>& rects) {
    rects.clear();
    if (!any) {
        return;
    }
    for (std::size_t band = 0; band < left.size(); ++band) {
        const int l = left[band];
        const int r = right[band];
        left[band] = right[band] = 0;
        if (l < r) {
            const int top = static_cast<int>(band) * kBandHeight;
            rects.push_back(DamageRect{l, top, r - l, std::min(top + kBandHeight, height) - top});
        }
    }
    any = false;
}

std::int64_t DamageBytes(const std::vector<DamageRect>& rects) {
    std::int64_t bytes = 0;
    for (const DamageRect& rect : rects) {
        bytes += std::int64_t{rect.width} * rect.height * 4;
    }
    return bytes;
}

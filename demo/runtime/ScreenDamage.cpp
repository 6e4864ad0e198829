#include "demo/runtime/ScreenDamage.h"

#include <algorithm>

void ScreenDamage::Reset(int screenWidth, int screenHeight) {
    width = std::max(screenWidth, 0);
    height = std::max(screenHeight, 0);
    const int bands = (height + kBandHeight - 1) / kBandHeight;
    left.assign(static_cast<std::size_t>(bands), 0);
    right.assign(static_cast<std::size_t>(bands), 0);
    copies.assign(static_cast<std::size_t>(bands), Copy{});
    drawnRows.assign(static_cast<std::size_t>(height), 0);
    // At most 64 tiles across, so a band's tiles fit one word.
    tileShift = 4;
    while ((64 << tileShift) < width) {
        ++tileShift;
    }
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
    AddCopied(x0, y0, x1, y1);
    if (!Clip(x0, y0, x1, y1)) {
        return;
    }
    const std::int64_t firstTile = x0 >> tileShift;
    const std::int64_t lastTile = (x1 - 1) >> tileShift;
    const std::uint64_t tiles =
        (lastTile - firstTile == 63 ? ~std::uint64_t{0}
                                    : (std::uint64_t{1} << (lastTile - firstTile + 1)) - 1)
        << firstTile;
    for (std::int64_t y = y0; y < y1; ++y) {
        drawnRows[static_cast<std::size_t>(y)] |= tiles;
    }
}

bool ScreenDamage::CopyLiesThere(int band, std::uint64_t source, int left, int top, int x0, int x1,
                                 const std::uint64_t*& drawn) const {
    if (band < 0 || band >= static_cast<int>(copies.size())) {
        return false;
    }
    const Copy& copy = copies[static_cast<std::size_t>(band)];
    if (copy.source == 0 || copy.source != source || copy.left != left || copy.top != top ||
        x0 < copy.x0 || x1 > copy.x1) {
        return false;
    }
    drawn = drawnRows.data() + static_cast<std::size_t>(band) * kBandHeight;
    return true;
}

void ScreenDamage::CopiedOver(int band, bool whole, std::uint64_t source, int left, int top, int x0,
                              int x1) {
    if (band < 0 || band >= static_cast<int>(copies.size())) {
        return;
    }
    Copy& copy = copies[static_cast<std::size_t>(band)];
    if (!whole) {
        // Part of the band now holds something else: nothing is known.
        copy = Copy{};
        return;
    }
    // Nothing drawn over it yet: the copy has just put its own pixels back.
    copy = Copy{source, left, top, x0, x1};
    const int firstRow = band * kBandHeight;
    std::fill(drawnRows.begin() + firstRow,
              drawnRows.begin() + std::min(firstRow + kBandHeight, height), 0);
}

void ScreenDamage::AddCopied(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
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

void ScreenDamage::Take(std::vector<DamageRect>& rects) {
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

std::int64_t DamageBytes(const std::vector<DamageRect>& rects) {
    std::int64_t bytes = 0;
    for (const DamageRect& rect : rects) {
        bytes += std::int64_t{rect.width} * rect.height * 4;
    }
    return bytes;
}

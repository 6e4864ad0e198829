#include "demo/runtime/PixelRows.h"

namespace {

void CopyRow(std::uint8_t* d, int dbpp, const std::uint8_t* s, int sbpp, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i, s += sbpp, d += dbpp) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
    }
}

void XorRow(std::uint8_t* d, int dbpp, const std::uint8_t* s, int sbpp, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i, s += sbpp, d += dbpp) {
        d[0] ^= s[0];
        d[1] ^= s[1];
        d[2] ^= s[2];
    }
}

}  // namespace

void CopyPixels(std::uint8_t* d, const std::uint8_t* s, std::int64_t count, int bytesPerPixel) {
    if (bytesPerPixel == 3) {
        std::memcpy(d, s, static_cast<std::size_t>(count) * 3);
    } else {
        CopyColourWords<4>(d, s, count);
    }
}

// Twelve source bytes read as three words are regrouped into four, so no
// byte past the row is ever read.
void XorPackedOntoWords(std::uint8_t* d, const std::uint8_t* s, std::int64_t count) {
    std::int64_t i = 0;
    for (; i + 4 <= count; i += 4, s += 12, d += 16) {
        std::uint32_t in[3];
        std::uint32_t out[4];
        std::memcpy(in, s, 12);
        std::memcpy(out, d, 16);
        out[0] ^= in[0] & 0x00FFFFFFu;
        out[1] ^= (in[0] >> 24) | ((in[1] & 0xFFFFu) << 8);
        out[2] ^= (in[1] >> 16) | ((in[2] & 0xFFu) << 16);
        out[3] ^= in[2] >> 8;
        std::memcpy(d, out, 16);
    }
    XorRow(d, 4, s, 3, count - i);
}

void LayRow(std::uint8_t* d, int dbpp, const std::uint8_t* s, int sbpp, std::int64_t count,
            bool exclusiveOr) {
    if (exclusiveOr && sbpp == 3 && dbpp == 4) {
        XorPackedOntoWords(d, s, count);
    } else if (exclusiveOr) {
        XorRow(d, dbpp, s, sbpp, count);
    } else if (sbpp == dbpp) {
        CopyPixels(d, s, count, dbpp);
    } else {
        CopyRow(d, dbpp, s, sbpp, count);
    }
}

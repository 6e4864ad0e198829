// Rows of pixels copied or laid by exclusive-or onto other rows: the inner
// loops every image copy ends in, whatever decided which rows to touch.
// Colour channels only, as the screen's copy and exclusive-or do: a source's
// alpha plays no part and a 32-bit target keeps its own.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Byte 3 of a 32-bit pixel read as a little-endian word. The word-wide
// routines rely on that byte order.
static_assert(std::endian::native == std::endian::little);
inline constexpr std::uint32_t kAlphaMask = 0xFF000000u;

// A 32-bit pixel's colour channels replaced, its alpha kept: one word each,
// which the compiler can vectorise, where three byte stores could not be.
// SourceStep is 4 for a 32-bit source, 0 for one colour repeated.
template <int SourceStep>
void CopyColourWords(std::uint8_t* d, const std::uint8_t* s, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i, d += 4, s += SourceStep) {
        std::uint32_t from;
        std::uint32_t to;
        std::memcpy(&from, s, 4);
        std::memcpy(&to, d, 4);
        to = (to & kAlphaMask) | (from & ~kAlphaMask);
        std::memcpy(d, &to, 4);
    }
}

// count pixels of the same depth (3 or 4 bytes), colour channels only.
void CopyPixels(std::uint8_t* d, const std::uint8_t* s, std::int64_t count, int bytesPerPixel);

// A 24-bit row laid by exclusive-or over a 32-bit one (the composite over
// the screen), four pixels at a time.
void XorPackedOntoWords(std::uint8_t* d, const std::uint8_t* s, std::int64_t count);

// count pixels of any depths (s advances sbpp bytes a pixel, d dbpp) copied
// or, with exclusiveOr, laid by exclusive-or: the fastest way for the pair.
void LayRow(std::uint8_t* d, int dbpp, const std::uint8_t* s, int sbpp, std::int64_t count,
            bool exclusiveOr);

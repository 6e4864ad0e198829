// Asking for memory ahead of use. A frame touches a few short pieces of each
// row of its images and screen, last touched a frame ago and too scattered
// for the processor to foresee; a line drawn across them moves little from
// one row to the next, so while a row's pieces are worked on, the same
// columns a few rows further are asked for.
#pragma once

#include <cstdint>

// How many rows ahead.
inline constexpr int kPrefetchRows = 4;

// The cache lines holding bytes p .. p + bytes - 1.
inline void PrefetchBytes(const std::uint8_t* p, std::int64_t bytes) {
    constexpr std::int64_t kLine = 64;
    for (std::int64_t i = 0; i < bytes; i += kLine) {
        __builtin_prefetch(p + i);
    }
    if (bytes > 0) {
        __builtin_prefetch(p + bytes - 1);
    }
}

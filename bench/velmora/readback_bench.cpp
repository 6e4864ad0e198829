// Ways of getting a finished frame out of OpenGL into the bitmap's layout
// (blue-green-red, top row first, rows padded to 4 bytes), measured on a
// frame that is already rendered (glFinish before the clock starts), so only
// the read-back and the rearranging are timed. Which one is fastest depends
// on the driver's colour buffer format and its fast paths; this is how the
// one in render/ReadBack.cpp was chosen.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/velmora/BenchApp.h"
#include "shell/App.h"

#ifndef GL_PACK_INVERT_MESA
#define GL_PACK_INVERT_MESA 0x8758
#endif

namespace {

struct Buffers {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<std::uint8_t> bitmap;   // the destination, top row first
    std::vector<std::uint8_t> scratch;  // whatever the method reads into first
};

Buffers FrameAt(benchmark::State& state) {
    Buffers b;
    b.width = static_cast<int>(state.range(0));
    b.height = static_cast<int>(state.range(1));
    b.stride = (b.width * 3 + 3) / 4 * 4;
    b.bitmap.assign(static_cast<std::size_t>(b.stride) * b.height, 0);
    b.scratch.assign(static_cast<std::size_t>(b.width) * 4 * b.height, 0);
    UseSize(b.width, b.height);
    DrawOnly();
    glFinish();
    return b;
}

// What FinishDraw did at first: BGR into a bottom-up scratch, rows turned over
// with one memcpy each.
void ReadBgrThenFlip(Buffers& b) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, b.width, b.height, GL_BGR, GL_UNSIGNED_BYTE, b.scratch.data());
    for (int y = 0; y < b.height; ++y) {
        std::memcpy(&b.bitmap[static_cast<std::size_t>(y) * b.stride],
                    &b.scratch[static_cast<std::size_t>(b.height - 1 - y) * b.stride], b.stride);
    }
}

// BGR straight into the bitmap, the driver writing the rows top-down.
void ReadBgrInverted(Buffers& b) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
    glReadPixels(0, 0, b.width, b.height, GL_BGR, GL_UNSIGNED_BYTE, b.bitmap.data());
    glPixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
}

// 32-bit pixels in the given order, then packed to 24 bits while turning
// the rows over, by a loop built for the x86-64 baseline (no byte shuffle).
// blueFirst says whether byte 0 of a pixel is blue.
void ReadFourBytesThenPack(Buffers& b, GLenum format, bool blueFirst) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, b.width, b.height, format, GL_UNSIGNED_BYTE, b.scratch.data());
    const int blue = blueFirst ? 0 : 2;
    const int red = 2 - blue;
    for (int y = 0; y < b.height; ++y) {
        const std::uint8_t* in =
            &b.scratch[static_cast<std::size_t>(b.height - 1 - y) * b.width * 4];
        std::uint8_t* out = &b.bitmap[static_cast<std::size_t>(y) * b.stride];
        for (int x = 0; x < b.width; ++x, in += 4, out += 3) {
            out[0] = in[blue];
            out[1] = in[1];
            out[2] = in[red];
        }
    }
}

// RGBA alone, with nothing rearranged: the floor any method that asks the
// driver for the colour buffer's own layout stands on.
void ReadRgbaOnly(Buffers& b) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, b.width, b.height, GL_RGBA, GL_UNSIGNED_BYTE, b.scratch.data());
}

// One glReadPixels per row, each straight into its place in the bitmap.
void ReadRowByRow(Buffers& b) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    for (int y = 0; y < b.height; ++y) {
        glReadPixels(0, b.height - 1 - y, b.width, 1, GL_BGR, GL_UNSIGNED_BYTE,
                     &b.bitmap[static_cast<std::size_t>(y) * b.stride]);
    }
}

template <typename Method>
void Run(benchmark::State& state, Method method) {
    if (!StartOnce()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    Buffers b = FrameAt(state);
    for (auto _ : state) {
        method(b);
        benchmark::DoNotOptimize(b.bitmap.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * b.stride * b.height);
}

void BM_ReadBgrThenFlip(benchmark::State& state) {
    Run(state, ReadBgrThenFlip);
}
void BM_ReadBgrInverted(benchmark::State& state) {
    Run(state, ReadBgrInverted);
}
void BM_ReadRgbaThenPackBaseline(benchmark::State& state) {
    Run(state, [](Buffers& b) { ReadFourBytesThenPack(b, GL_RGBA, false); });
}
void BM_ReadBgraThenPackBaseline(benchmark::State& state) {
    Run(state, [](Buffers& b) { ReadFourBytesThenPack(b, GL_BGRA, true); });
}
void BM_ReadRgbaOnly(benchmark::State& state) {
    Run(state, ReadRgbaOnly);
}
void BM_ReadRowByRow(benchmark::State& state) {
    Run(state, ReadRowByRow);
}

// What the tick pays: FinishDraw on a frame already finished, which reads
// RGBA and packs it with a loop that has an SSSE3 clone.
void BM_FinishDraw(benchmark::State& state) {
    if (!StartOnce()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    Buffers b = FrameAt(state);
    for (auto _ : state) {
        theDrawGL.FinishDraw();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * b.stride * b.height);
}

#define SIZES ->Args({300, 200})->Args({1280, 720})->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_ReadBgrThenFlip) SIZES;
BENCHMARK(BM_ReadBgrInverted) SIZES;
BENCHMARK(BM_ReadRgbaThenPackBaseline) SIZES;
BENCHMARK(BM_ReadBgraThenPackBaseline) SIZES;
BENCHMARK(BM_ReadRowByRow) SIZES;
BENCHMARK(BM_ReadRgbaOnly) SIZES;
BENCHMARK(BM_FinishDraw) SIZES;
#undef SIZES

}  // namespace

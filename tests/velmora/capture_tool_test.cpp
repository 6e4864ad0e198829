// velmora-capture as a user runs it: files written, keys fed before their
// tick, quitting early, bad arguments and a machine without OpenGL.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/png/png_file.h"
#include "tools/webp/webp_animation.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string err;
};

class CaptureTool : public testing::Test {
  protected:
    void SetUp() override {
        dir = fs::path(testing::TempDir()) /
              ("velmora_capture_" +
               std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
    }
    void TearDown() override {
        fs::remove_all(dir);
        fs::remove(dir.string() + ".stderr.txt");
    }

    ToolRun Capture(const std::string& arguments, const std::string& environment = "") {
        // One file a test: ctest runs the tests of this file side by side.
        const fs::path errFile = dir.string() + ".stderr.txt";
        const std::string command =
            environment + " " VELMORA_CAPTURE " " + arguments + " >/dev/null 2>" + errFile.string();
        const int raw = std::system(command.c_str());
        ToolRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        std::ifstream in(errFile);
        std::stringstream text;
        text << in.rdbuf();
        run.err = text.str();
        return run;
    }

    std::string Out() const { return "--out " + dir.string(); }

    static int Covered(const png_file::Picture& picture) {
        int covered = 0;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const std::uint8_t* p = picture.Row(y) + x * 3;
                covered += p[0] + p[1] + p[2] > 0;
            }
        }
        return covered;
    }

    fs::path dir;
};

TEST_F(CaptureTool, WritesEveryKthTickAtTheGivenSize) {
    const ToolRun run = Capture("--ticks 5 --every 2 --size 200x120 " + Out());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "frame_0002.png"));
    EXPECT_TRUE(fs::exists(dir / "frame_0004.png"));
    EXPECT_FALSE(fs::exists(dir / "frame_0001.png"));
    EXPECT_FALSE(fs::exists(dir / "frame_0005.png"));
    png_file::Picture picture;
    ASSERT_TRUE(png_file::Read((dir / "frame_0004.png").string(), png_file::Layout::kRgb, picture));
    EXPECT_EQ(picture.width, 200);
    EXPECT_EQ(picture.height, 120);
    // The cube in the middle, background in the corners.
    EXPECT_GT(Covered(picture), 200 * 120 / 20);
    const std::uint8_t* corner = picture.Row(0);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 0);
}

TEST_F(CaptureTool, KeysAreTypedJustBeforeTheirTick) {
    ASSERT_EQ(Capture("--ticks 1 " + Out()).status, 0);
    png_file::Picture plain;
    ASSERT_TRUE(png_file::Read((dir / "frame_0001.png").string(), png_file::Layout::kRgb, plain));
    // Five > before the first tick shrink that very frame to 0.9^5 of the
    // size, about 0.35 of the area.
    ASSERT_EQ(Capture("--ticks 1 --keys '1:>>>,1:>>' " + Out()).status, 0);
    png_file::Picture shrunk;
    ASSERT_TRUE(png_file::Read((dir / "frame_0001.png").string(), png_file::Layout::kRgb, shrunk));
    const double ratio = static_cast<double>(Covered(shrunk)) / Covered(plain);
    EXPECT_NEAR(ratio, 0.59049 * 0.59049, 0.05);
}

TEST_F(CaptureTool, QuitKeyEndsTheRunLikeTheCloseBox) {
    const ToolRun run = Capture("--ticks 5 --keys 3:xq " + Out());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "frame_0002.png"));
    EXPECT_FALSE(fs::exists(dir / "frame_0003.png"));
    EXPECT_NE(run.err.find("quit before tick 3"), std::string::npos) << run.err;
}

TEST_F(CaptureTool, BadArgumentsAreRefusedWithAReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "--ticks is required"},
        {"--ticks 3", "--out or --animation is required"},
        {"--ticks 3 --animation", "--animation needs a value"},
        {"--ticks 0 --out x", "--ticks needs"},
        {"--ticks -2 --out x", "--ticks needs"},
        {"--ticks 3x --out x", "--ticks needs"},
        {"--ticks 99999999999 --out x", "--ticks needs"},
        {"--ticks 3 --size 300 --out x", "--size needs"},
        {"--ticks 3 --size 0x200 --out x", "--size needs"},
        {"--ticks 3 --size 300x-2 --out x", "--size needs"},
        {"--ticks 3 --every 0 --out x", "--every needs"},
        {"--ticks 3 --keys 2 --out x", "--keys"},
        {"--ticks 3 --keys 0:g --out x", "--keys"},
        {"--ticks 3 --keys 2: --out x", "no characters"},
        {"--ticks 3 --keys 4:g --out x", "after the last tick"},
        {"--ticks 3 --frobnicate 1 --out x", "unknown option"},
        {"--ticks 3 --out", "--out needs a value"},
    };
    for (const auto& [arguments, reason] : cases) {
        const ToolRun run = Capture(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find(reason), std::string::npos) << arguments << "\n" << run.err;
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << arguments;
    }
    EXPECT_FALSE(fs::exists("x"));
    EXPECT_EQ(Capture("--help").status, 0);
}

// Peak signal to noise ratio of an RGBA frame against an RGB picture, in dB.
double Psnr(const std::vector<std::uint8_t>& rgba, const png_file::Picture& rgb) {
    double squares = 0;
    const std::size_t pixels = static_cast<std::size_t>(rgb.width) * rgb.height;
    for (std::size_t p = 0; p < pixels; ++p) {
        for (int c = 0; c < 3; ++c) {
            const double d = static_cast<double>(rgba[p * 4 + c]) - rgb.pixels[p * 3 + c];
            squares += d * d;
        }
    }
    const double mean = squares / (3.0 * pixels);
    return mean == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mean);
}

TEST_F(CaptureTool, TheAnimationHoldsTheKeptTicksWithinLossyTolerance) {
    const fs::path webp = dir / "velmora.webp";
    const ToolRun run = Capture("--ticks 12 --every 3 " + Out() + " --animation " + webp.string());
    ASSERT_EQ(run.status, 0) << run.err;
    int width = 0;
    int height = 0;
    int endMs = 0;
    std::vector<webp_animation::Frame> frames;
    std::string error;
    ASSERT_TRUE(webp_animation::Read(webp.string(), width, height, frames, endMs, &error)) << error;
    ASSERT_EQ(width, 300);
    ASSERT_EQ(height, 200);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(endMs, 4 * 60);
    std::vector<png_file::Picture> pngs(4);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(frames[n].startMs, n * 60);
        char name[32];
        std::snprintf(name, sizeof name, "frame_%04d.png", 3 * n + 3);
        ASSERT_TRUE(png_file::Read((dir / name).string(), png_file::Layout::kRgb, pngs[n], &error))
            << error;
    }
    // Lossy, but close to its own tick, and closer to it than to the ticks
    // either side: the frames are the right ones in the right order.
    for (int n = 0; n < 4; ++n) {
        const double own = Psnr(frames[n].rgba, pngs[n]);
        EXPECT_GT(own, 32.0) << "tick " << 3 * n + 3;
        for (int other : {n - 1, n + 1}) {
            if (other >= 0 && other < 4) {
                EXPECT_GT(own, Psnr(frames[n].rgba, pngs[other]) + 6) << "tick " << 3 * n + 3;
            }
        }
    }
}

TEST_F(CaptureTool, AFailedAnimationLeavesNoFileBehind) {
    fs::create_directories(dir);
    const fs::path webp = dir / "velmora.webp";
    std::ofstream(webp) << "an earlier file";
    // Quitting before the first tick leaves nothing to animate.
    ToolRun run = Capture("--ticks 3 --keys 1:q --animation " + webp.string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no frames"), std::string::npos) << run.err;
    std::ifstream kept(webp);
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "an earlier file");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    const fs::path nowhere = dir / "missing" / "v.webp";
    run = Capture("--ticks 1 --animation " + nowhere.string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(nowhere.string()), std::string::npos) << run.err;
}

TEST_F(CaptureTool, AnUnwritableDirectoryIsAnError) {
    fs::create_directories(dir);
    std::ofstream(dir / "file") << "not a directory";
    const ToolRun run = Capture("--ticks 1 --out " + (dir / "file").string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot make the directory"), std::string::npos) << run.err;
}

TEST_F(CaptureTool, ASizeOpenGLCannotRenderIsAnError) {
    // Beyond the largest renderbuffer: every frame would stay at 300 x 200 in
    // the corner of a huge picture.
    const ToolRun run = Capture("--ticks 1 --size 20000x20000 " + Out());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot render 20000x20000"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "frame_0001.png"));
}

TEST_F(CaptureTool, WithoutOpenGLItSaysWhyAndFails) {
    // No EGL driver can be found: the display step fails.
    const ToolRun run =
        Capture("--ticks 2 " + Out(), "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent/vendor.json");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("SetPixelFormat: EGL_"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("no OpenGL context"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "frame_0001.png"));
}

}  // namespace

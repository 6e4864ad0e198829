// wobblet-capture --animation: the animated picture shows, at each frame's
// time, exactly the screen the PNG files of the same run hold, and a path
// that cannot be written is refused before any work and leaves nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/png/png_file.h"
#include "tools/webp/webp_animation.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string err;
};

class CaptureAnimation : public testing::Test {
  protected:
    void SetUp() override {
        dir = fs::path(testing::TempDir()) /
              ("wobblet_animation_" +
               std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    ToolRun Capture(const std::string& arguments) {
        const fs::path errFile = dir / "stderr.txt";
        const std::string command =
            WOBBLET_CAPTURE " " + arguments + " >/dev/null 2>" + errFile.string();
        const int raw = std::system(command.c_str());
        ToolRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        std::ifstream in(errFile);
        std::stringstream text;
        text << in.rdbuf();
        run.err = text.str();
        fs::remove(errFile);
        return run;
    }

    fs::path dir;
};

TEST_F(CaptureAnimation, ShowsExactlyThePngFramesAtTheirTimes) {
    const fs::path webp = dir / "wobblet.webp";
    const ToolRun run = Capture("--frames 30 --every 2 --from 3 --out " + (dir / "png").string() +
                                " --animation " + webp.string());
    ASSERT_EQ(run.status, 0) << run.err;

    int width = 0;
    int height = 0;
    int endMs = 0;
    std::vector<webp_animation::Frame> frames;
    std::string error;
    ASSERT_TRUE(webp_animation::Read(webp.string(), width, height, frames, endMs, &error)) << error;
    ASSERT_EQ(width, 800);
    ASSERT_EQ(height, 600);
    // Frames 4, 6, ..., 30: fourteen pictures of 2/60 s each. Pictures that
    // repeat may be merged into one longer frame, so each kept frame is
    // looked up by its time.
    EXPECT_EQ(endMs, (14 * 2 * 1000 + 30) / 60);
    ASSERT_FALSE(frames.empty());
    std::size_t shown = 0;
    for (int n = 0; n < 14; ++n) {
        const int startMs = (n * 2 * 1000 + 30) / 60;
        while (shown + 1 < frames.size() && frames[shown + 1].startMs <= startMs) {
            ++shown;
        }
        png_file::Picture png;
        const int frame = 4 + 2 * n;
        char name[32];
        std::snprintf(name, sizeof name, "frame_%04d.png", frame);
        ASSERT_TRUE(
            png_file::Read((dir / "png" / name).string(), png_file::Layout::kRgba, png, &error))
            << error;
        ASSERT_EQ(png.pixels.size(), frames[shown].rgba.size());
        EXPECT_TRUE(png.pixels == frames[shown].rgba) << "frame " << frame << " differs";
    }
    EXPECT_FALSE(fs::exists(dir / "png" / "frame_0002.png"));
}

TEST_F(CaptureAnimation, AnUnwritablePathIsRefusedAndLeavesNothing) {
    // A pipe would be replaced by the finished file, not written to.
    const fs::path pipe = dir / "pipe.webp";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string cases[] = {
        (dir / "missing" / "a.webp").string(),  // no such folder
        dir.string(),                           // a folder, not a file
        pipe.string(),
    };
    for (const std::string& path : cases) {
        const ToolRun run = Capture("--frames 2 --animation " + path);
        EXPECT_EQ(run.status, 1) << path;
        EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

}  // namespace

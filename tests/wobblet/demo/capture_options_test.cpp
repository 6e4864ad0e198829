#include "demo/CaptureOptions.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

bool Parse(std::initializer_list<const char*> args, CaptureOptions& options, std::string& error) {
    std::vector<const char*> argv = {"wobblet-capture"};
    argv.insert(argv.end(), args);
    return ParseCaptureOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

}  // namespace

TEST(CaptureOptions, AcceptsTheDocumentedForms) {
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--frames", "30", "--out", "shots"}, o, error)) << error;
    EXPECT_EQ(o.frames, 30);
    EXPECT_EQ(o.every, 1);
    EXPECT_EQ(o.outDir, "shots");
    ASSERT_TRUE(Parse({"--out", "d", "--every", "5", "--frames", "100"}, o, error)) << error;
    EXPECT_EQ(o.frames, 100);
    EXPECT_EQ(o.every, 5);
    EXPECT_EQ(o.outDir, "d");
    EXPECT_TRUE(o.animationPath.empty());
    EXPECT_EQ(o.from, 1);
    ASSERT_TRUE(Parse({"--frames", "375", "--from", "16", "--animation", "a.webp"}, o, error))
        << error;
    EXPECT_EQ(o.from, 16);
    EXPECT_TRUE(o.outDir.empty());
    EXPECT_EQ(o.animationPath, "a.webp");
}

TEST(CaptureOptions, RefusesBadLinesWithAReason) {
    const struct {
        std::initializer_list<const char*> args;
        const char* reason;
    } cases[] = {
        {{}, "--frames N is required"},
        {{"--frames", "3"}, "--out DIR or --animation FILE is required"},
        {{"--frames", "3", "--animation", ""}, "--animation needs a file name"},
        {{"--frames", "3", "--from", "4", "--out", "d"}, "--from 4 comes after the last frame 3"},
        {{"--out", "d"}, "--frames N is required"},
        {{"--frames", "0", "--out", "d"}, "\"0\""},
        {{"--frames", "-4", "--out", "d"}, "\"-4\""},
        {{"--frames", "12abc", "--out", "d"}, "\"12abc\""},
        {{"--frames", "", "--out", "d"}, "--frames needs a whole number"},
        {{"--frames", "99999999999999999999", "--out", "d"}, "--frames needs a whole number"},
        {{"--frames", "3", "--every", "0", "--out", "d"}, "--every needs a whole number"},
        {{"--frames", "3", "--out"}, "--out needs a value"},
        {{"--frames", "3", "--out", ""}, "--out needs a directory"},
        {{"--frames", "3", "--frames", "4", "--out", "d"}, "--frames given twice"},
        {{"--frames", "3", "--out", "d", "extra"}, "unknown argument \"extra\""},
        {{"-f", "3"}, "unknown argument \"-f\""},
    };
    for (const auto& c : cases) {
        CaptureOptions o;
        std::string error;
        EXPECT_FALSE(Parse(c.args, o, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << "got: " << error;
    }
}

TEST(CaptureOptions, FramesAreNumberedFromOneWithFourDigits) {
    EXPECT_EQ(FrameFileName("out", 1), "out/frame_0001.png");
    EXPECT_EQ(FrameFileName("out", 360), "out/frame_0360.png");
    EXPECT_EQ(FrameFileName("out", 12345), "out/frame_12345.png");
}

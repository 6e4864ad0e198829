// The jelly cube's arithmetic on worked values. The expected numbers were
// worked out separately (Python, rounding to float after every stage), not
// taken from this code.
#include "demo/CubeMath.h"

#include <gtest/gtest.h>

#include <array>

namespace {

Corner RestCorner(int n) {
    const int bits = n - 1;
    return {(bits & 1) != 0 ? 100.0f : -100.0f, (bits & 2) != 0 ? 100.0f : -100.0f,
            (bits & 4) != 0 ? 100.0f : -100.0f};
}

// The faces' corners, 1-based, as the demo uses them.
constexpr std::array<std::array<int, 4>, 6> kFaces = {{
    {1, 2, 4, 3},
    {2, 6, 8, 4},
    {5, 7, 8, 6},
    {1, 3, 7, 5},
    {1, 5, 6, 2},
    {3, 4, 8, 7},
}};

void ExpectCorner(const Corner& c, float x, float y, float z) {
    EXPECT_EQ(c.x, x);
    EXPECT_EQ(c.y, y);
    EXPECT_EQ(c.z, z);
}

}  // namespace

TEST(CubeMath, RoundsTiesToEven) {
    EXPECT_EQ(RoundToInt(2.5), 2);
    EXPECT_EQ(RoundToInt(3.5), 4);
    EXPECT_EQ(RoundToInt(-2.5), -2);
    EXPECT_EQ(RoundToInt(-3.5), -4);
    EXPECT_EQ(RoundToInt(2.5000001), 3);
    EXPECT_EQ(RoundToInt(-0.4), 0);
}

TEST(CubeMath, RadiansAreTheDoubleProductKeptAsFloat) {
    EXPECT_EQ(Radians(1.0f), 0.01745329238474369f);
    EXPECT_EQ(Radians(3.0f), 0.05235987901687622f);
    EXPECT_EQ(Radians(359.0f), 6.2657318115234375f);
    EXPECT_EQ(Radians(0.0f), 0.0f);
}

TEST(CubeMath, AtAnglesZeroOnlyTheFaceAtPlusZIsSeen) {
    std::array<ImagePoint, 9> image{};
    for (int n = 1; n <= 8; ++n) {
        image[n] = ImageCoordinates(TransformCorner(RestCorner(n), 0, 0, 0));
    }
    // Back corners at 800 / 900 of their size, front ones at 800 / 700.
    ExpectCorner(TransformCorner(RestCorner(1), 0, 0, 0), -88.88888549804688f, -88.88888549804688f,
                 -100.0f);
    ExpectCorner(TransformCorner(RestCorner(8), 0, 0, 0), 114.28571319580078f, 114.28571319580078f,
                 100.0f);
    EXPECT_EQ(image[1].x, 71);
    EXPECT_EQ(image[1].y, 91);
    EXPECT_EQ(image[8].x, 274);
    EXPECT_EQ(image[8].y, 294);
    EXPECT_EQ(image[5].x, 46);
    EXPECT_EQ(image[5].y, 66);

    const std::array<int, 6> expected = {-31684, -5700, 51984, -4450, -5700, -4450};
    for (int f = 0; f < 6; ++f) {
        const auto& c = kFaces[f];
        EXPECT_EQ(FacingValue(image[c[0]], image[c[1]], image[c[2]]), expected[f])
            << "face " << f + 1;
        EXPECT_EQ(FaceVisible(image[c[0]], image[c[1]], image[c[2]]), f == 2) << "face " << f + 1;
    }
}

TEST(CubeMath, EachStageRoundsWhatItReads) {
    // Frame 1 (1, 2 and 3 degrees), corner 8, stage by stage.
    const Corner z = RotateAboutZ(RestCorner(8), 1.0f);
    ExpectCorner(z, 98.23953247070312f, 101.73001098632812f, 100.0f);
    const Corner y = RotateAboutY(z, 2.0f);
    ExpectCorner(y, 94.45034790039062f, 102.0f, 103.3592300415039f);
    const Corner x = RotateAboutX(y, 3.0f);
    ExpectCorner(x, 94.0f, 107.25081634521484f, 97.52057647705078f);
    const Corner p = Project(x);
    ExpectCorner(p, 107.12250518798828f, 121.93732452392578f, 98.0f);
    ExpectCorner(TransformCorner(RestCorner(8), 1.0f, 2.0f, 3.0f), p.x, p.y, p.z);
    // One rotation without the rounding between stages lands this corner at
    // x = 107.89 and so one pixel further right, at 268.
    EXPECT_EQ(ImageCoordinates(p).x, 267);
    EXPECT_EQ(ImageCoordinates(p).y, 302);

    // Frame 100 (100, 200, 300 degrees), corner 1: here skipping the rounding
    // would move y from 97.44 to 96.85, still 97; corner 8 then moves to 273.
    ExpectCorner(TransformCorner(RestCorner(1), 100.0f, 200.0f, 300.0f), -135.705810546875f,
                 -82.5622787475586f, -43.0f);
    const ImagePoint c8 = ImageCoordinates(TransformCorner(RestCorner(8), 100.0f, 200.0f, 300.0f));
    EXPECT_EQ(c8.x, 311);
    EXPECT_EQ(c8.y, 272);
}

TEST(CubeMath, ImageCoordinatesRoundTiesToEven) {
    // Frame 15 (15, 30, 45 degrees) puts corner 2 exactly on a half pixel.
    const Corner c2 = TransformCorner(RestCorner(2), 15.0f, 30.0f, 45.0f);
    ExpectCorner(c2, 162.5f, -71.875f, 32.0f);
    EXPECT_EQ(ImageCoordinates(c2).x, 322);
    EXPECT_EQ(ImageCoordinates(c2).y, 108);
    // Frame 195 (195, 30, 225 degrees), corner 6: -2.5 goes to -2.
    const Corner c6 = TransformCorner(RestCorner(6), 195.0f, 30.0f, 225.0f);
    ExpectCorner(c6, -162.5f, -71.875f, 32.0f);
    EXPECT_EQ(ImageCoordinates(c6).x, -2);
    EXPECT_EQ(ImageCoordinates({-37.5f, 172.5f, 0}).x, 122);
    EXPECT_EQ(ImageCoordinates({-37.5f, 172.5f, 0}).y, 352);
}

TEST(CubeMath, EdgeOnFacesAreNotDrawn) {
    // Three corners on one line: value 0.
    EXPECT_EQ(FacingValue({10, 10}, {20, 20}, {30, 30}), 0);
    EXPECT_FALSE(FaceVisible({10, 10}, {20, 20}, {30, 30}));
    // The same triangle seen from either side.
    EXPECT_TRUE(FaceVisible({0, 0}, {0, 10}, {10, 10}));
    EXPECT_FALSE(FaceVisible({0, 0}, {10, 10}, {0, 10}));
}

TEST(CubeMath, AnglesWrapToExactlyZero) {
    float z = 0;
    float y = 0;
    float x = 0;
    for (int frame = 1; frame <= 720; ++frame) {
        z = AdvanceAngle(z, 1.0f);
        y = AdvanceAngle(y, 2.0f);
        x = AdvanceAngle(x, 3.0f);
        EXPECT_EQ(z, static_cast<float>(frame % 360)) << "frame " << frame;
        EXPECT_EQ(y, static_cast<float>(frame % 180 * 2)) << "frame " << frame;
        EXPECT_EQ(x, static_cast<float>(frame % 120 * 3)) << "frame " << frame;
    }
    // Set to 0 when reaching the limit, not reduced by it.
    EXPECT_EQ(AdvanceAngle(358.0f, 3.0f), 0.0f);
    EXPECT_EQ(AdvanceAngle(357.0f, 2.0f), 359.0f);
}

TEST(CubeMath, RingSlotsWrapAtSixteen) {
    std::uint8_t slot = 0;
    for (int frame = 1; frame <= 40; ++frame) {
        slot = NextSlot(slot);
        EXPECT_EQ(slot, frame % 16);
    }
    EXPECT_EQ(NextSlot(255), 0);
}

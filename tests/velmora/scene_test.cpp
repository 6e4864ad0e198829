// The scene's state and motion. Drawing is tested with a real context in
// cube_surface_test.cpp.
#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectMatrixNear(const Matrix4x4& actual, const Matrix4x4& expected, double tolerance) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_NEAR(actual.At(i, j), expected.At(i, j), tolerance) << i << ", " << j;
        }
    }
}

TEST(Scene, ZoomByMultipliesSoThreeStartUpZoomsGiveEightTenthsToTheSeventh) {
    Scene scene;
    for (int k = 0; k < 3; ++k) {
        scene.ZoomBy(scene.GetZoom() * 0.8);
    }
    EXPECT_NEAR(scene.GetZoom(), 0.2097152, 1e-15);
    Matrix4x4 scaled;
    scaled.Scale(0.2097152, 0.2097152, 0.2097152);
    ExpectMatrixNear(scene.GetOrientation(), scaled, 1e-15);
}

TEST(Scene, ZoomScalesThePictureWithoutUndoingTheRotation) {
    Scene scene;
    scene.Rotate(30.0, -20.0, 10.0);
    Matrix4x4 expected;
    expected.Rotate(30.0, -20.0, 10.0);
    scene.ZoomBy(0.5);
    expected.Scale(0.5, 0.5, 0.5);
    ExpectMatrixNear(scene.GetOrientation(), expected, 1e-15);

    // 0.9 and the double nearest 1 / 0.9 undo each other within rounding.
    const Matrix4x4 before = scene.GetOrientation();
    scene.ZoomBy(0.9);
    EXPECT_NEAR(scene.GetZoom(), 0.45, 1e-15);
    scene.ZoomBy(1.1111111111111112);
    EXPECT_NEAR(scene.GetZoom(), 0.5, 1e-15);
    ExpectMatrixNear(scene.GetOrientation(), before, 1e-15);
}

TEST(Scene, ZoomThatCouldNotBeUndoneIsRefused) {
    Scene scene;
    scene.Rotate(10, 20, 30);
    scene.ZoomBy(0.5);
    const Matrix4x4 before = scene.GetOrientation();
    scene.ZoomBy(0.0);
    scene.ZoomBy(1e-320);  // would leave a zoom whose inverse is infinite
    scene.ZoomBy(1e300);
    scene.ZoomBy(1e300);  // would overflow to infinity
    EXPECT_EQ(scene.GetZoom(), 0.5 * 1e300);
    scene.ZoomBy(2.0 / 1e300);
    EXPECT_NEAR(scene.GetZoom(), 1.0, 1e-15);
    scene.ZoomBy(0.5);
    ExpectMatrixNear(scene.GetOrientation(), before, 1e-12);
}

TEST(Scene, StepDoesNothingWhileTheTumbleIsOff) {
    Scene scene;
    scene.Rotate(1.0, 2.0, 3.0);
    const Matrix4x4 before = scene.GetOrientation();
    scene.Step();
    ExpectMatrixNear(scene.GetOrientation(), before, 0.0);
    EXPECT_EQ(scene.GetTumblePhase(), 0.0);
}

TEST(Scene, FirstTumbleTickTurnsByTheWorkedAngles) {
    Scene scene;
    scene.ToggleTumble();
    scene.Step();
    // About (9.32, -9.90, 1.00) degrees: 10 sin 1.2, 10 cos 3, 10 sin 0.1.
    Matrix4x4 expected;
    expected.Rotate(9.320390859672264, -9.899924966004454, 0.9983341664682815);
    ExpectMatrixNear(scene.GetOrientation(), expected, 1e-14);
    EXPECT_NEAR(scene.GetTumblePhase(), 0.01, 1e-15);

    // Toggling off keeps the phase; on again resumes from it.
    scene.ToggleTumble();
    scene.Step();
    EXPECT_NEAR(scene.GetTumblePhase(), 0.01, 1e-15);
    scene.ToggleTumble();
    scene.Step();
    EXPECT_NEAR(scene.GetTumblePhase(), 0.02, 1e-15);
}

TEST(Scene, TumblePhaseWrapsOnTheTick3142) {
    Scene scene;
    scene.ToggleTumble();
    for (int tick = 1; tick <= 3141; ++tick) {
        scene.Step();
    }
    EXPECT_GT(scene.GetTumblePhase(), 31.40);
    EXPECT_LE(scene.GetTumblePhase(), 31.41592653589793);
    scene.Step();
    EXPECT_NEAR(scene.GetTumblePhase(), 0.00407, 5e-6);
}

TEST(Scene, RotationStaysARotationTimesTheZoom) {
    // Thousands of turns must not make the picture grow or shear: every
    // column keeps the zoom as its length.
    Scene scene;
    scene.ZoomBy(0.25);
    scene.ToggleTumble();
    for (int tick = 0; tick < 2000; ++tick) {
        scene.Step();
        scene.Rotate(4.0, 4.0, 4.0);
    }
    for (int j = 0; j < 3; ++j) {
        double length = 0.0;
        for (int i = 0; i < 3; ++i) {
            length += scene.GetOrientation().At(i, j) * scene.GetOrientation().At(i, j);
        }
        EXPECT_NEAR(std::sqrt(length), 0.25, 1e-9) << j;
    }
}

}  // namespace

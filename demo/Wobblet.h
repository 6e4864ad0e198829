// Wobblet's program logic: the global state, start-up, the frame loop and
// shutdown. The windowed program and the capture tool both run it; only the
// run-time platform they link differs.
#pragma once

#include <cstdint>

#include "demo/CubeMath.h"

// Corners and faces are numbered from 1; entry 0 of each table is never used.
extern Corner vertices[9];
extern Corner transformed[9];
extern std::int8_t faces[25];
extern std::int32_t halfSize;

extern float angleZ;
extern float angleY;
extern float angleX;
extern std::uint8_t frameSlot;
extern std::uint8_t stripBase;
extern std::uint8_t stripSlot;

// Image numbers.
inline constexpr int kCompositeImage = 16;
inline constexpr int kStripImage = 17;
inline constexpr int kBackgroundImage = 18;

inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;
inline constexpr int kFrameWidth = 320;
inline constexpr int kFrameHeight = 360;
inline constexpr int kStripHeight = 24;
inline constexpr int kRingSize = 16;
inline constexpr int kCompositeX = 320;
inline constexpr int kCompositeY = 180;

// Runs the run-time start-up, opens the window and its screen and prepares
// the images. On failure the run-time is shut down again, and the name of the
// operation that failed is returned; nullptr on success.
const char* StartWobblet();

// One pass of the frame loop, presentation and event poll included. Returns
// false once the window's close event has arrived, or when the screen is lost
// for good. A screen the system took away for a while (a locked desktop) is
// not: the loop goes on and the picture comes back with it.
bool RunFrame();

// The run-time shutdown sequence.
void StopWobblet();

// The whole program: start, loop until closed, stop. Returns the exit status;
// a failed start or a screen lost for good is reported on standard error
// (status 1), and a lost screen also to tellUser where one is given: the user
// saw the window go and should learn why.
int RunWobblet(const char* programName, void (*tellUser)(const char* reason) = nullptr);

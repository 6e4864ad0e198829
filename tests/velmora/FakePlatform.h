// The platform services and message function for tests: a window in memory
// whose every effect is recorded, and messages kept instead of shown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/Message.h"

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageOwner owner = MessageOwner::kNone;
};

struct FakePlatform {
    bool timerRunning = false;
    int timerId = -1;
    int timerMilliseconds = 0;
    bool quitPosted = false;
    int quitCode = -1;
    int showCount = 0;
    bool contextExistedWhenShown = false;
    int clientWidth = 300;
    int clientHeight = 200;
    int copies = 0;
    // What MainWindowCanBeSeen says.
    bool seen = true;
    // The client area, top row first, blue-green-red, width * 3 bytes a row.
    std::vector<std::uint8_t> window = std::vector<std::uint8_t>(300 * 200 * 3, 0);
    std::vector<ShownMessage> messages;
    // Run while a message is "up", as a box's own message loop would run
    // the window's messages.
    void (*whileShown)() = nullptr;

    void SetClientSize(int width, int height);
    // Fills the client area with one grey so painting can be seen.
    void Smear(std::uint8_t value);
};

extern FakePlatform fakePlatform;

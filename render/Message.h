// The one way velmora reports a failure to the user: a modal box where a
// window system is present, standard error otherwise. Each platform's file
// set defines it; tests define one that records what was shown.
#pragma once

#include <string>

// Whose box it is: standing on its own, or belonging to the window that has
// the keyboard focus (the box then stays above that window). A platform
// without owned boxes ignores it.
enum class MessageOwner { kNone, kFocusWindow };

void ShowMessage(const std::string& text, const std::string& caption,
                 MessageOwner owner = MessageOwner::kNone);

// The one way velmora reports a failure to the user: a modal box where a
// window system is present, standard error otherwise. Each platform's file
// set defines it; tests define one that records what was shown.
#pragma once

#include <string>

void ShowMessage(const std::string& text, const std::string& caption);

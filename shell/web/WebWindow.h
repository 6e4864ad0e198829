// The page's window for velmora: the canvas, its title and the keypress
// events. Opened by main before the application core starts.
#pragma once

void OpenPageWindow();

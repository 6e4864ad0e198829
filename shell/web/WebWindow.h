// The page's window for velmora: the canvas, its title and the keypress
// events. Opened by main before the application core starts.
#pragma once

void OpenPageWindow();

// Writes on the page, where the picture would be, why nothing is drawn and
// what a visitor can try: for a drawing context that could not be made.
void ShowNoDrawingNote();

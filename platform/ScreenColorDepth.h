#pragma once
// Colour depth of the screen, in bits per pixel.

// The primary screen's depth as the windowing system reports it. Throws an
// Exception when the program has no screen (no GUI application, or a
// platform without screens).
int ScreenColorDepth();

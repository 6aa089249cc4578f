// The frame loop: sample input, global keys, music fade, side bar, screen update and drawing,
// overlays, present.
#pragma once

// The "+" and "-" keys: one step of the size table (direction 1 or -1), and when the size
// changed the display is reopened and everything on the board takes its new place.
void ResizePlayArea(int direction);
// One presented frame.
void RunOneFrame();
// Frames until the player quits; never returns.
[[noreturn]] void RunFrameLoop();

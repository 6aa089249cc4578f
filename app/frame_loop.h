// The frame loop: sample input, global keys, music fade, side bar, screen update and drawing,
// overlays, present.
#pragma once

// One presented frame.
void RunOneFrame();
// Frames until the player quits; never returns.
[[noreturn]] void RunFrameLoop();

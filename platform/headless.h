// Hooks that let the test driver run the real game headless: a virtual clock, a fixed desktop,
// scripted input that travels the same event path as real input, and a copy of the last frame.
#pragma once

#include <string>

#include "platform/platform.h"

// Headless mode: SDL's dummy video and audio drivers, the software renderer, message boxes to
// standard error. Must be called before anything else of the platform.
void EnterHeadlessMode();
int IsHeadless();

// Virtual clock: Millisecs() returns exactly this value until it is set again. Audio channels
// then also age by this clock, so whether a sound still plays is reproducible.
void SetVirtualMillisecs(uint32_t ms);
// The date LocalDate gives under the virtual clock.
void SetVirtualDate(int year, int month, int day);

// The desktop size the platform reports (headless runs only).
void SetDesktopSize(int w, int h);
// Before the display opens: the window gets `ratio` pixels per unit of the game's coordinates,
// as a high-density display gives (the dummy driver has none); 0 or 1 for none.
void ForcePixelRatio(int ratio);

// Scripted input, delivered through the platform's event queue at the next PollSystemEvents.
void InjectPointer(int x, int y);
void InjectButton(int button, int down);        // 1 left, 2 right
void InjectWheel(int notches);
// KeyCode, or a letter or other printable character, with Ctrl and Shift held as `mods` says.
constexpr int Inject_Ctrl = 1, Inject_Shift = 2;
void InjectKey(int code, int down, int mods = 0);
void InjectText(const String& chars);
void InjectTouch(int down, float x, float y);   // primary contact down/moved, or lifted
void InjectCloseRequest();
// A game controller of SDL's own making (virtual), plugged in and out as a real one would be;
// its buttons and axes carry SDL's names ("a", "dpleft", "leftshoulder", "leftx"...). Each
// returns 1 when done, 0 for a name SDL does not know or without the controller.
int ConnectVirtualPad();
void DisconnectVirtualPad();
int PressVirtualPadButton(const std::string& name, int down);
int MoveVirtualPadAxis(const std::string& name, int value);   // -32768..32767

// Writes the last presented frame as a PNG of the window's size; 1 on success.
int SaveLastFrame(const String& path);

// ---- For tests ----
// How the last frame was put on screen: the draws recorded, the draws carried out again for the
// areas that changed, the size of those areas, and whether the frame was shown at all.
struct FrameComposition {
  int Commands = 0;
  int Replayed = 0;
  int64_t Dirty_Pixels = 0;
  int Presented = 0;
  int Common_Prefix = 0;   // leading draws the same as the previous frame's
};
FrameComposition LastFrameComposition();
// 1: every frame is drawn whole and shown, as when nothing was kept between frames.
void SetFullFrameRedraw(int on);
// 1: the frame is kept in a texture and copied whole to the window at each present, as with
// accelerated renderers; 0 (the default): the software renderer keeps it in the window itself.
void KeepFrameInTexture(int on);
// Hides (0) or shows (1) the window, as a player minimising it or bringing it back would.
void SetWindowShown(int shown);
// The pixels where the frame on screen differs from its draws drawn again whole from black;
// -1 when there is no frame to compare. Between frames only.
int64_t PixelsUnlikeWholeRedraw();
// The back buffer's pixel at window (x, y) as 0xRRGGBB, or -1 without a display.
int ReadPixel(int x, int y);
// The last address given to OpenUrl (headless runs never start a browser).
String LastOpenedUrl();

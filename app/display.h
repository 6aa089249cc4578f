// The play area: the size table, the three screen modes, origin and viewport, border fix,
// the fonts that follow the size, and the detail levels.
#pragma once

#include "board/board_state.h"   // Block_Size, which the blocks' pixel places follow
#include "platform/platform.h"

extern int Wanted_Resolution_X, Wanted_Resolution_Y, Wanted_Block_Size;   // the configured size
extern int Resolution_X, Resolution_Y;                                   // the size in use (and Block_Size)
extern int Desktop_Width, Desktop_Height;
// The part of the desktop a window may cover (without panels and docks), read with the desktop
// size; 0 while unknown, which stands for the whole desktop.
extern int Usable_Width, Usable_Height;
extern int Origin_X, Origin_Y;
extern int Half_Block;
extern int Screen_Mode;        // 0 windowed, 1 full screen centred, 2 full screen best fit
extern int Border_Fix;
extern int Display_Quality;    // 0 automatic, 1 low, 2 high
extern int Font_Size_Small;
extern int Font_Line_Height;
extern int Detail_Shadows, Detail_Particles, Detail_Previews;
// 1: every block of the six colours carries its colour's symbol, for colour-blind players;
// profile "Colour Symbols".
extern int Colour_Symbols;
extern Image* Img_Board_Capture;

struct DisplaySize {
  int Width, Height, Cell;
};
constexpr int Display_Size_Count = 5;
extern const DisplaySize Display_Sizes[Display_Size_Count];   // largest first
// The size a fresh profile opens at, and the one a size that cannot open falls back to: this
// row of Display_Sizes.
constexpr int Default_Size_Row = 3;
constexpr DisplaySize Default_Display_Size = {804, 592, 74};

// Every value of the play area as a fresh profile has it: the default size wanted and in use,
// the origin at the window's corner, windowed, no border fix, automatic details. The desktop's
// size is the system's and stays.
void ResetDisplay();

// The largest play area a screen mode may use: in a window (mode 0), the usable area less the
// window's frame; centred on the full screen (mode 1), the whole desktop; best fit (2) makes
// its own size. A usable area of 0 stands for the whole desktop.
struct DisplayRoom {
  int Width, Height;
};
DisplayRoom RoomForMode(int mode, int desktop_w, int desktop_h, int usable_w, int usable_h, int frame_w,
                        int frame_h);
// The room of Screen_Mode on this desktop (the mode a best-fit player returns to: windowed).
DisplayRoom CurrentRoom();
// The first (largest) row of the size table that fits the room; the smallest row when none does.
int LargestRowWithin(DisplayRoom room);
// The best-fit cell for a desktop: an eighth of its height, narrowed so that the board and the
// whole side bar fit its width, made even; 0 when that leaves no usable cell.
int BestFitCell(int desktop_w, int desktop_h);

void ApplyDisplayMode();
int StepDisplaySize(int direction);
void FitDisplayToDesktop();
void ToggleBestFit();
int MouseOnBoard();
void SetDetailLevel(int quality);
// The clip rectangle for the current Border_Fix: the play area, or the whole desktop.
void ApplyViewport();
// Widens the clip to the whole desktop (for the pointer and the frame clear) and back.
void WidenViewport();
// Four black bands over everything outside the play area (border fix).
void DrawBorderBands();

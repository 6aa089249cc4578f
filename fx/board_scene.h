// The board scene and its overlays: blocks, particles, held blocks, fragments, the fading level
// number, the tutorial hint, and the web-link row of the options screen.
#pragma once

#include <cstdint>

#include "fx/text_layout.h"
#include "platform/platform.h"

extern int Link_Hover;   // the pointer was over the link row in the previous frame
// After a menu choice the board slides up and away, from Menu_Slide_Start on.
extern int Menu_Slide;
extern int64_t Menu_Slide_Start;
extern int Menu_Slide_Offset;     // pixels the board has slid so far (negative: up)
// Until when the level number shows (0: not shown); armed by starting a level, by the TIME
// icon and by the map zoom.
extern int64_t Time_Icon_Until;
// The project's home page as configured at build time, opened from the link row; empty when
// none was configured, and the options then show no link.
extern String Link_Page;
// What the row shows of a page: its address without the scheme and the closing "/".
String LinkLabel(const String& page);

// Blocks (sliding away after a menu choice), attached particles, the held group, then in
// place: free particles, the hint, fragments and the level number.
void DrawBoardScene();
// The level number, big and centred on the board, fading out over the 2 s after it was armed
// (Time_Icon_Until = Now + 2000).
void DrawLevelNumber();
// The tutorial's current hint over the board.
void DrawHint();
// The link in a board row (nothing without a page); the hovered link shivers and sounds once
// per entry.
void DrawLinkRow(int row);
// After a click: opens the page when there is one and the click was on the row (leaving
// best-fit full screen first).
void ClickLinkRow(int row);

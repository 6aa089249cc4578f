// The style screen: every tile style a block, the six slots of row 4 giving colours their styles,
// and a hint saying so.
#pragma once

#include "platform/platform.h"

// The hint in the player's language, taken when the screen opens.
extern String Style_Hint;

void ShowStyleScreen();
// The hint over the board, inside the ring of styles above the slots: rows 1 to 3 between
// columns 1 and 8, centred there; drawn under the blocks.
void DrawStyleHint();
// The hint's box at the current size: left, top and right as DrawWrappedText takes them, and
// the lowest pixel row the hint may use. The hint is laid out with the current font (Font_Small).
struct HintBox {
  int Left, Top, Right, Bottom;
};
HintBox StyleHintBox(const String& hint);

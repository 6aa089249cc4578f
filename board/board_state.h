// The state of the rules that the game around them sets or reads: the frame's clock, the pixels
// of one cell, what the board is for, and the tile style of each colour. ResetBoardState
// (board/moves.h) makes a fresh game of all of the board's state.
#pragma once

#include <cstdint>

extern int64_t Now;       // this frame's clock in milliseconds, set by the frame loop (ReadClock)
extern int Block_Size;    // pixels of one cell; blocks keep their pixel place for the drawing

// What the board is for; it decides what a completed colour does. The screen switch sets it
// with the screen (SetCurrentScreen, app/state.h).
enum BoardUse {
  Board_Level,   // a level: a completed colour leaves the board
  Board_Menu,    // a menu: a completed colour also chooses its option
  Board_Style,   // the style board: nothing ever clears, the row gives colours their styles
};
extern int Board_Use;

// Tile styles: a colour (Kind 0..5) is drawn with the style the player chose for it, a style
// block (Kind 6 and above) shows style Kind - 6.
constexpr int Style_Sheet_Count = 38;
extern int User_Style[6];   // style index of block kinds 0..5
void SetDefaultStyles();    // colour k in style k

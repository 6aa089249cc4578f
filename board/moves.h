// The rules of a move: the hand that holds a group, one step of the group, merging and
// completion, and the hand-over of a completed menu option. What a move sets going on screen
// and in the speakers is announced (board/board_events.h).
#pragma once

#include <cstdint>

#include "platform/platform.h"

class T_BLOCK;

// ---- The hand ----
extern T_BLOCK* Grabbed_Block;   // the block the group is held by; never a block that is gone
extern int Drag_State;           // 1 while a mouse or touch drag holds a group
extern int Drag_Cell_X, Drag_Cell_Y;     // Grabbed_Block's cell after the last drag step
extern int Press_Cell_X, Press_Cell_Y;   // Grabbed_Block's cell when the button went down
extern int64_t Press_Time;
extern int Key_Cursor_Mode;      // 0 no cursor, 1 cursor shown, 2 cursor holding a group
extern int Key_Cursor_X, Key_Cursor_Y;   // always on the board
extern const int Dir_X[4];       // direction 0 right, 1 down, 2 left, 3 up
extern const int Dir_Y[4];

// ---- A chosen menu option ----
extern int Pending_Screen;       // screen chosen through a menu block, 0 for none

// A completed colour flashes this long before it leaves the board; its fragments wait as long.
constexpr int64_t Colour_Flash_Time = 300;

// 1 when the cell is off the board or holds a block outside the held group.
int CellBlocked(int x, int y);
// 1 when some held block would step onto a blocked cell.
int GroupCollides(int dx, int dy);
// One step of the held group; (0, 0) only re-evaluates merging and completion. 1 when done.
int TryMove(int dx, int dy);
// The held block's menu option is chosen (Pending_Screen, Menu_Option_Chosen); nothing for a
// block that carries no option.
void MenuBlockCompleted();
// Style board: colours 0..5 take the styles of the blocks in row 4, columns 2..7
// (Style_Row_Changed when any did).
void ApplyStyleRow();

// Lets go of whatever is held (mouse drag or keyboard hold; the keyboard cursor stays shown).
void ReleaseHold();
// Grabs the group of the live block at a cell; 1 when something is now held.
int GrabGroupAt(int x, int y);
// Moves the keyboard cursor back onto the board when it has left it.
void ClampKeyCursor();

// An empty board, no hand, no menu choice, a level board, no undo steps: a fresh game. The
// clock, the cell size, the styles and the file of the history are left as they are.
void ResetBoardState();

// A headless step for tools that replay solutions: grab the group at (x, y), step it in
// direction dir (0 right, 1 down, 2 left, 3 up; -1 takes hold without moving, which clears
// a colour whose blocks already all touch), let go, and clear at once any colour that the
// step completed. True when the step was done; a refused step changes nothing.
bool ReplayStep(int x, int y, int dir);

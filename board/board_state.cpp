// Definitions of the state the rules share with the game around them, and its reset.
#include "board/board_state.h"

#include "board/block.h"
#include "board/board_events.h"
#include "board/moves.h"
#include "board/undo.h"

int64_t Now = 0;
int Block_Size = 74;
int Board_Use = Board_Level;
int User_Style[6] = {0, 1, 2, 3, 4, 5};
BoardEvents Board_Events;

void SetDefaultStyles() {
  for (int k = 0; k < 6; k++) User_Style[k] = k;
}

void ResetBoardState() {
  ClearBoard();
  Grabbed_Block = nullptr;
  Drag_State = 0;
  Drag_Cell_X = Drag_Cell_Y = 0;
  Press_Cell_X = Press_Cell_Y = 0;
  Press_Time = 0;
  Key_Cursor_Mode = 0;
  Key_Cursor_X = Key_Cursor_Y = 0;
  Pending_Screen = 0;
  Board_Use = Board_Level;
  Undo_Count = 0;
}

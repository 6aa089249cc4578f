// The rules of a move: collisions, one step of the held group, merging, completion, and what a
// completed or clicked menu option sets going.
#include "board/moves.h"

#include <limits>

#include "board/block.h"
#include "board/board_events.h"
#include "board/undo.h"

T_BLOCK* Grabbed_Block = nullptr;
int Drag_State = 0;
int Drag_Cell_X = 0, Drag_Cell_Y = 0;
int Press_Cell_X = 0, Press_Cell_Y = 0;
int64_t Press_Time = 0;
int Key_Cursor_Mode = 0;
int Key_Cursor_X = 0, Key_Cursor_Y = 0;
const int Dir_X[4] = {1, 0, -1, 0};
const int Dir_Y[4] = {0, 1, 0, -1};

int Pending_Screen = 0;

int CellBlocked(int x, int y) {
  if (!OnBoard(x, y)) return 1;
  if (Kind_Grid[x][y] == -1) return 0;
  // A held block is about to move away; a dying block still stands in the way.
  const T_BLOCK* b = Block_Grid[x][y];
  return b && b->FlagSelect != 0 ? 0 : 1;
}

int GroupCollides(int dx, int dy) {
  for (auto& b : Block_List) {
    if (b->FlagSelect != 0 && CellBlocked(b->XMap + dx, b->YMap + dy)) return 1;
  }
  return 0;
}

int TryMove(int dx, int dy) {
  if (!Grabbed_Block) return 0;
  if (GroupCollides(dx, dy)) return 0;
  Grabbed_Block->SetSelectedCoorsOffset(dx, dy);
  RebuildGrids();
  int before = T_BLOCK::CountSelected();
  // Flood again from the grabbed block: whatever of its colour now touches the group joins.
  T_BLOCK::InitRecursiveSelect();
  Grabbed_Block->RecursiveSelect();
  if (T_BLOCK::CountSelected() != before) Announce(Board_Events.Groups_Merged);
  if (dx != 0 || dy != 0) Announce(Board_Events.Group_Stepped);
  if (Board_Use == Board_Style) {
    // Style blocks are laid out in the row, never cleared.
    ApplyStyleRow();
    return 1;
  }
  if (Grabbed_Block->CheckCompleteBlock()) {
    Announce(Board_Events.Colour_Completed, dx, dy);
    T_BLOCK::SetSelectedBlocksTimer(Colour_Flash_Time);
    Drag_State = 0;
    if (Key_Cursor_Mode != 0) Key_Cursor_Mode = 1;
    if (Board_Use != Board_Level && Pending_Screen == 0) MenuBlockCompleted();
  }
  return 1;
}

void MenuBlockCompleted() {
  // Decoration blocks of a menu carry no choice: their colour just clears.
  if (!Grabbed_Block || Grabbed_Block->Menu == -1) return;
  Pending_Screen = Grabbed_Block->Menu;
  Announce(Board_Events.Menu_Option_Chosen, Pending_Screen);
}

void ApplyStyleRow() {
  int changed = 0;
  for (auto& b : Block_List) {
    if (b->YMap != 4 || b->XMap < 2 || b->XMap > 7 || b->Kind < 6) continue;
    int colour = b->XMap - 2;
    if (User_Style[colour] != b->Kind - 6) {
      User_Style[colour] = b->Kind - 6;
      changed++;
    }
  }
  if (changed > 0) Announce(Board_Events.Style_Row_Changed, changed);
}

void ReleaseHold() {
  Grabbed_Block = nullptr;
  Drag_State = 0;
  if (Key_Cursor_Mode == 2) Key_Cursor_Mode = 1;
}

int GrabGroupAt(int x, int y) {
  T_BLOCK* b = BlockAt(x, y);
  // A flashing block is on its way out and cannot be taken.
  if (!b || b->Timer != 0) return 0;
  Grabbed_Block = b;
  T_BLOCK::InitRecursiveSelect();
  b->RecursiveSelect();
  return 1;
}

void ClampKeyCursor() {
  Key_Cursor_X = Key_Cursor_X < 0 ? 0 : Key_Cursor_X >= Board_Width ? Board_Width - 1 : Key_Cursor_X;
  Key_Cursor_Y = Key_Cursor_Y < 0 ? 0 : Key_Cursor_Y >= Board_Height ? Board_Height - 1 : Key_Cursor_Y;
}

bool ReplayStep(int x, int y, int dir) {
  if (dir < -1 || dir > 3) return false;
  if (!GrabGroupAt(x, y)) return false;
  int dx = dir < 0 ? 0 : Dir_X[dir];
  int dy = dir < 0 ? 0 : Dir_Y[dir];
  int done = TryMove(dx, dy);
  T_BLOCK::InitRecursiveSelect();
  ReleaseHold();
  // A replay does not wait for the flash: a completed colour leaves at once.
  RemoveExpiredBlocks(std::numeric_limits<int64_t>::max());
  return done == 1;
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
  DropRedoSteps();
}

// The rules of a move: collisions, one step of the held group, merging, completion, and what a
// completed or clicked menu option sets going.
#include "board/moves.h"

#include <limits>

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/state.h"
#include "board/block.h"
#include "fx/fragments.h"
#include "persist/profile.h"

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
int Menu_Slide = 0;
int64_t Menu_Slide_Start = 0;
int Menu_Slide_Offset = 0;

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
  if (T_BLOCK::CountSelected() != before) PlayEffect(Sfx_Merge);
  if (dx != 0 || dy != 0) PlayMoveSound();
  if (Current_Screen == Screen_Style) {
    // Style blocks are laid out in the row, never cleared.
    ApplyStyleRow();
    return 1;
  }
  if (Grabbed_Block->CheckCompleteBlock()) {
    T_FX::ExplodeSelectedBlocks(300, dx, dy);
    T_BLOCK::SetSelectedBlocksTimer(300);
    PlayEffect(Sfx_Disappear);
    Drag_State = 0;
    if (Key_Cursor_Mode != 0) Key_Cursor_Mode = 1;
    if (Current_Screen != Screen_Game && Pending_Screen == 0) MenuBlockCompleted();
  }
  return 1;
}

void MenuBlockCompleted() {
  // Decoration blocks of a menu carry no choice: their colour just clears.
  if (!Grabbed_Block || Grabbed_Block->Menu == -1) return;
  StartPopText(Grabbed_Block->Menu);
  Pending_Screen = Grabbed_Block->Menu;
  Menu_Slide = 1;
  Menu_Slide_Start = Now + 1000;
  Menu_Slide_Offset = 0;
}

void StartPopText(int menu) {
  // The bar is the caption block and the "!" blocks that carry it on: the pop-up is centred on
  // the bar, whatever the caption's length ("-" has a bar of one block, a one-character Chinese
  // caption a bar of four).
  int bar = 1;
  for (auto& b : Block_List) {
    if (b->Menu == menu && b->Text == u"!") bar++;
  }
  for (auto& b : Block_List) {
    if (b->Menu != menu || b->Text.empty() || b->Text == u"!") continue;
    Pop_Text_X = b->X + bar * Block_Size / 2;
    Pop_Text_Y = b->Y + Half_Block;
    Pop_Text = b->Text;
    Pop_Text_Start = Now + 300;
    Pop_Text_End = Now + 1300;
    Pop_Text_Scale = 1.0f;
    int style = b->Style();
    Pop_Text_White = style >= 0 ? Style_Light_Text[style] : 0;
    return;
  }
}

void ApplyStyleRow() {
  bool changed = false;
  for (auto& b : Block_List) {
    if (b->YMap != 4 || b->XMap < 2 || b->XMap > 7 || b->Kind < 6) continue;
    int colour = b->XMap - 2;
    if (User_Style[colour] != b->Kind - 6) {
      User_Style[colour] = b->Kind - 6;
      PlayEffect(Sfx_Click);
      changed = true;
    }
  }
  if (changed) WriteProfile(Profile_File);
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

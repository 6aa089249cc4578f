// The player's hand: mouse and touch drags, quick clicks on menu labels, hovering, and the
// keyboard cursor that can take hold of a group too.
#include "board/input_control.h"

#include <cstdlib>

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/state.h"
#include "board/block.h"
#include "board/level_play.h"
#include "board/moves.h"
#include "board/undo.h"
#include "fx/fragments.h"

int Hover_Menu = -1;

// The drag: the group chases the pointer one cell per frame along the axis of the larger
// offset (vertical on a tie); a blocked step may hand the grip to the held block under the
// pointer, so the player can pull from another part of the group.
static void DragStep(int cx, int cy) {
  int dx = 0, dy = 0;
  int ddx = cx - Drag_Cell_X, ddy = cy - Drag_Cell_Y;
  if (ddx != 0 || ddy != 0) {
    if (std::abs(ddx) > std::abs(ddy)) {
      dx = ddx < 0 ? -1 : 1;
    } else {
      dy = ddy < 0 ? -1 : 1;
    }
  }
  if (TryMove(dx, dy)) {
    bool moved = Grabbed_Block->XMap != Drag_Cell_X || Grabbed_Block->YMap != Drag_Cell_Y;
    if (moved && Current_Screen == Screen_Game) SaveUndoStep();
    Drag_Cell_X = Grabbed_Block->XMap;
    Drag_Cell_Y = Grabbed_Block->YMap;
  } else {
    T_BLOCK* under = Block_Grid[cx][cy];
    if (under && under->FlagSelect == 1) {
      Grabbed_Block = under;
      Drag_Cell_X = cx;
      Drag_Cell_Y = cy;
    }
  }
}

// Button up (or a completion ended the drag): a quick click on a menu label chooses it.
static void ReleaseDrag() {
  T_BLOCK* g = Grabbed_Block;
  if (g && Current_Screen != Screen_Game && Pending_Screen == 0 && g->XMap == Press_Cell_X &&
      g->YMap == Press_Cell_Y && Now - Press_Time < 400 && !g->Text.empty() && g->Menu != -1) {
    PlayEffect(Sfx_Click);
    PlayEffect(Sfx_Disappear);
    T_BLOCK::SelectAllSameColor(g->Kind);
    T_FX::ExplodeSelectedBlocks(Colour_Flash_Time, 0, 0);
    T_BLOCK::SetSelectedBlocksTimer(Colour_Flash_Time);
    MenuBlockCompleted();
  }
  T_BLOCK::InitRecursiveSelect();
  Grabbed_Block = nullptr;
}

static void Hover(int cx, int cy, bool on_board) {
  T_BLOCK* b = on_board ? Block_Grid[cx][cy] : nullptr;
  if (!b) {
    Hover_Menu = -1;
  } else if (b->Menu == 0) {
    // leaves Hover_Menu as it is
  } else if (b->Text.empty()) {
    Hover_Menu = -1;
  } else if (Hover_Menu != b->Menu) {
    Hover_Menu = b->Menu;
    PlayEffect(Sfx_Mouse_Over);
  }
}

void MouseControl() {
  // Division truncates toward zero: a pointer just left of the board still reads column 0.
  int cx = Mouse_X / Block_Size;
  int cy = Mouse_Y / Block_Size;
  bool on_board = OnBoard(cx, cy);
  if (Drag_State != 0) {
    if (Mouse_Down == 1 && on_board) DragStep(cx, cy);
    if (Mouse_Down == 0) Drag_State = 0;
    if (Drag_State == 0) ReleaseDrag();
  } else if (Mouse_Hit == 1) {
    // The mouse takes over: a group held with the keyboard is let go, not left lit.
    if (Key_Cursor_Mode == 2) {
      T_BLOCK::InitRecursiveSelect();
      ReleaseHold();
    }
    Key_Cursor_Mode = 0;
    if (on_board && GrabGroupAt(cx, cy)) {
      Press_Cell_X = Drag_Cell_X = cx;
      Press_Cell_Y = Drag_Cell_Y = cy;
      Press_Time = Now;
      Drag_State = 1;
    }
  } else if (Touch_Mode == 0) {
    Hover(cx, cy, on_board);
  }
}

void MoveByKey(int direction) {
  if (direction < 0 || direction > 3) return;
  int dx = Dir_X[direction], dy = Dir_Y[direction];
  if (Key_Cursor_Mode == 1) {
    if (OnBoard(Key_Cursor_X + dx, Key_Cursor_Y + dy)) {
      Key_Cursor_X += dx;
      Key_Cursor_Y += dy;
    }
    return;
  }
  // Arrows move a group held by the keyboard, or one held by a mouse drag.
  if (Key_Cursor_Mode != 2 && Drag_State == 0) return;
  if (TryMove(dx, dy) == 1) {
    // The hidden cursor follows a mouse-held group, but never off the board.
    Key_Cursor_X += dx;
    Key_Cursor_Y += dy;
    ClampKeyCursor();
    if (Current_Screen == Screen_Game) SaveUndoStep();
    // The drag goes on from where the arrow left the group, or its next frame would record
    // this same position a second time.
    if (Drag_State != 0) {
      Drag_Cell_X = Grabbed_Block->XMap;
      Drag_Cell_Y = Grabbed_Block->YMap;
    }
  }
}

int PlayStepOf(int x, int y, int dir) {
  if (Drag_State != 0 || dir < -1 || dir > 3) return 0;
  // A group held by the keyboard is let go first: the step is another group's, or the same
  // group's from where it stands.
  if (Key_Cursor_Mode == 2) {
    T_BLOCK::InitRecursiveSelect();
    ReleaseHold();
  }
  if (!GrabGroupAt(x, y)) return 0;
  int dx = dir < 0 ? 0 : Dir_X[dir], dy = dir < 0 ? 0 : Dir_Y[dir];
  int done = TryMove(dx, dy);
  if (done == 1 && (dx != 0 || dy != 0) && Current_Screen == Screen_Game) SaveUndoStep();
  T_BLOCK::InitRecursiveSelect();
  ReleaseHold();
  if (done == 1 && Key_Cursor_Mode != 0) {
    Key_Cursor_X = x + dx;
    Key_Cursor_Y = y + dy;
    ClampKeyCursor();
  }
  return done;
}

void HandleSelectKey() {
  if (Own_Cursor == 1) {
    Own_Cursor = 0;
    ShowPointer();
  }
  switch (Key_Cursor_Mode) {
    case 0:
      Key_Cursor_Mode = 1;
      // On a menu the key starts play: the saved game when there is one.
      if (Current_Screen != Screen_Game) {
        if (ResumeSavedGame()) {
          EnterPlay(0);
        } else {
          PlayFirstUnsolved();
        }
      }
      break;
    case 1:
      ClampKeyCursor();
      if (Block_Grid[Key_Cursor_X][Key_Cursor_Y]) {
        if (GrabGroupAt(Key_Cursor_X, Key_Cursor_Y)) {
          // One hand at a time: the keyboard takes over from a mouse drag.
          Drag_State = 0;
          Key_Cursor_Mode = 2;
        }
      } else if (FX_List.empty() && Current_Screen == Screen_Game) {
        UndoStep();
      }
      break;
    default:
      T_BLOCK::InitRecursiveSelect();
      ReleaseHold();
      Key_Cursor_Mode = 1;
      break;
  }
}

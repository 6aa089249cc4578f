// The scripted tutorial: the player of the script in the menu table, the hand that stands in
// for the mouse, and the hints that slide up and wait for a click.
#include "ui/tutorial.h"

#include <cmath>

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/state.h"
#include "board/block.h"
#include "i18n/language.h"
#include "ui/menu.h"
#include "ui/menu_table.h"

int Tutorial_Active = 0;
int Tutorial_Waiting = 0;
int64_t Tutorial_Wait_Start = 0;
int Tutorial_Hand_X = 0, Tutorial_Hand_Y = 0;
int Tutorial_Hand_Pressed = 0;
int Tutorial_From_X = 0, Tutorial_From_Y = 0;
int Tutorial_To_X = 0, Tutorial_To_Y = 0;
int64_t Tutorial_Step_Start = 0;
int64_t Tutorial_Step_Length = 0;
int Tutorial_Script_Cursor = 0;
String Info_Text;
int Tutorial_Text_Y = 0;

void ResetTutorial() {
  Tutorial_Active = Tutorial_Waiting = 0;
  Tutorial_Wait_Start = 0;
  Tutorial_Hand_X = Tutorial_Hand_Y = 0;
  Tutorial_Hand_Pressed = 0;
  Tutorial_From_X = Tutorial_From_Y = Tutorial_To_X = Tutorial_To_Y = 0;
  Tutorial_Step_Start = Tutorial_Step_Length = 0;
  Tutorial_Script_Cursor = 0;
  Info_Text.clear();
  Tutorial_Text_Y = 0;
}

namespace {

constexpr int64_t Drag_Length = 500;     // ms for one cell of a drag
constexpr int64_t Hint_Slide = 1000;     // ms for a hint to rise to its place

int CellCentre(int cell) { return cell * Block_Size + Half_Block; }

void HandStandsStill(int64_t length) {
  Tutorial_From_X = Tutorial_To_X = Tutorial_Hand_X;
  Tutorial_From_Y = Tutorial_To_Y = Tutorial_Hand_Y;
  Tutorial_Step_Start = Now;
  Tutorial_Step_Length = length;
}

void MoveHand(int x, int y, int pressed) {
  Tutorial_From_X = Tutorial_Hand_X;
  Tutorial_From_Y = Tutorial_Hand_Y;
  Tutorial_To_X = CellCentre(x);
  Tutorial_To_Y = CellCentre(y);
  Tutorial_Hand_Pressed = pressed;
  Tutorial_Step_Start = Now;
  if (pressed == 1) {
    Tutorial_Step_Length = Drag_Length;
  } else {
    double dx = Tutorial_To_X - Tutorial_From_X, dy = Tutorial_To_Y - Tutorial_From_Y;
    // Released, the hand travels at half a pixel per millisecond; a move to where it already
    // stands takes no time and only opens the hand.
    Tutorial_Step_Length = static_cast<int64_t>(std::sqrt(dx * dx + dy * dy) * 2.0);
  }
  Mouse_Hit = pressed;
  Mouse_Down = pressed;
}

// A demonstrated undo: the block jumps back while the undo icon is lit. A cell that is empty
// by then moves nothing, and a block never lands on another.
void JumpBlock(int x1, int y1, int x2, int y2) {
  PlayEffect(Sfx_Click);
  if (Icons[0]) Icons[0]->State = 2;
  if (!OnBoard(x1, y1) || !OnBoard(x2, y2)) return;
  T_BLOCK* b = Block_Grid[x1][y1];
  if (!b || Block_Grid[x2][y2] || Kind_Grid[x2][y2] != -1) return;
  Kind_Grid[x2][y2] = Kind_Grid[x1][y1];
  b->XMap = x2;
  b->YMap = y2;
  b->X = x2 * Block_Size;
  b->Y = y2 * Block_Size;
  Block_Grid[x2][y2] = b;
  Kind_Grid[x1][y1] = -1;
  Block_Grid[x1][y1] = nullptr;
  T_BLOCK::ShapeAllBlocks();
}

// Reads from the script's own place: other readers of the table (the display sizes, an icon
// row) may move the shared cursor between two frames of the tutorial.
int ScriptInt() {
  Menu_Table_Cursor = Tutorial_Script_Cursor;
  int value = ReadTableInt();
  Tutorial_Script_Cursor = Menu_Table_Cursor;
  return value;
}

String ScriptString() {
  Menu_Table_Cursor = Tutorial_Script_Cursor;
  String value = ReadTableString();
  Tutorial_Script_Cursor = Menu_Table_Cursor;
  return value;
}

void NextStep() {
  int code = ScriptInt();
  switch (code) {
    case Step_Move: {
      int x = ScriptInt(), y = ScriptInt(), pressed = ScriptInt();
      MoveHand(x, y, pressed == 1 ? 1 : 0);
      break;
    }
    case Step_Wait:
      HandStandsStill(ScriptInt());
      Tutorial_Hand_Pressed = 0;
      break;
    case Step_Hint:
      Info_Text = Translate(ScriptString());
      Tutorial_Waiting = 1;
      Tutorial_Text_Y = Resolution_Y;
      Tutorial_Wait_Start = Now;
      PlayEffect(Sfx_Scroll_Map);
      break;
    case Step_Press:
      HandStandsStill(ScriptInt());
      Mouse_Hit = 1;
      Mouse_Down = 1;
      Tutorial_Hand_Pressed = 1;
      break;
    case Step_Jump: {
      int x1 = ScriptInt(), y1 = ScriptInt(), x2 = ScriptInt(), y2 = ScriptInt();
      JumpBlock(x1, y1, x2, y2);
      break;
    }
    case Step_Release_Icon:
      if (Icons[0]) Icons[0]->State = 1;
      break;
    case Step_End:
      // The end, and also what a script cut short reads: the table gives 0 past its record.
      GotoScreen(Screen_MainMenu);
      return;
    default:
      break;
  }
  // Only the steps that press may press: a click the player aimed at the side bar in this
  // frame must not land on the board under the hand.
  if (code != Step_Move && code != Step_Press) {
    Mouse_Hit = 0;
    Mouse_Down = Tutorial_Hand_Pressed;
  }
  Mouse_X = Tutorial_Hand_X;
  Mouse_Y = Tutorial_Hand_Y;
}

}  // namespace

int Interpolate(int a, int b, int64_t d, int64_t t) {
  if (d == 0) return b;
  return static_cast<int>(a + (static_cast<int64_t>(b) - a) * t / d);
}

int TutorialHintRest() { return 5 * Block_Size + 10; }

void TutorialStart() {
  RestoreTable(Tutorial_Script);
  Tutorial_Script_Cursor = Menu_Table_Cursor;
  Tutorial_Hand_X = CellCentre(3);
  Tutorial_Hand_Y = CellCentre(9);   // below the board
  Tutorial_Hand_Pressed = 0;
  Tutorial_From_X = Tutorial_To_X = Tutorial_Hand_X;
  Tutorial_From_Y = Tutorial_To_Y = Tutorial_Hand_Y;
  Tutorial_Step_Start = 0;
  Tutorial_Step_Length = 0;   // the first step is read on the first frame
  Info_Text.clear();
  Tutorial_Active = 1;
  Tutorial_Waiting = 0;
  Tutorial_Wait_Start = 0;
  Tutorial_Text_Y = TutorialHintRest();
  SelectMusic(Track_Tutorial);
}

// While the script demonstrates, the board belongs to the hand: the player's own clicks left
// of the side bar are withheld, and the side bar keeps working. While a hint waits, a click on
// the board, Enter or Space moves the script on. What dismisses a hint does nothing else: the
// click must not take hold of a block, and Enter or Space must not start a level as they do on
// the menus. Both keys are taken while waiting, so that one left over cannot start a level in
// the next frame; the other keys keep their own meaning ("m", "h", Esc, ...).
void TutorialGate() {
  if (Tutorial_Waiting) {
    bool enter = KeyHit(KEY_ENTER) != 0;
    bool space = KeyHit(KEY_SPACE) != 0;
    if ((MouseOnBoard() && Mouse_Hit) || enter || space) {
      Tutorial_Waiting = 0;
      PlayEffect(Sfx_Click);
      Mouse_Hit = 0;
      Mouse_Down = 0;
    }
  } else if (Mouse_X < 10 * Block_Size) {
    Mouse_Hit = 0;
    Mouse_Down = 0;
  }
}

void TutorialStep() {
  if (!Tutorial_Active) return;
  if (Tutorial_Waiting) {
    if (Now <= Tutorial_Wait_Start + Hint_Slide) {
      Tutorial_Text_Y = Interpolate(Resolution_Y, TutorialHintRest(), Hint_Slide, Now - Tutorial_Wait_Start);
    } else {
      Tutorial_Text_Y = TutorialHintRest();
      Tutorial_Wait_Start = 0;
    }
    return;
  }
  Tutorial_Text_Y = TutorialHintRest();
  if (Now >= Tutorial_Step_Start + Tutorial_Step_Length) {
    NextStep();
    return;
  }
  int64_t elapsed = Now - Tutorial_Step_Start;
  Tutorial_Hand_X = Interpolate(Tutorial_From_X, Tutorial_To_X, Tutorial_Step_Length, elapsed);
  Tutorial_Hand_Y = Interpolate(Tutorial_From_Y, Tutorial_To_Y, Tutorial_Step_Length, elapsed);
  Mouse_X = Tutorial_Hand_X;
  Mouse_Y = Tutorial_Hand_Y;
  // The hand presses only when a step begins. A click the player gave the side bar in this
  // frame is not the hand's, and would otherwise take hold of the blocks under it.
  Mouse_Hit = 0;
  Mouse_Down = Tutorial_Hand_Pressed;
}

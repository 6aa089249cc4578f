// The style screen: every tile style is a block, the styles in use stand in the six slots of
// row 4 and the others run clockwise round the board from the top-left corner.
#include "ui/style_screen.h"

#include <algorithm>

#include "app/assets.h"
#include "app/display.h"
#include "app/state.h"
#include "board/block.h"
#include "board/moves.h"
#include "fx/text_layout.h"
#include "i18n/language.h"
#include "ui/menu.h"
#include "ui/menu_table.h"

String Style_Hint;

namespace {

// The colour whose slot a style stands in, -1 when no colour uses it. Two colours sharing a
// style give it to the lower one; the other slot stays empty and keeps its colour's style. A
// style number outside the table (a hand-edited profile) matches no block and gets none.
int ColourUsing(int style) {
  for (int k = 0; k < 6; k++) {
    if (User_Style[k] == style) return k;
  }
  return -1;
}

}  // namespace

void ShowStyleScreen() {
  SetCurrentScreen(Screen_Style);
  ClearBoard();
  int x = 0, y = 0, d = 0;
  int styles = std::min(Style_Count, Style_Sheet_Count);
  for (int s = 0; s < styles; s++) {
    int k = ColourUsing(s);
    if (k >= 0) {
      T_BLOCK::addBlock(k + 2, 4, s + 6);
      continue;
    }
    T_BLOCK::addBlock(x, y, s + 6);
    // On along the spiral: turn right whenever the edge or a block is in the way. Four turns
    // without a free cell would mean a full board; the loop must still end.
    for (int turns = 0; turns < 4; turns++) {
      int nx = x + Dir_X[d], ny = y + Dir_Y[d];
      if (!CellBlocked(nx, ny)) {
        x = nx;
        y = ny;
        break;
      }
      d = (d + 1) % 4;
    }
  }
  T_BLOCK::ShapeAllBlocks();
  SetTableIconRow(Icons_Style);
  Return_Screen = Screen_Options;
  Style_Hint = Translate(u"Style Hint");
}

HintBox StyleHintBox(const String& hint) {
  // The free middle of the screen: the ring of styles runs round the edge, the slots stand in
  // row 4. The lines are centred on the height of rows 1 to 3.
  const int left = Block_Size + 10, right = 9 * Block_Size - 10;
  WrapText(hint, right - left);
  const int lines = Text_Line_Count - 2;
  const int height = (lines - 1) * Font_Line_Height + TextHeight(hint);
  const int top = Block_Size + (3 * Block_Size - height) / 2;
  return {left, top, right, top + height + 4};   // the shadow lies 4 pixels lower
}

void DrawStyleHint() {
  if (Style_Hint.empty()) return;
  SetFont(Font_Small);
  const HintBox box = StyleHintBox(Style_Hint);
  DrawWrappedText(box.Left, box.Top, box.Right, 255, 255, 255, Style_Hint);
}

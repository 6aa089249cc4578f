// The style screen.
#include "ui/style_screen.h"

#include "app/state.h"
#include "board/block.h"
#include "ui/menu.h"
#include "ui/menu_table.h"

// For now the screen opens empty, with its icon row and its way back to the options; the
// style blocks come with the options screens.
void ShowStyleScreen() {
  Current_Screen = Screen_Style;
  ClearBoard();
  SetTableIconRow(Icons_Style);
  Return_Screen = Screen_Options;
}

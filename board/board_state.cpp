// Definitions of the state the rules share with the game around them.
#include "board/board_state.h"

#include "board/board_events.h"

int64_t Now = 0;
int Block_Size = 74;   // the default display size's cell, until the display is set up
int Board_Use = Board_Level;
int User_Style[6] = {0, 1, 2, 3, 4, 5};
BoardEvents Board_Events;

void SetDefaultStyles() {
  for (int k = 0; k < 6; k++) User_Style[k] = k;
}

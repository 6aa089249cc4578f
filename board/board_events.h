// What the rules announce as it happens: a table of hooks that the presentation fills in at
// start-up (InstallBoardEffects, fx/board_effects.h). The rules never call a sound, a particle,
// a fragment, the profile or a message box; tools and rule-only tests leave the table empty and
// the rules run with nothing above them.
#pragma once

#include "platform/platform.h"

class T_BLOCK;

struct BoardEvents {
  // A block was made and put in Block_List; the grids do not show it yet.
  void (*Block_Made)(T_BLOCK* block) = nullptr;
  // A block of the held group is about to be deleted at once, without a flash.
  void (*Block_Removed)(T_BLOCK* block) = nullptr;
  // A flashing block's time has come: it leaves the board right after this.
  void (*Block_Expired)(T_BLOCK* block) = nullptr;
  // Every block has just been dropped.
  void (*Board_Cleared)() = nullptr;
  // The held group took one step (a re-evaluation in place is no step).
  void (*Group_Stepped)() = nullptr;
  // Blocks of the held colour came to touch the group and joined it.
  void (*Groups_Merged)() = nullptr;
  // The held group holds its whole colour after a step of (dx, dy): its blocks start their
  // Colour_Flash_Time flash, still held, and leave when it ends.
  void (*Colour_Completed)(int dx, int dy) = nullptr;
  // On a menu board, a completed colour chose option `menu`, now in Pending_Screen.
  void (*Menu_Option_Chosen)(int menu) = nullptr;
  // On the style board, `changed` colours took a new style from the row (User_Style).
  void (*Style_Row_Changed)(int changed) = nullptr;
  // An undo laid out the step before the last.
  void (*Step_Undone)() = nullptr;
  // The board as it stands, about to be recorded as the history's step `moves`, is empty: that
  // move won the level, and the win must be safe before the step that shows it is.
  void (*Winning_Step)(int moves) = nullptr;
  // The winning step is about to be taken back: the board will have blocks again.
  void (*Winning_Step_Undone)() = nullptr;
  // The history is about to go (a new one begins, or one that ends on an empty board is
  // resumed): a win whose entry never came is entered now.
  void (*History_Ending)() = nullptr;
  // Whether a win still waits to reach the player's file; a history that ends on an empty board
  // is kept until none does. Nobody listening: none waits.
  bool (*Win_Waiting)() = nullptr;
  // A redo laid out the step undone last and appended it to the history.
  void (*Step_Redone)() = nullptr;
  // A file could not be read or written; the text names it for the player.
  void (*File_Problem)(const String& text) = nullptr;
};

extern BoardEvents Board_Events;

// Calls the hook when someone listens.
template <class F, class... A>
void Announce(F* hook, A... args) {
  if (hook) hook(args...);
}

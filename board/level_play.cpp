// The level being played: starting, resuming and restarting it, its clock, the win, and the
// per-frame update shared by the game screen and the menu boards.
#include "board/level_play.h"

#include "app/assets.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/state.h"
#include "board/block.h"
#include "board/hint_play.h"
#include "board/input_control.h"
#include "board/moves.h"
#include "board/undo.h"
#include "fx/board_scene.h"
#include "fx/fragments.h"
#include "fx/particles.h"
#include "fx/victory.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "levels/pending_wins.h"
#include "levels/random_level.h"
#include "levels/par.h"
#include "ui/menu.h"
#include "ui/tutorial.h"

int Level_Index = -1;
int64_t Level_Start = 0;
int64_t Level_Elapsed = 0;
int64_t Level_Final_Time = 0;
int Level_Final_Steps = 0;

void ResetLevelPlay() {
  Level_Index = -1;
  Level_Start = 0;
  Level_Elapsed = 0;
  Level_Final_Time = 0;
  Level_Final_Steps = 0;
  ResetLevelPar();
  ResetHintPlay();
}

// Level_Index names a record the catalogue has. A profile can carry any index (edited by hand,
// or written with a longer catalogue), so nothing reads a record without asking this first.
static bool HaveCatalogueLevel() { return Level_Index >= 0 && Level_Index < Official_Level_Count; }

void StartPlay(int fresh) {
  if (fresh == 1) {
    StartUndoHistory();
    Level_Start = Now;
    Level_Elapsed = 0;
  } else {
    // Only the time already played counts: the time spent away from the level does not.
    Level_Start = Now - Level_Elapsed;
  }
  if (HaveCatalogueLevel()) LoadBestTime();
  // A random level's par is the optimum its maker proved, kept in the profile for a resume; any
  // other board that is no catalogue level keeps the par whoever laid it out gave it.
  if (HaveCatalogueLevel()) {
    Current_Par = CatalogueLevelPar(Level_Index);
  } else if (PlayingRandomLevel()) {
    Current_Par = LevelPar{Random_Level.Par, Random_Level.Par > 0};
  }
  // Steps undone before the level was left are not offered again.
  DropRedoSteps();
  ForgetHint();
  // Entered directly, not through GotoScreen: the board just laid out must stay as it is.
  SetCurrentScreen(Screen_Game);
  Pending_Screen = 0;
  // A level entered while a chosen menu still slides away (Enter pressed meanwhile) must not
  // slide off the board with it.
  Menu_Slide = 0;
  Tutorial_Active = 0;
  SetGameIconRow();
  Time_Icon_Until = Now + 2000;
}

void EnterPlay(int fresh) {
  StartPlay(fresh);
  SelectMusic(Track_In_Game);
}

void RestartLevel() {
  // A random level has no record: its history's first step is its board.
  if (PlayingRandomLevel()) {
    if (LayOutFirstStep()) StartPlay(1);
    return;
  }
  // With no catalogue level the key is ignored rather than starting one the player did not
  // ask for; the menus offer that.
  if (!HaveCatalogueLevel()) return;
  if (!LoadOfficialLevel(Level_Bank, static_cast<int64_t>(Level_Index) * Level_Record_Size)) return;
  StartPlay(1);
}

void PlayFirstUnsolved() {
  int chosen = 0;
  for (int i = 0; i < Official_Level_Count; i++) {
    if (PeekShort(Level_Bank, i * Level_Record_Size + Level_Link_Offset) == 0) {
      chosen = i;
      break;
    }
  }
  // Without a catalogue there is nothing to enter; the menu stays.
  if (!LoadOfficialLevel(Level_Bank, static_cast<int64_t>(chosen) * Level_Record_Size)) return;
  Level_Index = chosen;
  EnterPlay(1);
}

// Arrow key hits, in the fixed order right, down, left, up: a frame that saw several moves the
// group in that order, one cell each.
static void ArrowKeys() {
  static const int Keys[4] = {KEY_RIGHT, KEY_DOWN, KEY_LEFT, KEY_UP};
  for (int direction = 0; direction < 4; direction++) {
    if (KeyHit(Keys[direction])) MoveByKey(direction);
  }
}

void UpdateBoardScreen() {
  ArrowKeys();
  // Space is only asked for when Enter was not hit, so a Space hit of the same frame waits
  // in the platform's count for a later frame.
  if (KeyHit(KEY_ENTER) || KeyHit(KEY_SPACE)) HandleSelectKey();

  if (Key_Char == 'r' || Key_Char == 'R') RestartLevel();

  bool undo_asked = Key_Char == 'u' || Key_Char == KEY_BACKSPACE || Mouse_Right_Hit == 1;
  // Shift+U, Ctrl+Y and Ctrl+Shift+Z: the redo keys of common editors, and "u" shifted.
  bool redo_asked = Key_Char == 'U' || Key_Char == 'Y' - '@' || Key_Char == Char_Ctrl_Shift + ('Z' - '@');
  if ((undo_asked || redo_asked) && Current_Screen == Screen_Game) {
    if (Key_Cursor_Mode != 0) {
      T_BLOCK::InitRecursiveSelect();
      ReleaseHold();
      Key_Cursor_Mode = 1;
    }
    if (undo_asked) UndoStep(); else RedoStep();
  }
  if (Current_Screen == Screen_Game) UpdateHintPlay();

  if (Current_Screen == Screen_Game) {
    Level_Elapsed = Now - Level_Start;
    if (Level_Elapsed > Level_Time_Cap) Level_Elapsed = Level_Time_Cap;
  }

  // Menu changes and the win wait for the last fragment to leave the screen.
  if (FX_List.empty()) {
    Menu_Slide = 0;
    if (Pending_Screen != 0) {
      int target = Pending_Screen;
      Pending_Screen = 0;
      GotoScreen(target);
    } else if (Current_Screen == Screen_Game) {
      CheckLevelWon();
    }
  }

  MouseControl();
  T_FX::DoBlocksExplosion();
  T_PARTICLE::DoParticles();
}

void CheckLevelWon() {
  if (!Block_List.empty()) return;
  Level_Final_Time = Level_Elapsed;
  Level_Final_Steps = StepsPlayed();
  if (Music_Flag == 1) {
    SelectMusic(Track_Victory);
  } else {
    PlayEffect(Sfx_Victory_Short);
  }
  // The switch drops the keyboard hand; a level won from the keyboard keeps keyboard play on
  // the victory screen, which then leads on to the next unsolved level.
  int keyboard = Key_Cursor_Mode;
  GotoScreen(Screen_Victory);
  if (keyboard != 0) Key_Cursor_Mode = 1;
  Prev_Best_Time = 0;
  // A board won without a catalogue level has no record to enter the time in.
  const int safe = HaveCatalogueLevel() ? EnterLevelWin() : 1;
  SetUpVictory();
  Undo_Count = 0;
  DropRedoSteps();
  // The history goes only once the win is safely in the best-scores file. Until then it stays
  // on disk beside the win's entry in Win_File; the win is written again when the next level
  // starts or the game quits, and is never won a second time (ResumeSavedGame).
  if (safe) DeleteFile(Undo_File);
  Level_Start = 0;
}

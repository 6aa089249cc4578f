// The screen switch and the menu engine. Every switch drops the keyboard hand, a running zoom of
// the level map, the tutorial and pending input, then sets the new screen up: its blocks, its
// icon row, where "back" leads, its music, or a one-shot display action.
#include "ui/menu.h"

#include "app/display.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/startup.h"
#include "app/state.h"
#include "board/block.h"
#include "board/hint_play.h"
#include "board/moves.h"
#include "fx/level_map.h"
#include "fx/victory.h"
#include "i18n/language.h"
#include "i18n/language_select.h"
#include "levels/catalogue.h"
#include "levels/random_level.h"
#include "ui/credits.h"
#include "ui/style_screen.h"
#include "ui/tutorial.h"

String Text_Last_Time;
String Text_Best_Time;

namespace {

// The smaller/bigger entries of the "Screen" menu: a loose block and a one-block caption each,
// in the two colours the record leaves free. The captions are shown as they stand.
struct SizeOption {
  int Loose_X, Loose_Y, Caption_X, Caption_Y, Kind;
  const char16_t* Caption;
  int Action;
};
constexpr SizeOption Size_Options[2] = {
    {3, 5, 7, 4, 4, u"-", Action_Smaller},
    {4, 6, 8, 4, 5, u"+", Action_Bigger},
};

void AddSizeOptions() {
  for (const SizeOption& o : Size_Options) {
    if (T_BLOCK* b = T_BLOCK::addBlock(o.Loose_X, o.Loose_Y, o.Kind)) b->SetMenu(u"", o.Action);
    if (T_BLOCK* b = T_BLOCK::addBlock(o.Caption_X, o.Caption_Y, o.Kind)) b->SetMenu(o.Caption, o.Action);
  }
  T_BLOCK::ShapeAllBlocks();
}

void OpenMenu(MenuLabel label) {
  RestoreTable(label);
  BuildMenu();
}

// The language choice, at first start or from the options.
void OpenLanguages(MenuLabel icons, int back) {
  ScanLanguages();
  T_LANG::InitFlagsSelection();
  SetTableIconRow(icons);
  Return_Screen = back;
}

// The display actions return to the "Screen" menu, rebuilt at the size now in use.
void StepSize(int direction) {
  if (StepDisplaySize(direction) == 1) ApplyDisplayMode();
  GotoScreen(Screen_Screen_Setup);
}

}  // namespace

void SetTableIconRow(MenuLabel label) {
  RestoreTable(label);
  int row[8];
  for (int& icon : row) icon = ReadTableInt();
  SetIconRow(row);
}

void SetGameIconRow() { SetTableIconRow(Icons_Game); }

void BuildMenu() {
  ClearBoard();
  ReadTableString();   // the title names the record for its readers only
  int options = ReadTableInt();
  for (int kind = 0; kind < options; kind++) {
    int loose_x = ReadTableInt(), loose_y = ReadTableInt();
    int bar_x = ReadTableInt(), bar_y = ReadTableInt();
    String caption = Translate(ReadTableString());
    int action = ReadTableInt();
    if (T_BLOCK* b = T_BLOCK::addBlock(loose_x, loose_y, kind)) b->SetMenu(u"", action);
    if (T_BLOCK* b = T_BLOCK::addBlock(bar_x, bar_y, kind)) b->SetMenu(caption, action);
    // "!" marks the blocks that carry on the caption of the block to their left.
    for (int x = bar_x + 1; x <= bar_x + 3; x++) {
      if (T_BLOCK* b = T_BLOCK::addBlock(x, bar_y, kind)) b->SetMenu(u"!", action);
    }
  }
  // The count of decoration blocks is used up run by run; a run never ends a count early.
  for (int left = ReadTableInt(); left > 0;) {
    int x0 = ReadTableInt(), y = ReadTableInt(), length = ReadTableInt();
    if (length <= 0) break;
    for (int x = x0; x < x0 + length; x++) T_BLOCK::addBlock(x, y, ReadTableInt());
    left -= length;
  }
  T_BLOCK::ShapeAllBlocks();
  Return_Screen = ReadTableInt();
  int row[8];
  for (int& icon : row) icon = ReadTableInt();
  SetIconRow(row);
}

void ShowLevelList(ByteBuffer* bank) {
  Text_Last_Time = Translate(u"Last Time");
  Text_Best_Time = Translate(u"Best Time");
  Level_Bank = bank;
  Official_Level_Count = BufferSize(bank) / Level_Record_Size;
  SetCurrentScreen(Screen_Level_List);
  ResetMapSelection();
  SetTableIconRow(Icons_LevelList);
  Return_Screen = Screen_MainMenu;
}

void GotoScreen(int id) {
  // Leaving the making screen drops the level being made.
  if (id != Screen_Making_Level) StopMakingLevel();
  Previous_Screen = Current_Screen;
  SetCurrentScreen(id);
  Key_Cursor_Mode = 0;
  DropMapZoom();
  Tutorial_Active = 0;
  FlushMouse();
  FlushKeys();
  Mouse_Down = 0;
  Mouse_Hit = 0;

  switch (id) {
    case Screen_Game: SetGameIconRow(); break;
    case Screen_MainMenu:
      OpenMenu(Label_MainMenu);
      SelectMusic(Track_Menu);
      break;
    case Screen_Options: OpenMenu(Label_Options); break;
    case Screen_Level_List: ShowLevelList(Level_Bank); break;
    case Screen_Style: ShowStyleScreen(); break;
    case Screen_Credits:
      ShowCredits();
      SetTableIconRow(Icons_Credits);
      Return_Screen = Screen_Options;
      break;
    case Action_Play: ShowLevelList(Official_Bank); break;
    case Screen_Display: OpenMenu(Label_Display); break;
    case Action_Windowed: case Action_Full_Centred: case Action_Full_Best_Fit:
      Screen_Mode = id - Action_Windowed;
      ApplyDisplayMode();
      GotoScreen(Screen_Screen_Setup);
      break;
    case Screen_Screen_Setup:
      OpenMenu(Label_Screen);
      // Best fit takes the whole desktop: there is no size to step.
      if (Screen_Mode != 2) AddSizeOptions();
      break;
    case Screen_Quality: OpenMenu(Label_Quality); break;
    case Action_Details_Automatic: case Action_Details_Low: case Action_Details_High:
      SetDetailLevel(id - Action_Details_Automatic);
      GotoScreen(Screen_Quality);
      break;
    case Screen_Symbols: OpenMenu(Label_Symbols); break;
    case Action_Symbols_Off:
    case Action_Symbols_On:
      // The menu is built again, so its own blocks show the choice at once.
      Colour_Symbols = id == Action_Symbols_On ? 1 : 0;
      GotoScreen(Screen_Symbols);
      break;
    case Screen_Dead_End: OpenMenu(Label_Dead_End); break;
    case Action_Dead_End_Off:
    case Action_Dead_End_On:
      SetDeadEndWatch(id == Action_Dead_End_On ? 1 : 0);
      GotoScreen(Screen_Dead_End);
      break;
    case Screen_Victory:
      Replay_Direction = 0;
      Replay_Deadline = 0;
      SetTableIconRow(Icons_Victory);
      break;
    case Screen_First_Language: OpenLanguages(Icons_FirstLanguage, Screen_MainMenu); break;
    case Screen_Tutorial:
      OpenMenu(Label_Tutorial);
      TutorialStart();
      Return_Screen = Previous_Screen;
      break;
    case Screen_Language: OpenLanguages(Icons_Language, Screen_Options); break;
    case Action_Smaller: StepSize(-1); break;
    case Action_Bigger: StepSize(1); break;
    case Screen_Difficulty: OpenMenu(Label_Random); break;
    case Action_Random_Easy: case Action_Random_Medium: case Action_Random_Hard: case Action_Random_Expert:
      StartRandomLevel(id - Action_Random_Easy);
      break;
    case Action_Level_Of_Day: StartLevelOfDay(); break;
    case Screen_Making_Level:
      ClearBoard();
      SetTableIconRow(Icons_Making);
      Return_Screen = Screen_Difficulty;
      break;
    case Screen_Quit: SaveProfileAndQuit();
    default: break;
  }
}

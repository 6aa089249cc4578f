// The screen switch. Every switch drops the keyboard hand and pending input, then sets the new
// screen up: its icon row, where "back" leads, its music, or a one-shot display action.
#include "ui/menu.h"

#include "app/display.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/startup.h"
#include "app/state.h"
#include "board/moves.h"
#include "i18n/language_select.h"
#include "ui/tutorial.h"

namespace {
// Side-bar rows: BACK and LAST for most screens, the music icon always in the last slot.
const int Icons_Menus[8] = {9, 0, 11, 0, 0, 0, 0, 3};
const int Icons_MainMenu[8] = {0, 0, 11, 0, 0, 0, 0, 3};
const int Icons_Game[8] = {6, 0, 8, 0, 7, 0, 1, 3};
const int Icons_Tutorial[8] = {6, 0, 11, 0, 0, 0, 1, 3};
const int Icons_Victory[8] = {0, 0, 0, 0, 0, 0, 1, 3};
const int Icons_FirstLanguage[8] = {0, 0, 0, 0, 0, 0, 0, 3};

void OpenMenu(const int icons[8], int back) {
  Return_Screen = back;
  SetIconRow(icons);
}
}  // namespace

void SetGameIconRow() { SetIconRow(Icons_Game); }

void GotoScreen(int id) {
  Previous_Screen = Current_Screen;
  Current_Screen = id;
  Key_Cursor_Mode = 0;
  Tutorial_Active = 0;
  FlushMouse();
  FlushKeys();
  Mouse_Down = 0;
  Mouse_Hit = 0;

  switch (id) {
    case Screen_Game: SetIconRow(Icons_Game); break;
    case Screen_MainMenu:
      OpenMenu(Icons_MainMenu, Screen_MainMenu);
      SelectMusic(1);
      break;
    case Screen_Options: OpenMenu(Icons_Menus, Screen_MainMenu); break;
    case Screen_Level_List:
    case 19:
      Current_Screen = Screen_Level_List;
      OpenMenu(Icons_Menus, Screen_MainMenu);
      break;
    case Screen_Style: OpenMenu(Icons_Menus, Screen_Options); break;
    case Screen_Credits: OpenMenu(Icons_Menus, Screen_Options); break;
    case Screen_Display: OpenMenu(Icons_Menus, Screen_Options); break;
    case 21: case 22: case 23:
      Screen_Mode = id - 21;
      ApplyDisplayMode();
      GotoScreen(Screen_Screen_Setup);
      break;
    case Screen_Screen_Setup: OpenMenu(Icons_Menus, Screen_Display); break;
    case Screen_Quality: OpenMenu(Icons_Menus, Screen_Display); break;
    case 26: case 27: case 28:
      SetDetailLevel(id - 26);
      GotoScreen(Screen_Quality);
      break;
    case Screen_Victory: SetIconRow(Icons_Victory); break;
    case Screen_First_Language:
      ScanLanguages();
      T_LANG::InitFlagsSelection();
      SetIconRow(Icons_FirstLanguage);
      Return_Screen = Screen_MainMenu;
      break;
    case Screen_Tutorial:
      OpenMenu(Icons_Tutorial, Screen_MainMenu);
      TutorialStart();
      Return_Screen = Previous_Screen;
      break;
    case Screen_Language:
      ScanLanguages();
      T_LANG::InitFlagsSelection();
      SetIconRow(Icons_Menus);
      Return_Screen = Screen_Options;
      break;
    case 48: case 49:
      if (StepDisplaySize(id == 49 ? 1 : -1) == 1) ApplyDisplayMode();
      GotoScreen(Screen_Screen_Setup);
      break;
    case Screen_Quit: SaveProfileAndQuit();
    default: break;
  }
}

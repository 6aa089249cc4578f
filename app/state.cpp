// Definitions of the shell's global state.
#include "app/state.h"

int64_t Start_Time = 0;
int Mouse_X = 0, Mouse_Y = 0;
int Mouse_Z = 0;
int Mouse_Hit = 0;
int Mouse_Down = 0;
int Mouse_Right_Hit = 0;
int Key_Char = -1;
int Touch_Mode = 0;
int Own_Cursor = 0;

int Current_Screen = 0;
int Return_Screen = 1;
int Previous_Screen = 0;

String User_Data_Dir;
String Language_Dir;
String Profile_File;
String Best_Scores_File;
String Win_File;
String Catalogue_Url;
String Font_Url;
String Language_File;

void ResetShellState() {
  SetCurrentScreen(Screen_Game);
  Return_Screen = Screen_MainMenu;
  Previous_Screen = Screen_Game;
  Start_Time = 0;
  Mouse_X = Mouse_Y = 0;
  Mouse_Z = 0;
  Mouse_Hit = Mouse_Down = Mouse_Right_Hit = 0;
  Key_Char = -1;
  Touch_Mode = 0;
  Own_Cursor = 0;
}

void SetCurrentScreen(int id) {
  Current_Screen = id;
  Board_Use = id == Screen_Game ? Board_Level : id == Screen_Style ? Board_Style : Board_Menu;
}

const String Version_Number = u"1.4.0";
String Version_Label;
String Profile_Version;

// The counter restarts from 0 after about 24.8 days. Every deadline set before that (a colour
// flashing out, fragments about to fly, a fade, the level clock's start) would then lie weeks
// ahead: the colour would never leave the board and the level clock would run negative. So
// each restart adds one whole turn of the counter and the game's time keeps growing. Only a
// drop of more than half a turn is a restart; anything smaller is the clock being set back.
int64_t ReadClock() {
  constexpr int64_t Turn = int64_t{1} << 31;
  static int64_t Last_Count = -1;
  static int64_t Turns = 0;
  const int64_t count = static_cast<int64_t>(Millisecs() & 0x7FFFFFFFu);
  if (Last_Count >= 0 && Last_Count - count > Turn / 2) Turns++;
  Last_Count = count;
  return count + Turns * Turn;
}

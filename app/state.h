// Global state of the application shell: the clock, the per-frame input, the screen ids and
// the running screen, the player's file locations and the version label.
#pragma once

#include <cstdint>

#include "board/board_state.h"   // Now, the frame's clock, is the rules' time too
#include "platform/platform.h"

// ---- Clock and per-frame input (written by the frame loop and PollTouch) ----
extern int64_t Start_Time;   // Now just before the first frame
extern int Mouse_X, Mouse_Y; // play-area pixels
extern int Mouse_Z;
extern int Mouse_Hit;        // left presses since the last frame (1 for a new touch)
extern int Mouse_Down;
extern int Mouse_Right_Hit;
extern int Key_Char;         // the character taken from the queue this frame, 0 when none
extern int Touch_Mode;
extern int Own_Cursor;       // the hand sprite replaces the system pointer ("h")

// ---- Screens ----
enum ScreenId {
  Screen_Game = 0,
  Screen_MainMenu = 1,
  Screen_GameMode = 2,
  Screen_Options = 3,
  Screen_Difficulty = 4,          // the random level's menu: a difficulty or the day's level
  Screen_Level_List = 9,
  Screen_Style = 11,
  Screen_Credits = 12,
  Screen_Display = 20,
  Screen_Screen_Setup = 24,
  Screen_Quality = 25,
  Screen_Symbols = 29,
  Screen_Dead_End = 32,           // the dead-end watch: On or Off
  Screen_Victory = 43,
  Screen_First_Language = 44,
  Screen_Tutorial = 45,
  Screen_Language = 46,
  Screen_Making_Level = 47,       // a random level is being made; it starts when it is ready
  Screen_Quit = 99,
};
extern int Current_Screen;
extern int Return_Screen;
extern int Previous_Screen;

// The game screen with nothing pressed, typed or touched; "back" leads to the main menu.
void ResetShellState();
// Current_Screen and, with it, what the board is for (Board_Use): a level on the game screen,
// the style board on the style screen, a menu anywhere else. Sets nothing up; GotoScreen does.
void SetCurrentScreen(int id);

// ---- The player's files ----
extern String User_Data_Dir;
extern String Language_Dir;
extern String Profile_File;
extern String Best_Scores_File;
extern String Win_File;        // wins that may not be in the best-scores file yet (levels/pending_wins.h)
extern String Catalogue_Url;
extern String Font_Url;
extern String Language_File;   // full path of the chosen language file, "" before the first choice

// ---- Version ----
extern const String Version_Number;   // "1.4.0"
extern String Version_Label;          // "F" + Version_Number
extern String Profile_Version;        // the profile's "Version", Version_Label when it has none

// The clock as the game reads it: the platform counter with its top bit cleared, counted on
// past each restart of that counter so that it never runs backwards.
int64_t ReadClock();

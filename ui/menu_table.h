// The constant menu table: the menu records, the side-bar icon rows, the display sizes and the
// tutorial script, one built-in array of integers and strings read with a cursor that can be
// put back at a label.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

// Where a reader can put the cursor. Each label starts a record of one kind (MenuLabelKind).
enum MenuLabel {
  Label_MainMenu,
  Label_Options,
  Label_Display,
  Label_Quality,
  Label_Screen,
  Label_Symbols,
  Label_Tutorial,
  Icons_Game,
  Icons_LevelList,
  Icons_Style,
  Icons_Credits,
  Icons_Victory,
  Icons_FirstLanguage,
  Icons_Language,
  Label_Display_Sizes,
  Tutorial_Script,
  Label_Random,
  Icons_Making,
  Label_Dead_End,
  Menu_Label_Count
};

// The ids a menu option passes to GotoScreen that are one-shot actions rather than screens (the
// screens are the ScreenId of app/state.h). Each action ends on a real screen, or quits.
enum MenuAction {
  Action_Play = 19,               // the level list of the official levels
  Action_Windowed = 21,           // Screen_Mode = id - Action_Windowed
  Action_Full_Centred = 22,
  Action_Full_Best_Fit = 23,
  Action_Details_Automatic = 26,  // SetDetailLevel(id - Action_Details_Automatic)
  Action_Details_Low = 27,
  Action_Details_High = 28,
  Action_Smaller = 48,            // the "-" and "+" of the "Screen" menu
  Action_Bigger = 49,
  Action_Random_Easy = 50,        // a random level of difficulty id - Action_Random_Easy
  Action_Random_Medium = 51,
  Action_Random_Hard = 52,
  Action_Random_Expert = 53,
  Action_Level_Of_Day = 54,       // the level of today's date
};

// The steps of the tutorial's script (ui/tutorial_script.inc, read by TutorialStep, checked by
// CheckMenuTable): a code and its operands.
enum TutorialStepCode {
  Step_End = 0,            // back to the main menu
  Step_Move = 1,           // x, y, pressed: the hand moves to the centre of cell (x, y)
  Step_Wait = 2,           // ms: the hand waits, released
  Step_Hint = 3,           // key: a hint slides in and waits for the player's click
  Step_Press = 4,          // ms: the hand presses where it stands
  Step_Jump = 5,           // x1, y1, x2, y2: a block jumps back, the undo icon lit
  Step_Release_Icon = 6,   // the undo icon goes back to normal
};

// The colour-blind aid's choices in the "Symbols" menu, which they return to.
enum SymbolsAction { Action_Symbols_Off = 30, Action_Symbols_On = 31 };

// The dead-end watch's choices in the "Dead Ends" menu, which they return to.
enum DeadEndAction { Action_Dead_End_Off = 33, Action_Dead_End_On = 34 };

enum MenuRecordKind { Record_Menu, Record_Icon_Row, Record_Display_Sizes, Record_Tutorial_Script };

enum MenuItemType { Item_Int, Item_String, Item_Label };

struct MenuItem {
  MenuItemType Type;
  int Value;               // the integer, or the MenuLabel of a label
  const char16_t* Text;    // the string
};

constexpr MenuItem TableInt(int value) { return {Item_Int, value, nullptr}; }
constexpr MenuItem TableString(const char16_t* text) { return {Item_String, 0, text}; }
constexpr MenuItem TableLabel(MenuLabel label) { return {Item_Label, label, nullptr}; }

extern const MenuItem Menu_Table[];
extern const int Menu_Table_Size;
extern int Menu_Table_Cursor;   // index of the next item to read

MenuRecordKind MenuLabelKind(MenuLabel label);
const char* MenuLabelName(MenuLabel label);

// Puts the cursor on the first item after the label.
void RestoreTable(MenuLabel label);
// The item under the cursor, then the cursor moves on. An item of the other type (or a label,
// or the end of the table) is not read past: it gives 0 or "" and the cursor stays.
int ReadTableInt();
String ReadTableString();

// Every way the items break the readers' expectations: a label missing or given twice, a
// record that does not read as its kind, a decoration count not used up by whole runs, a cell
// off the board or taken twice, a record that runs into the next label or leaves items over.
// Empty for a sound table.
std::vector<std::string> CheckMenuTable(const MenuItem* items, int count);
// Checks the game's own table once; a fault stops a debug build with the list of problems and
// is reported on standard error in any build.
void VerifyMenuTable();

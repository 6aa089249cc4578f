// The screen switch and the menu engine: every screen id and how its screen is set up, menus
// built as boards of blocks from the menu table, and the opening of the level list.
#pragma once

#include "platform/platform.h"
#include "ui/menu_table.h"

// The level list's labels, looked up when the list opens.
extern String Text_Last_Time;
extern String Text_Best_Time;

// Switches to screen `id` or carries out the one-shot action `id` (which ends on a real screen).
void GotoScreen(int id);
// Clears the board and builds the menu record at the table's cursor: its options as a loose
// block and a four-block caption bar each, its decoration, where "back" leads, its icon row.
void BuildMenu();
// Opens the level list on a bank of 404-byte level records.
void ShowLevelList(ByteBuffer* bank);
// Reads the icon row at `label` into the side bar.
void SetTableIconRow(MenuLabel label);
// The side bar of the game screen, for play entered without a screen switch.
void SetGameIconRow();

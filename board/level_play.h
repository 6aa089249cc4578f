// The level being played: its catalogue index, its clock, and the per-frame update of every
// board screen (a level in play and the menus, whose entries are blocks).
#pragma once

#include <cstdint>

extern int Level_Index;          // catalogue index of the current level, -1 for none
extern int64_t Level_Elapsed;    // milliseconds spent on the current level

void UpdateBoardScreen();
void EnterPlay(int fresh);
void RestartLevel();
// Loads and enters the first catalogue level without a best time.
void PlayFirstUnsolved();

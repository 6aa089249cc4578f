// The level being played: its catalogue index, its clock, and the per-frame update of every
// board screen (a level in play and the menus, whose entries are blocks).
#pragma once

#include <cstdint>

extern int Level_Index;            // catalogue index of the current level, -1 for none
extern int64_t Level_Start;        // Now when the clock started, set back by the time already played
extern int64_t Level_Elapsed;      // milliseconds spent on the current level, at most Level_Time_Cap
extern int64_t Level_Final_Time;   // Level_Elapsed at the moment the level was won
extern int Level_Final_Steps;      // the steps the level was won in

// The clock stops at 99'59": a longer game still counts, as 5999 seconds.
constexpr int64_t Level_Time_Cap = 5999000;

// No current level, its clock at zero.
void ResetLevelPlay();
// Starts (fresh = 1) or resumes (fresh = 0) play on the board as it stands.
void StartPlay(int fresh);
// StartPlay, then the in-game music: play entered from another screen.
void EnterPlay(int fresh);
// Lays the current catalogue level out again and starts it anew; a random level starts again
// from its history's first step. Does nothing while there is no level to reload (Level_Index
// -1 without a random level, or an index the catalogue does not have).
void RestartLevel();
// Loads and enters the first catalogue level without a best time (the first level when all
// have one).
void PlayFirstUnsolved();
// Once per frame on every board screen: keys, clock, the hand-over of a menu choice, the win,
// the mouse, fragments and particles.
void UpdateBoardScreen();
// The board is empty: freeze the time, record it and go to the victory screen.
void CheckLevelWon();

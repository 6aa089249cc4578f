// The random level in play and the making of one: the worker thread that makes it while the
// frame loop runs on, the level of the day, and the level code that names it.
#pragma once

#include <cstdint>
#include <string>

#include "levelgen/random_level.h"
#include "platform/platform.h"

// What the level in play is when it is a random one (Level_Index -1). Kept in the profile, so
// a random level resumed after a restart still knows its code and par.
struct RandomLevel {
  int Active = 0;     // the board in play was made from Code
  LevelCode Code;
  int Par = 0;        // its proven fewest steps
};
extern RandomLevel Random_Level;
extern int Making_Level;        // 1 while a level is being made
extern int64_t Making_Since;    // Now when it began

// No random level in play and none being made (a running worker is stopped first).
void ResetRandomLevel();
// The level in play is a random one: no catalogue level is current and one was made.
bool PlayingRandomLevel();
// Days since 1970-01-01 of today's local date.
int TodayNumber();

// Opens the making screen and starts the worker on `code`; the level starts by itself when it
// is ready (UpdateMakingLevel). A level being made already is dropped.
void StartMakingLevel(const LevelCode& code);
// A new seed at `difficulty`, or the level of today.
void StartRandomLevel(int difficulty);
void StartLevelOfDay();
// Asks a running worker to stop and waits for it (it looks at the request every few thousand
// positions, so this is short); nothing when none runs.
void StopMakingLevel();
// Once per frame on the making screen: hands a ready level over to play.
void UpdateMakingLevel();
// Blocks up to `max_ms` of real time until the worker is done; true when it is. For the test
// driver, whose virtual clock would otherwise run far ahead of the worker.
bool WaitForMadeLevel(int max_ms);

// "--level CODE" on the command line: the level to make once the game has started. False,
// with the player told why, for a code that does not read.
bool StartLevelFromCode(const std::string& text);

// The victory screen's lines for a random level: the title, the date of a level of the day
// ("" for others) and the code.
String RandomLevelTitle();
String RandomLevelDate();
String RandomLevelCodeLine();

// Progress and best scores: solved levels, move counts, last and best times per level, kept in
// a byte buffer for the whole run and written back to the player's file after every win.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Buffer and file layout (little-endian): a 4-byte header, then 12-byte records in the order
// levels were first solved. A catalogue record's link (offset 2) holds the offset of its
// level's record here, 0 while it has none; links are rebuilt at every start.
constexpr int Best_Header_Size = 4;     // unsigned 16-bit format word 1, unsigned 16-bit 0
constexpr int Best_Record_Size = 12;
constexpr int Best_Id_Offset = 0;       // unsigned 16-bit level identifier
constexpr int Best_Moves_Offset = 2;    // unsigned 16-bit moves of the best solution
constexpr int Best_Last_Offset = 4;     // signed 32-bit seconds of the latest solution
constexpr int Best_Time_Offset = 8;     // signed 32-bit best seconds; 0 = the last time is the best

extern ByteBuffer* Best_Scores;   // the records as read at start and grown by every first solution
extern int Best_Count;            // whole records in Best_Scores
extern int64_t Prev_Best_Time;    // best time of the current level in ms, 0 when none

// Loads the player's file (an empty buffer when there is none) and links its records to the
// catalogue, after the catalogue has been read. A file that is there but cannot be read is
// reported and left alone for the whole run.
void LinkBestScores();
// The offset in Best_Scores of the record of catalogue level `level_index`, 0 when that level
// has none; a non-zero result always has a whole record to read behind it.
int BestScoreLink(int level_index);
// Prev_Best_Time of the current catalogue level.
void LoadBestTime();
// Enters a win of `ms` with `moves` moves for catalogue level `level_index`, and gives the
// level's best time before it in *prev_best (ms, 0 for a first solution); 1 for a first
// solution or a new best.
int RecordWin(int level_index, int64_t ms, int moves, int64_t* prev_best);
// Enters Level_Final_Time for the current catalogue level; 1 for a first solution or a new best.
int RecordLevelTime();
// True when the level's record already holds this win: its last time is the win's second,
// and entering the win again would change nothing.
bool WinRecorded(int level_index, int64_t ms);
// Writes the buffer to the player's file (ReplaceFile); 1 when it is there. A failed write
// leaves the old file as it was, keeps the buffer for the next save, and is reported with
// "Can't write " once until a save goes through again.
int SaveBestScores();

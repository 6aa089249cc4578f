// Progress and best scores: solved levels, move counts, last and best times per level.
#pragma once

#include <cstdint>

extern int64_t Prev_Best_Time;   // best time of the current level in ms, 0 when none

void LinkBestScores();
// Prev_Best_Time of the current catalogue level.
void LoadBestTime();
// Enters Level_Final_Time for the current catalogue level; 1 for a first solution or a new best.
int RecordLevelTime();
void SaveBestScores();

// Progress and best scores.
#include "levels/best_scores.h"

int64_t Prev_Best_Time = 0;

// For now no best scores are read.
void LinkBestScores() {}
// For now no best time is known.
void LoadBestTime() { Prev_Best_Time = 0; }
// For now nothing is recorded.
int RecordLevelTime() { return 0; }
// For now nothing is written.
void SaveBestScores() {}

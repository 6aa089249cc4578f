// The level being played. For now only the state that the profile and the side bar share; the
// rules of starting, restarting and winning a level come with level play.
#include "board/level_play.h"

int Level_Index = -1;
int64_t Level_Elapsed = 0;

// For now a board screen has nothing to update beyond what the frame loop does.
void UpdateBoardScreen() {}
// For now entering play does nothing.
void EnterPlay(int) {}
// For now restarting does nothing.
void RestartLevel() {}
// For now starting the first unsolved level does nothing.
void PlayFirstUnsolved() {}

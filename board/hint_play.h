// The hint in play: the key that asks for it ("?" or F1), its three presses (the group to move,
// then its direction, then the step played as a move of the player's own), the search in the
// background, the dead-end warning, and the corner that shows the steps against par.
#pragma once

#include "solver/hint.h"

extern int Hint_Stage;         // 0 nothing shown; 1 the group marked (or the message); 2 its direction too
extern int Hint_Waiting;       // asked for, and the search is still on: the hint says it is thinking
extern int Hint_Known;         // Hint_Answer is the answer for Hint_Board
extern BoardCells Hint_Board;  // the board the hint is about: the board as it stands
extern HintAnswer Hint_Answer;
extern HintBudget Hint_Budget; // what one answer may cost
extern int Dead_End_Watch;     // option (profile "Dead End Watch", off by default): every move is checked, a dead end marked
extern int Par_Corner_Shown;   // the steps and par in the board's corner ("p" hides them)

// Nothing asked, nothing shown, no search running, the watch off and the corner shown.
void ResetHintPlay();
// Nothing asked, nothing shown, no search running (a level started or resumed); the watch and
// the corner keep their setting.
void ForgetHint();
// Every frame on the game screen: the answer taken in when it is there, the hint forgotten
// when the board changed (kept when the player played the very step it showed), the keys.
void UpdateHintPlay();
// The dead-end watch on (1) or off (0).
void SetDeadEndWatch(int on);
// The hint key: the next stage of the hint, or a search started.
void PressHint();
// Blocks until the search running is answered (scripted runs, so that they repeat exactly).
void WaitForHintSearch();
// The steps of the level so far: one group moved one cell each.
int StepsPlayed();

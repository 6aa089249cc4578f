// The scripted tutorial: a hand demonstrates the rules on the board while hints explain them.
// The hand's position and button replace the mouse before the board rules run, so the blocks
// move, merge and burst exactly as in a level.
#pragma once

#include <cstdint>

#include "platform/platform.h"

extern int Tutorial_Active;         // the script runs; every screen switch clears it
extern int Tutorial_Waiting;        // a hint is shown and the script waits for the player's click
extern int64_t Tutorial_Wait_Start; // Now when the hint began to slide in; 0 once it has arrived
extern int Tutorial_Hand_X, Tutorial_Hand_Y;   // board pixels
extern int Tutorial_Hand_Pressed;
extern int Tutorial_From_X, Tutorial_From_Y;   // the current hand movement
extern int Tutorial_To_X, Tutorial_To_Y;
extern int64_t Tutorial_Step_Start;
extern int64_t Tutorial_Step_Length;           // the next step is read once Now >= start + length
extern int Tutorial_Script_Cursor;             // the script's own place in the menu table
extern String Info_Text;            // the hint or page text shown over the board
extern int Tutorial_Text_Y;         // top of the hint, board pixels

// No tutorial running, no hint shown, the hand at rest at the top left.
void ResetTutorial();
// Puts the script at its first step, the hand below the board, and the tutorial music on.
void TutorialStart();
// Before TutorialStep each frame: a waiting hint is dismissed by a click on the board, Enter
// or Space; otherwise the player's clicks on the board are withheld from it.
void TutorialGate();
// One frame of the script: the hint sliding in while it waits, else the hand's movement and,
// when the current step is over, the next step.
void TutorialStep();
// a + (b - a) * t / d in 64 bits, truncated toward zero; d is never 0.
int Interpolate(int a, int b, int64_t d, int64_t t);
// The hint's resting top: half a row below the middle of the board.
int TutorialHintRest();

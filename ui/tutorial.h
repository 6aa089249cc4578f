// The scripted tutorial: a hand demonstrates the rules on the board while hints explain them.
#pragma once

#include <cstdint>

#include "platform/platform.h"

extern int Tutorial_Active;
extern int Tutorial_Waiting;        // the script waits for the player's click
extern int64_t Tutorial_Wait_Start;
extern int Tutorial_Hand_X, Tutorial_Hand_Y;
extern int Tutorial_Hand_Pressed;
extern String Info_Text;            // the hint or page text shown over the board
extern int Tutorial_Text_Y;         // top of the hint, board pixels

void TutorialStart();
void TutorialStep();

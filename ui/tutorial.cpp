// The scripted tutorial.
#include "ui/tutorial.h"

int Tutorial_Active = 0;
int Tutorial_Waiting = 0;
int64_t Tutorial_Wait_Start = 0;
int Tutorial_Hand_X = 0, Tutorial_Hand_Y = 0;
int Tutorial_Hand_Pressed = 0;
String Info_Text;
int Tutorial_Text_Y = 0;

// For now the tutorial has no script to play.
void TutorialStart() {}
void TutorialStep() {}

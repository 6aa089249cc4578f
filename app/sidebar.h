// The side bar of icons beside the board, the pop-up text of a chosen entry, the tutorial's
// hand, and touch input turned into pointer input.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

class T_ICON {
 public:
  int Index = 0;       // 0 empty slot, 1..11 icon number (frame Index - 1)
  int State = 0;       // 0 hidden, 1 normal, 2 lit, 3 blinking
  int64_t Timer = 0;
};

// What a slot of the side bar shows and does (T_ICON::Index; frame Index - 1 of the strips).
enum IconNumber {
  Icon_None = 0, Icon_Menu = 1, Icon_Music = 3, Icon_Undo = 6, Icon_Time = 7, Icon_Restart = 8,
  Icon_Back = 9, Icon_Last = 11
};

extern T_ICON* Icons[8];
extern int Hover_Icon;
extern int64_t Icon_Blink_End;

extern String Pop_Text;
extern int Pop_Text_X, Pop_Text_Y;
extern int64_t Pop_Text_Start, Pop_Text_End;
extern float Pop_Text_Scale;
extern int Pop_Text_White;

extern std::vector<TouchPoint> Touch_Points;

void InitIcons();
void SetIconRow(const int row[8]);
void RefreshIconStates();
int UpdateSideBar();
void DrawSideBar();
void DrawTimeIcon(int x, int y);
void DrawTimeDigits(int64_t ms, int x, int y);
// The caption of menu option `menu` pops up over its bar (after its colour's flash).
void StartPopText(int menu);
void DrawPopText();
void DrawTutorialHand();
void InitTouch();
void PollTouch();

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
// The word each slot's button carries under its pictogram, in the player's language; taken
// from the language when the row is set, empty for buttons without a word.
extern String Icon_Words[8];

// Where a button's word goes in its 64 x 64 picture: centred, its top Icon_Word_Top below the
// picture's top, and squeezed sideways when wider than Icon_Word_Room (the badge's inner width).
constexpr int Icon_Word_Top = 41;
constexpr int Icon_Word_Room = 52;
// The language key of the word on button `index` (1..11), nullptr for a button without one.
const char16_t* IconWordKey(int index);

// The drawn hand's picture reaches this far from its fingertip (left, up, right, down), shadow
// and the pressed hand's click strokes included; the tutorial keeps its text out of it.
struct HandExtent {
  int Left, Up, Right, Down;
};
constexpr HandExtent Hand_Extent = {30, 24, 46, 110};

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

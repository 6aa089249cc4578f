// The level map's state and update: the grid's geometry, the hit test, scrolling by keys, wheel
// and drags with inertia and an elastic return, hovering, and the click that chooses a level.
#include "fx/level_map.h"

#include <cmath>
#include <cstdlib>

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/state.h"
#include "board/level_play.h"
#include "board/moves.h"
#include "levels/catalogue.h"

float Level_List_Scroll = 0;
float Level_List_Speed = 0;
int Map_Press_X = 0, Map_Press_Y = 0;
int Map_Press_Scroll = 0;
int Map_Last_Y = 0;
int Hover_Level = -1;
int64_t Zoom_Until = 0;
int Zoom_X0 = 0, Zoom_Y0 = 0, Zoom_X1 = 0, Zoom_Y1 = 0;

namespace {
constexpr int Click_Slack = 8;           // pixels a click may move on either axis
constexpr int64_t Click_Time = 400;      // ms a click may last
constexpr float Friction = 1.05f;        // speed divided by this per update
constexpr float Pull_Rate = 220;         // beyond an end, speed gains overshoot / 220 per update
constexpr float Pull_Limit = 11;         // ... up to overshoot / 11
constexpr float Key_Step = 20, Page_Step = 200, Wheel_Step = 40;

// The level that was current when a thumbnail was clicked, back in place if the zoom is
// dropped before the level starts.
int Level_Before_Zoom = -1;

}  // namespace

void ResetLevelMap() {
  Level_List_Scroll = Level_List_Speed = 0;
  Map_Press_X = Map_Press_Y = 0;
  Map_Press_Scroll = 0;
  Map_Last_Y = 0;
  Hover_Level = -1;
  Zoom_Until = 0;
  Zoom_X0 = Zoom_Y0 = Zoom_X1 = Zoom_Y1 = 0;
  Level_Before_Zoom = -1;
}

namespace {

void ScrollByKeys(float bottom) {
  if (KeyDown(KEY_HOME)) Level_List_Scroll = 0;
  if (KeyDown(KEY_END)) Level_List_Scroll = bottom;
  if (KeyDown(KEY_DOWN)) Level_List_Scroll -= Key_Step;
  if (KeyDown(KEY_UP)) Level_List_Scroll += Key_Step;
  if (KeyDown(KEY_PAGE_DOWN)) Level_List_Scroll -= Page_Step;
  if (KeyDown(KEY_PAGE_UP)) Level_List_Scroll += Page_Step;
}

// Inertia, then the pull back from beyond either end. The pull is capped so that the grid
// lands exactly on the end and never swings past it.
void Glide(float bottom) {
  float& scroll = Level_List_Scroll;
  float& speed = Level_List_Speed;
  if (speed != 0) {
    scroll += speed;
    speed /= Friction;
    if (std::fabs(speed) < 0.01f) speed = 0;
  }
  if (scroll >= 0) {
    if (speed > -scroll / Pull_Limit) speed -= scroll / Pull_Rate;
    if (scroll + speed < 0) speed = -scroll;
  }
  if (scroll <= bottom) {
    if (speed < (bottom - scroll) / Pull_Limit) speed += (bottom - scroll) / Pull_Rate;
    if (scroll + speed > bottom) speed = bottom - scroll;
  }
}

void HoverLevel() {
  int level = MouseOnBoard() ? LevelAt(Mouse_X, Mouse_Y) : -1;
  if (level < 0) {
    Hover_Level = -1;
  } else if (level != Hover_Level) {
    Hover_Level = level;
    PlayEffect(Sfx_Mouse_Over);
  }
}

void ChooseLevel(int level) {
  PlayEffect(Sfx_Start);
  Level_Before_Zoom = Level_Index;
  Level_Index = level;
  LoadOfficialLevel(Level_Bank, static_cast<int64_t>(level) * Level_Record_Size);
  Return_Screen = Screen_Level_List;
  int columns = LevelMapColumns();
  int column = level % columns, row = level / columns;
  StartMapZoom(Map_Margin + Map_Cell_Width * column,
               static_cast<int>(Map_Row_Height * row + Level_List_Scroll + Map_Margin));
  FlushKeys();
}

void Release(float bottom) {
  bool click = MouseOnBoard() && std::abs(Map_Press_X - Mouse_X) < Click_Slack &&
               std::abs(Map_Press_Y - Mouse_Y) < Click_Slack && Now - Press_Time < Click_Time;
  if (click && Zoom_Until == 0) {
    int level = LevelAt(Mouse_X, Mouse_Y);
    if (level >= 0) ChooseLevel(level);
  }
  FlushMouse();
  // Let go beyond an end, the grid is pulled back at once.
  if (Level_List_Scroll > 0) Level_List_Speed = -Level_List_Scroll / Pull_Limit;
  if (Level_List_Scroll <= bottom) Level_List_Speed = (bottom - Level_List_Scroll) / Pull_Limit;
  Drag_State = 0;
}
}  // namespace

int LevelMapColumns() {
  int columns = 0;
  while (Map_Margin + Map_Cell_Width * columns < Resolution_X - Map_Cell_Width) columns++;
  return columns > 0 ? columns : 1;
}

int LevelMapBottom() {
  int columns = LevelMapColumns();
  int rows = (Official_Level_Count + columns - 1) / columns;
  int bottom = Resolution_Y - rows * Map_Row_Height;
  return bottom < 0 ? bottom : 0;
}

int LevelAt(int x, int y) {
  int columns = LevelMapColumns();
  // Divisions truncate toward zero, so the left margin counts as the first column. Right of
  // the last column's gap there is no thumbnail: that space must not reach into the next row.
  int column = (x - Map_Margin) / Map_Cell_Width;
  if (column >= columns) return -1;
  int row = (y - static_cast<int>(Level_List_Scroll)) / Map_Row_Height;
  int index = column + row * columns;
  if (index < 0 || index >= Official_Level_Count || y < Level_List_Scroll) return -1;
  return index;
}

void DropMapZoom() {
  if (Zoom_Until != 0) Level_Index = Level_Before_Zoom;
  Zoom_Until = 0;
}

void UpdateLevelMap() {
  const float bottom = static_cast<float>(LevelMapBottom());
  ScrollByKeys(bottom);
  if (Mouse_Z != 0) {
    Level_List_Scroll += Wheel_Step * Mouse_Z;
    FlushMouse();
  }
  if (Drag_State == 0) {
    Glide(bottom);
    if (MouseOnBoard() && Mouse_Hit) {
      Drag_State = 1;
      Map_Press_X = Mouse_X;
      Map_Press_Y = Mouse_Y;
      Map_Press_Scroll = static_cast<int>(Level_List_Scroll);
      Map_Last_Y = Mouse_Y;
      Press_Time = Now;
      Level_List_Speed = 0;
    }
    HoverLevel();
  }
  if (Drag_State == 1 && Mouse_Down) {
    // The grid follows the pointer and keeps the last frame's movement as its speed.
    Level_List_Scroll = static_cast<float>(Map_Press_Scroll + (Mouse_Y - Map_Press_Y));
    Level_List_Speed = static_cast<float>(Mouse_Y - Map_Last_Y);
    Map_Last_Y = Mouse_Y;
    return;
  }
  if (Drag_State == 1) Release(bottom);
}

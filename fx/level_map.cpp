// The level map's state and update: the grid's geometry, the hit test, scrolling by wheel and
// drags with inertia and an elastic return, hovering, the click that chooses a level, and the
// keyboard's selection.
#include "fx/level_map.h"

#include <algorithm>
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
int Map_Selection = 0;
int Map_Selection_Shown = 0;
int64_t Zoom_Until = 0;
int Zoom_X0 = 0, Zoom_Y0 = 0, Zoom_X1 = 0, Zoom_Y1 = 0;

namespace {
constexpr int Click_Slack = 8;           // pixels a click may move on either axis
constexpr int64_t Click_Time = 400;      // ms a click may last
constexpr float Friction = 1.05f;        // speed divided by this per update
constexpr float Pull_Rate = 220;         // beyond an end, speed gains overshoot / 220 per update
constexpr float Pull_Limit = 11;         // ... up to overshoot / 11
constexpr float Wheel_Step = 40;

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
  Map_Selection = Map_Selection_Shown = 0;
  Zoom_Until = 0;
  Zoom_X0 = Zoom_Y0 = Zoom_X1 = Zoom_Y1 = 0;
  Level_Before_Zoom = -1;
}

namespace {

void ChooseLevel(int level);

// Scrolls just enough to show the selected level's whole row, as a list box does.
void ScrollToSelection() {
  int row = Map_Selection / LevelMapColumns();
  float top = static_cast<float>(-Map_Row_Height * row);
  float lowest = static_cast<float>(Resolution_Y - Map_Row_Height * (row + 1));
  if (Level_List_Scroll < top) Level_List_Scroll = top;
  if (Level_List_Scroll > lowest) Level_List_Scroll = lowest;
  Level_List_Speed = 0;
}

// The arrows step from level to level, the page keys a screenful of rows, Home and End to the
// ends of the list (the gamepad's shoulders page too); Enter or Space starts the selection.
// Every press counts once: a held key does not run through the list.
void SelectByKeys() {
  int count = Official_Level_Count;
  if (count <= 0) return;
  int columns = LevelMapColumns();
  int page = std::max(Resolution_Y / Map_Row_Height, 1) * columns;
  int last_row_start = (count - 1) / columns * columns;
  int sel = std::clamp(Map_Selection, 0, count - 1);
  int moved = 0;
  auto hits = [&moved](int key) {
    int n = KeyHit(key);
    moved += n;
    return n;
  };
  sel -= hits(KEY_LEFT);
  sel += hits(KEY_RIGHT);
  for (int n = hits(KEY_UP); n > 0 && sel >= columns; n--) sel -= columns;
  for (int n = hits(KEY_DOWN); n > 0 && sel < last_row_start; n--) sel = std::min(sel + columns, count - 1);
  sel -= page * (hits(KEY_PAGE_UP) + hits(KEY_PAD_LEFT_SHOULDER));
  sel += page * (hits(KEY_PAGE_DOWN) + hits(KEY_PAD_RIGHT_SHOULDER));
  if (hits(KEY_HOME)) sel = 0;
  if (hits(KEY_END)) sel = count - 1;
  bool start = KeyHit(KEY_ENTER) + KeyHit(KEY_SPACE) > 0;
  Map_Selection = std::clamp(sel, 0, count - 1);
  if (moved > 0) {
    Map_Selection_Shown = 1;
    ScrollToSelection();
    PlayEffect(Sfx_Mouse_Over);
  }
  if (start && Zoom_Until == 0) {
    ScrollToSelection();
    ChooseLevel(Map_Selection);
  }
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

void ResetMapSelection() {
  Map_Selection = Level_Index > 0 ? Level_Index : 0;
  Map_Selection_Shown = 0;
}

void UpdateLevelMap() {
  const float bottom = static_cast<float>(LevelMapBottom());
  SelectByKeys();
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

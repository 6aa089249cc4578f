// The victory screen: its text lines, the replay of the won level and what a click leads to.
#include "fx/victory.h"

#include <algorithm>
#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/state.h"
#include "board/block.h"
#include "board/level_play.h"
#include "board/moves.h"
#include "board/undo.h"
#include "fx/hint_marks.h"
#include "fx/text_layout.h"
#include "i18n/language.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "levels/random_level.h"
#include "levels/par.h"
#include "ui/menu.h"

std::list<T_VICTORY_LINE> Victory_Lines;
std::vector<VictoryLinePlace> Victory_Line_Places;

ByteBuffer* Replay_Buffer = nullptr;
int Replay_Count = 0;
int Replay_Index = 0;
int Replay_Direction = 0;
int64_t Replay_Deadline = 0;

namespace {

constexpr int Replay_Step_Time = 50;    // ms per replayed step
constexpr int Replay_Hold_Time = 1000;  // ms at the first step and on the empty board
// How much of the replay shows through the veil over it: enough to follow, calm enough that
// the cheer and the verdict stand out.
constexpr float Replay_Veil = 0.35f;

// The dark rim round each letter of a verdict line, about a fifteenth of the font's size: the
// line's colours then lie on black whatever the replay shows behind them (a green verdict over
// green blocks, a red one over red).
int OutlineWidth() { return std::max(2, (Resolution_X * 60 / 1024 + 8) / 15); }

}  // namespace

T_VICTORY_LINE* T_VICTORY_LINE::Add(const String& text, int mode, int y, int x, int colour) {
  T_VICTORY_LINE line;
  line.Text = text;
  line.Mode = mode;
  line.Color = colour;
  line.Timer = 0;
  if (mode == 0) {
    line.cX = x;
  } else {
    line.cX = (10 * Block_Size - TextWidth(text)) / 2;
  }
  line.cY = y;
  if (mode >= 2) line.vX = static_cast<float>((Resolution_X * 30) / 1024);
  if (mode == 3) {
    line.Time = 3000;
    line.Timer = Now + 3000;
  }
  line.fX = static_cast<float>(line.cX);
  line.fY = static_cast<float>(line.cY);
  Victory_Lines.push_back(line);
  return &Victory_Lines.back();
}

int T_VICTORY_LINE::PlaceX() {
  int x = cX;
  if (Mode == 2 || Mode == 3) {
    // Lines at different heights sway out of step, one swing every 1440 ms.
    int64_t angle = ((Now / 4) + cY) % 360;
    x = static_cast<int>(cX + SinDeg(static_cast<double>(angle)) * vX);
  }
  if (Mode == 3) {
    if (Timer > Now && Time > 0) {
      // In from the right edge of the play area, in place when the slide-in ends.
      x = static_cast<int>(x + static_cast<double>(Timer - Now) / Time * Resolution_X);
    } else {
      Timer = 0;
      Mode = 2;
    }
  }
  return x;
}

void T_VICTORY_LINE::Draw() {
  const int x = PlaceX();
  SetColour(0, 0, 0);
  DrawText(Text, static_cast<float>(x + 4), static_cast<float>(cY + 4));
  const int rim = OutlineWidth();
  for (int k = 0; k < 16; k++) {
    const double angle = k * 22.5;
    DrawText(Text, static_cast<float>(x + rim * SinDeg(angle + 90)), static_cast<float>(cY + rim * SinDeg(angle)));
  }
  const double pulse = SinDeg(static_cast<double>(Now % 360));
  int red = 255, green = 255, blue = 255;
  switch (Color) {
    case 1: green = blue = 0; break;
    case 2: {
      int p = static_cast<int>(pulse * 64 + 127);
      red = 255 - p, blue = 0;
      break;
    }
    case 3: {
      int p = static_cast<int>(pulse * 127 + 127);
      green = 255 - p, blue = 0;
      break;
    }
    default: break;
  }
  SetColour(red, green, blue);
  DrawText(Text, static_cast<float>(x), static_cast<float>(cY));
  Victory_Line_Places.push_back({x, cY, TextWidth(Text), TextHeight(Text), red, green, blue});
}

void SetUpVictory() {
  // The screen switch sets these too; a set-up always starts the replay from its end.
  Replay_Direction = 0;
  Replay_Deadline = 0;
  delete Replay_Buffer;
  Replay_Buffer = LoadBuffer(Undo_File);
  if (!Replay_Buffer) Replay_Buffer = CreateBuffer(0);
  Replay_Count = BufferSize(Replay_Buffer) / Board_Cells;
  Replay_Index = Replay_Count - 1;

  Victory_Lines.clear();
  SetFont(Font_Main);
  const int step = (Resolution_X * 60) / 1024;
  const int y = (8 * Block_Size) / 2 - step;

  // Only a catalogue level has a number worth showing.
  const bool catalogue = Level_Index >= 0 && Level_Index < Official_Level_Count;
  const bool random = !catalogue && PlayingRandomLevel();
  String title = catalogue ? u"- " + IntText(Level_Index + 1) + u" -" : random ? RandomLevelTitle() : Translate(u"Random Level");
  T_VICTORY_LINE::Add(title, 3, y, 0, 0);
  // A random level has no record, so the rows of a record carry its date and its code, the
  // code to pass on to whoever should play the same board.
  if (random) {
    if (!RandomLevelDate().empty()) T_VICTORY_LINE::Add(RandomLevelDate(), 3, y + step, 0, 0);
    T_VICTORY_LINE::Add(RandomLevelCodeLine(), 3, y + 4 * step, 0, 0);
  }

  // The best time is whole seconds, this attempt exact milliseconds: an attempt within the
  // same second as the record does not beat it. A record time below zero (a hand-edited file)
  // counts as no record at all.
  const bool had_record = Prev_Best_Time > 0;
  if (had_record && Level_Final_Time < Prev_Best_Time) {
    T_VICTORY_LINE::Add(Translate(u"Congratulations"), 3, y + step, 0, 3);
    T_VICTORY_LINE::Add(Translate(u"New Record"), 3, y + 2 * step, 0, 3);
  } else if (had_record) {
    T_VICTORY_LINE::Add(Translate(u"Can Do Better"), 3, y + 2 * step, 0, 2);
  } else {
    T_VICTORY_LINE::Add(Translate(u"Well Done"), 3, y + 2 * step, 0, 2);
  }
  T_VICTORY_LINE::Add(Translate(u"Time") + FormatTime(Level_Final_Time / 1000), 3, y + 3 * step, 0, 0);
  if (had_record) {
    if (Level_Final_Time > Prev_Best_Time) {
      T_VICTORY_LINE::Add(Translate(u"Record") + FormatTime(Prev_Best_Time / 1000), 3, y + 4 * step, 0, 0);
    } else {
      T_VICTORY_LINE::Add(Translate(u"Old Record") + FormatTime(Prev_Best_Time / 1000), 3, y + 5 * step, 0, 0);
    }
  }
  // The steps against par, and a verdict of its own when the level was won in par, on the rows
  // of the panel the lines above left free (below the time first), listed after them. Won in
  // par, the steps glow as the verdicts do, so the verdict shows even when no row is left for
  // its words. Without a par there is nothing to hold the steps against.
  if (Current_Par.steps > 0) {
    bool taken[6] = {true, false, true, true, false, false};
    for (const T_VICTORY_LINE& line : Victory_Lines) {
      int row = (line.cY - y) / step;
      if (row >= 0 && row < 6) taken[row] = true;
    }
    std::vector<int> free_rows;
    for (int row : {4, 5, 1}) {
      if (!taken[row]) free_rows.push_back(row);
    }
    const bool in_par = Level_Final_Steps <= Current_Par.steps;
    if (!free_rows.empty()) T_VICTORY_LINE::Add(StepsAgainstPar(Level_Final_Steps), 3, y + free_rows[0] * step, 0, in_par ? 2 : 0);
    if (in_par && free_rows.size() > 1) T_VICTORY_LINE::Add(Translate(u"In Par"), 3, y + free_rows[1] * step, 0, 2);
  }
  SetFont(nullptr);
}

void ShowReplayStep(int i) {
  ClearBoard();
  if (i < 0 || i >= Replay_Count || int64_t{i + 1} * Board_Cells > BufferSize(Replay_Buffer)) return;
  const uint8_t* cells = Replay_Buffer->Bytes.data() + int64_t{i} * Board_Cells;
  for (int y = 0; y < Board_Height; y++) {
    for (int x = 0; x < Board_Width; x++) {
      int v = cells[y * Board_Width + x];
      // A byte no move writes (a damaged history) shows as an empty cell.
      if (v > 0 && v <= 6) T_BLOCK::addBlock(x, y, v - 1);
    }
  }
  T_BLOCK::ShapeAllBlocks();
}

void UpdateVictory() {
  if (Replay_Deadline != 0 && Replay_Deadline < Now) Replay_Deadline = 0;
  if (Replay_Deadline == 0) {
    if (Replay_Direction == 1) {
      if (Replay_Index >= Replay_Count) {
        ClearBoard();
        Replay_Deadline = Now + Replay_Hold_Time;
        Replay_Direction = 0;
        Replay_Index = Replay_Count - 1;
      } else {
        ShowReplayStep(Replay_Index);
        Replay_Deadline = Now + Replay_Step_Time;
        Replay_Index++;
      }
    } else {
      if (Replay_Index <= 0) {
        // An empty history has no first step: the hold then shows the empty board.
        ShowReplayStep(0);
        Replay_Index = 0;
        Replay_Deadline = Now + Replay_Hold_Time;
        Replay_Direction = 1;
      } else {
        ShowReplayStep(Replay_Index);
        Replay_Deadline = Now + Replay_Step_Time;
        Replay_Index--;
      }
    }
  }

  if (Mouse_Hit || Key_Char == KEY_SPACE) {
    // Keyboard play goes straight on to the next level; a mouse player picks one on the map,
    // or, after a random level, another difficulty.
    if (Key_Cursor_Mode != 0) {
      PlayFirstUnsolved();
    } else if (PlayingRandomLevel()) {
      GotoScreen(Screen_Difficulty);
    } else {
      GotoScreen(Screen_Level_List);
    }
  }
}

void DrawVictoryScreen() {
  SetBlend(BLEND_ALPHA);
  SetColour(0, 0, 0);
  SetAlpha(1 - Replay_Veil);
  DrawRect(0, 0, static_cast<float>(10 * Block_Size), static_cast<float>(8 * Block_Size));
  SetAlpha(1);
  SetColour(255, 255, 255);
  Victory_Line_Places.clear();
  DrawImageRect(Img_Bravo, 0, 0, static_cast<float>(10 * Block_Size), static_cast<float>(8 * Block_Size));
  SetScale(1, 1);
  SetFont(Font_Main);
  for (T_VICTORY_LINE& line : Victory_Lines) line.Draw();
  SetFont(nullptr);
  SetAlpha(1);
  SetScale(1, 1);
  DrawVictoryHand();
}

void DrawVictoryHand() {
  // The lines leave the colour of the last one; the hand is drawn in its own colours.
  SetColour(255, 255, 255);
  Image* hand = (Now & 512) != 0 ? Img_Cursor_Pressed : Img_Cursor;
  DrawImage(hand, static_cast<float>(9 * Block_Size + Half_Block - 85),
            static_cast<float>(6 * Block_Size + Half_Block - 50));
}

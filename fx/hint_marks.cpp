// The hint's marks and the par corner, drawn over the board.
#include "fx/hint_marks.h"

#include <algorithm>

#include "app/assets.h"
#include "app/state.h"
#include "board/block.h"
#include "board/hint_play.h"
#include "i18n/language.h"
#include "levels/par.h"

namespace {

// One pulse every 800 ms, between faint and full.
float Pulse() { return static_cast<float>(0.6 + 0.4 * SinDeg(static_cast<double>((Now * 360 / 800) % 360))); }

Mask HintedGroup() {
  Position p = PositionFromCells(Hint_Board.data());
  int cell = Hint_Answer.step.cell;
  int kind = Hint_Board[cell] - 1;
  if (kind < 0 || kind >= Colour_Count) return 0;
  return Flood(Bit(cell), p.colour[kind]);
}

// The edges of the group's outline: a side of a cell whose neighbour is not in the group.
void DrawOutline(Mask group, float thickness) {
  const float size = static_cast<float>(Block_Size);
  for (int cell = 0; cell < Grid_Cells; cell++) {
    if (!(group & Bit(cell))) continue;
    int x = cell % Grid_W, y = cell / Grid_W;
    float left = static_cast<float>(x * Block_Size), top = static_cast<float>(y * Block_Size);
    auto in = [&](int nx, int ny) { return nx >= 0 && nx < Grid_W && ny >= 0 && ny < Grid_H && (group & Bit(ny * Grid_W + nx)); };
    if (!in(x, y - 1)) DrawRect(left, top, size, thickness);
    if (!in(x, y + 1)) DrawRect(left, top + size - thickness, size, thickness);
    if (!in(x - 1, y)) DrawRect(left, top, thickness, size);
    if (!in(x + 1, y)) DrawRect(left + size - thickness, top, thickness, size);
  }
}

// A solid arrowhead in the cell, pointing in direction d: bars that shorten toward the tip.
void DrawArrow(int cell, int d) {
  const int size = Block_Size;
  const int cx = (cell % Grid_W) * size + size / 2, cy = (cell / Grid_W) * size + size / 2;
  const int depth = size * 3 / 10, bar = std::max(2, size / 24);
  for (int i = 0; i < depth; i += bar) {
    int half = depth - i;
    int along = i - depth / 2;   // from the back of the head toward its tip
    float x, y, w, h;
    if (d == 0 || d == 2) {
      x = static_cast<float>(cx + (d == 0 ? along : -along - bar));
      y = static_cast<float>(cy - half);
      w = static_cast<float>(bar);
      h = static_cast<float>(2 * half);
    } else {
      x = static_cast<float>(cx - half);
      y = static_cast<float>(cy + (d == 1 ? along : -along - bar));
      w = static_cast<float>(2 * half);
      h = static_cast<float>(bar);
    }
    DrawRect(x, y, w, h);
  }
}

// Words on a dark band, so they read over any tile style.
void DrawBandText(const String& text, int x, int y) {
  int w = TextWidth(text), h = TextHeight(text), pad = std::max(3, h / 5);
  SetColour(0, 0, 0);
  SetAlpha(0.6f);
  DrawRect(static_cast<float>(x - pad), static_cast<float>(y - pad / 2), static_cast<float>(w + 2 * pad),
           static_cast<float>(h + pad));
  SetAlpha(1);
  SetColour(255, 255, 255);
  DrawText(text, static_cast<float>(x), static_cast<float>(y));
}

String ReplaceCount(const String& text, int count) {
  String out;
  for (char16_t c : text) {
    if (c == u'#') out += IntText(count); else out += c;
  }
  return out;
}

}  // namespace

String HintWords() {
  if (Hint_Waiting) return Translate(u"Hint Thinking");
  if (!Hint_Known || Hint_Stage == 0) return u"";
  switch (Hint_Answer.outcome) {
    case Hint_Dead_End: {
      String words = Translate(u"No Way Out");
      if (Hint_Answer.undos_back > 0) words += u" " + ReplaceCount(Translate(u"Undos Back"), Hint_Answer.undos_back);
      return words;
    }
    case Hint_Out_Of_Time: return Translate(u"No Hint In Time");
    default: return u"";
  }
}

String StepsAgainstPar(int steps) {
  String text = Translate(u"Steps") + u" " + IntText(steps);
  if (Current_Par.steps > 0) {
    text += u" \u00b7 " + Translate(u"Par") + (Current_Par.proven ? u" " : u" \u2264 ") + IntText(Current_Par.steps);
  }
  return text;
}

void DrawHintMarks() {
  if (Current_Screen != Screen_Game) return;
  SetBlend(BLEND_ALPHA);
  SetScale(1, 1);
  if (Hint_Known && Hint_Answer.outcome == Hint_Step && Hint_Stage >= 1) {
    Mask group = HintedGroup();
    float thickness = static_cast<float>(std::max(3, Block_Size / 14));
    // A dark rim under the bright one, so the outline reads on light and dark styles alike.
    SetAlpha(0.7f);
    SetColour(0, 0, 0);
    DrawOutline(group, thickness + 2);
    SetAlpha(Pulse());
    SetColour(255, 230, 40);
    DrawOutline(group, thickness);
    if (Hint_Stage >= 2 && Hint_Answer.step.dir != Dir_Hold) {
      int d = Hint_Answer.step.dir;
      Mask ahead = Shift(group, d) & ~group;
      for (int cell = 0; cell < Grid_Cells; cell++) {
        if (!(ahead & Bit(cell))) continue;
        SetColour(0, 0, 0);
        SetAlpha(0.5f);
        DrawRect(static_cast<float>((cell % Grid_W) * Block_Size + 4), static_cast<float>((cell / Grid_W) * Block_Size + 4),
                 static_cast<float>(Block_Size - 8), static_cast<float>(Block_Size - 8));
        SetAlpha(Pulse());
        SetColour(255, 230, 40);
        DrawArrow(cell, d);
      }
    }
    SetAlpha(1);
  }
  // The watch's mark: a small red square in the top right corner, no words.
  if (Dead_End_Watch && Hint_Known && Hint_Answer.outcome == Hint_Dead_End && Hint_Stage == 0) {
    int size = std::max(8, Block_Size / 6);
    SetColour(0, 0, 0);
    DrawRect(static_cast<float>(10 * Block_Size - size - 7), 5, static_cast<float>(size + 4), static_cast<float>(size + 4));
    SetColour(230, 30, 30);
    DrawRect(static_cast<float>(10 * Block_Size - size - 5), 7, static_cast<float>(size), static_cast<float>(size));
  }
  String words = HintWords();
  if (!words.empty()) {
    SetFont(Font_Hud);
    int x = (10 * Block_Size - TextWidth(words)) / 2;
    DrawBandText(words, std::max(4, x), Block_Size / 4);
    SetFont(nullptr);
  }
  SetColour(255, 255, 255);
}

void DrawParCorner() {
  if (Current_Screen != Screen_Game || !Par_Corner_Shown) return;
  SetBlend(BLEND_ALPHA);
  SetScale(1, 1);
  SetFont(Font_Hud);
  String line1 = StepsAgainstPar(StepsPlayed());
  String line2 = Translate(u"Hint Key");
  int h = TextHeight(line1);
  int right = 10 * Block_Size - 6;
  int y2 = 8 * Block_Size - h - 4;
  int y1 = y2 - h - 2;
  DrawBandText(line1, right - TextWidth(line1), y1);
  DrawBandText(line2, right - TextWidth(line2), y2);
  SetFont(nullptr);
  SetColour(255, 255, 255);
}

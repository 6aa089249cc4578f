// The level map's drawing: the visible thumbnails with their previews, numbers and times, and
// the zoom from the chosen thumbnail up to the whole board.
#include <cstdint>

#include "app/assets.h"
#include "app/display.h"
#include "app/sidebar.h"
#include "app/state.h"
#include "board/block.h"
#include "board/level_play.h"
#include "fx/board_scene.h"
#include "fx/colour_symbols.h"
#include "fx/level_map.h"
#include "fx/text_layout.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "levels/par.h"
#include "ui/menu.h"

namespace {
constexpr int Mini_Cell = 20;            // a board cell in a thumbnail
constexpr int Frame_Offset = 30;         // the frame picture starts this far up and left
constexpr int Small_Block_Frame = 29;    // the ready-made small block of a tile sheet
constexpr int Label_Width = 190;         // labels wider than this are squeezed
constexpr int Label_Line = 30;
constexpr int64_t Zoom_Time = 1000;

Image* KindImage(int kind) {
  int style = KindStyle(kind);
  return style >= 0 ? Style_Images[style] : nullptr;
}

void DrawPreview(int x, int y, int record) {
  for (int r = 0; r < 8; r++) {
    for (int q = 0; q < 10; q++) {
      int cell = r * 10 + q;
      int k = PeekByte(Level_Bank, record + Level_Cells_Offset + cell);
      if (k <= 0) continue;
      int cx = x + Mini_Cell * q, cy = y + Mini_Cell * r;
      if (Detail_Previews) {
        DrawMiniBlock(cx, cy, k - 1, record + Level_Frames_Offset + 4 * cell);
      } else if (Image* img = KindImage(k - 1)) {
        DrawImageRect(img, static_cast<float>(cx), static_cast<float>(cy), Mini_Cell, Mini_Cell, Small_Block_Frame);
      }
      DrawColourSymbol(k - 1, static_cast<float>(cx), static_cast<float>(cy), Mini_Cell);
    }
  }
}

// The keyboard's selection: a bright frame around the thumbnail, clear of the preview.
void DrawSelectionFrame(int x, int y) {
  constexpr float Gap = 6, Line = 4;
  const float left = static_cast<float>(x) - Gap - Line, top = static_cast<float>(y) - Gap - Line;
  const float w = Thumb_Width + 2 * (Gap + Line), h = Thumb_Height + 2 * (Gap + Line);
  SetBlend(BLEND_SOLID);
  SetColour(255, 214, 64);
  DrawRect(left, top, w, Line);
  DrawRect(left, top + h - Line, w, Line);
  DrawRect(left, top + Line, Line, h - 2 * Line);
  DrawRect(left + w - Line, top + Line, Line, h - 2 * Line);
  SetColour(255, 255, 255);
}

// A solved level: its number, then the last time, and the best time when one is recorded.
// Without a best time the shorter block sits lower, centred.
void DrawSolvedLabels(const String& number, int x, int y, int link, int jx, int jy) {
  int last = PeekInt(Best_Scores, link + Best_Last_Offset);
  int best = PeekInt(Best_Scores, link + Best_Time_Offset);
  SetFont(Font_30);
  int ty = y + 2 + jy;
  DrawThumbLabel(u"- " + number + u" -", x + jx, ty);
  if (best == 0) ty += 15;
  ty += Label_Line;
  DrawThumbLabel(Text_Last_Time, x + jx, ty);
  ty += Label_Line;
  DrawThumbLabel(FormatTime(last), x + jx, ty);
  if (best != 0) {
    ty += Label_Line;
    DrawThumbLabel(Text_Best_Time, x + jx, ty);
    ty += Label_Line;
    DrawThumbLabel(FormatTime(best), x + jx, ty);
  }
}
// A golden star in the thumbnail's top right corner: solved in par, seen at a glance.
void DrawParStar(int x, int y) {
  if (!Img_Colour_Symbols) return;
  constexpr int Star_Frame = 4;   // the symbols are circle, triangle, square, diamond, star, cross
  constexpr float Size = 34;
  float left = static_cast<float>(x + Thumb_Width) - Size - 2, top = static_cast<float>(y + 2);
  SetBlend(BLEND_ALPHA);
  SetColour(255, 200, 30);
  DrawImageRect(Img_Colour_Symbols, left, top, Size, Size, Star_Frame);
  SetColour(255, 255, 255);
}
}  // namespace

bool SolvedInPar(int level) {
  int link = BestScoreLink(level);
  if (link == 0) return false;
  int moves = PeekShort(Best_Scores, link + Best_Moves_Offset);
  LevelPar par = CatalogueLevelPar(level);
  return par.steps > 0 && moves > 0 && moves <= par.steps;
}

void DrawLevelMap() {
  int x = Map_Margin;
  int y = static_cast<int>(Level_List_Scroll + Map_Margin);
  for (int level = 0; level < Official_Level_Count; level++) {
    if (y >= -Map_Row_Height) DrawThumbnail(x, y, level);
    x += Map_Cell_Width;
    if (x >= Resolution_X - Map_Cell_Width) {
      x = Map_Margin;
      y += Map_Row_Height;
      if (y >= Resolution_Y) break;
    }
  }
}

void DrawThumbnail(int x, int y, int level) {
  // The hovered thumbnail's texts shiver, a new offset every frame.
  int jx = 0, jy = 0;
  if (level == Hover_Level) {
    jx = Rand(-1, 1);
    jy = Rand(-1, 1);
  }
  String number = IntText(level + 1);
  SetBlend(BLEND_ALPHA);
  SetColour(255, 255, 255);
  DrawImage(level == Level_Index ? Img_Plateau_Highlighted : Img_Plateau, static_cast<float>(x - Frame_Offset),
            static_cast<float>(y - Frame_Offset));
  int record = level * Level_Record_Size;
  DrawPreview(x, y, record);

  int link = BestScoreLink(level);
  if (link != 0) {
    SetColour(0, 0, 0);
    SetAlpha(0.5f);
    DrawRect(static_cast<float>(x), static_cast<float>(y), Thumb_Width, Thumb_Height);
    SetAlpha(1);
    DrawSolvedLabels(number, x, y, link, jx, jy);
    if (SolvedInPar(level)) DrawParStar(x, y);
  } else {
    SetFont(Font_Main);
    int tx = x + Thumb_Width / 2 - TextWidth(number) / 2 + jx;
    int ty = y + Thumb_Height / 2 - TextHeight(number) / 2 + jy;
    if (Detail_Shadows) {
      SetColour(0, 0, 0);
      DrawText(number, static_cast<float>(tx + 4), static_cast<float>(ty + 4));
    }
    SetColour(255, 255, 255);
    DrawText(number, static_cast<float>(tx), static_cast<float>(ty));
  }
  SetFont(nullptr);
  SetColour(255, 255, 255);
  if (Map_Selection_Shown && level == Map_Selection) DrawSelectionFrame(x, y);
}

void DrawThumbLabel(const String& text, int x, int y) {
  int w = TextWidth(text);
  if (w > Label_Width) {
    SetScale(static_cast<float>(Label_Width) / static_cast<float>(w), 1);
    w = Label_Width;
  }
  int tx = static_cast<int>(static_cast<float>(x) + Thumb_Width / 2 - static_cast<float>(w) / 2);
  if (Detail_Shadows) {
    SetColour(0, 0, 0);
    DrawText(text, static_cast<float>(tx + 2), static_cast<float>(y + 2));
  }
  SetColour(255, 255, 255);
  DrawText(text, static_cast<float>(tx), static_cast<float>(y));
  SetScale(1, 1);
}

void DrawMiniBlock(int x, int y, int kind, int cell) {
  Image* img = KindImage(kind);
  if (!img) return;
  const int h = Mini_Cell / 2;
  const float fx = static_cast<float>(x), fy = static_cast<float>(y), fh = static_cast<float>(h);
  DrawImageRect(img, fx, fy, fh, fh, PeekByte(Level_Bank, cell));
  DrawImageRect(img, fx + fh, fy, fh, fh, PeekByte(Level_Bank, cell + 1));
  DrawImageRect(img, fx + fh, fy + fh, fh, fh, PeekByte(Level_Bank, cell + 2));
  DrawImageRect(img, fx, fy + fh, fh, fh, PeekByte(Level_Bank, cell + 3));
}

void StartMapZoom(int x, int y) {
  Zoom_X0 = x;
  Zoom_Y0 = y;
  Zoom_X1 = x + Thumb_Width - 1;
  Zoom_Y1 = y + Thumb_Height - 1;
  // The level as the game will show it, drawn into the back buffer and kept; the frame's own
  // drawing covers it again.
  SetScale(1, 1);
  SetAlpha(1);
  SetBlend(BLEND_SOLID);
  SetColour(255, 255, 255);
  DrawImageRect(Img_Background_Game, 0, 0, static_cast<float>(10 * Block_Size), static_cast<float>(8 * Block_Size));
  T_BLOCK::DrawAll();
  Time_Icon_Until = Now + 2000;
  DrawLevelNumber();
  GrabImage(Img_Board_Capture, Origin_X, Origin_Y);
  Zoom_Until = Now + Zoom_Time;
}

void MapZoomRect(int64_t remaining, int* left, int* top, int* right, int* bottom) {
  const int64_t w = 10 * Block_Size, h = 8 * Block_Size;
  *left = static_cast<int>(Zoom_X0 * remaining / Zoom_Time);
  *top = static_cast<int>(Zoom_Y0 * remaining / Zoom_Time);
  *right = static_cast<int>(w - (w - Zoom_X1) * remaining / Zoom_Time);
  *bottom = static_cast<int>(h - (h - Zoom_Y1) * remaining / Zoom_Time);
}

void DrawMapZoom() {
  if (Zoom_Until == 0) return;
  SetBlend(BLEND_SOLID);
  SetColour(255, 255, 255);
  SetAlpha(1);
  if (Now >= Zoom_Until) {
    Zoom_Until = 0;
    EnterPlay(1);
    DrawImageRect(Img_Board_Capture, 0, 0, static_cast<float>(10 * Block_Size), static_cast<float>(8 * Block_Size));
    return;
  }
  int left, top, right, bottom;
  MapZoomRect(Zoom_Until - Now, &left, &top, &right, &bottom);
  DrawImageRect(Img_Board_Capture, static_cast<float>(left), static_cast<float>(top),
                static_cast<float>(right - left - 1), static_cast<float>(bottom - top - 1));
}

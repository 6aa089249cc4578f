// Drawing the board: tile quarters, drop shadows, the held group's highlight and the labels.
#include <algorithm>

#include "app/assets.h"
#include "app/display.h"
#include "app/state.h"
#include "board/block.h"
#include "board/input_control.h"
#include "fx/colour_symbols.h"
#include "fx/particles.h"

// The four quarters of a block in one strip, each frame squeezed into a half cell.
static void DrawQuarters(Image* img, const int frame[4], float x, float y) {
  float h = static_cast<float>(Half_Block);
  DrawImageRect(img, x, y, h, h, frame[0]);
  DrawImageRect(img, x + h, y, h, h, frame[1]);
  DrawImageRect(img, x + h, y + h, h, h, frame[2]);
  DrawImageRect(img, x, y + h, h, h, frame[3]);
}

void T_BLOCK::Draw() {
  SetColour(255, 255, 255);
  bool visible = Visible();
  bool expired = Timer != 0 && Timer <= Now;
  int style = Style();
  if (visible && style >= 0 && Style_Images[style]) {
    DrawQuarters(Style_Images[style], Frame, static_cast<float>(X), static_cast<float>(Y));
    // A caption bar keeps its words clear; its loose block carries the symbol.
    if (Text.empty()) DrawColourSymbol(Kind, static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Block_Size));
  }
  // Last, because it destroys this block; DrawAll has already stepped past it.
  if (expired) {
    Timer = 0;
    T_PARTICLE::ExplodeParticle(this);
    RemoveBlock(this);
  }
}

void T_BLOCK::DrawShadow() {
  if (!Visible() || !Img_Shadows) return;
  // A fixed 8 pixels at every cell size.
  DrawQuarters(Img_Shadows, Frame, static_cast<float>(X + 8), static_cast<float>(Y + 8));
}

void T_BLOCK::DrawHighLight() {
  SetAlpha(static_cast<float>(0.8 + 0.2 * SinDeg(((Now & 2047) * 360) / 2047.0)));
  if (Img_Highlight) DrawQuarters(Img_Highlight, Frame, static_cast<float>(X), static_cast<float>(Y));
  SetAlpha(1);
}

int T_BLOCK::LabelWidth() const {
  // A bar that was pulled apart leaves its label less room.
  int n = 0;
  while (n < 4 && OnBoard(XMap + n, YMap) && Kind_Grid[XMap + n][YMap] == Kind) n++;
  return std::max(n, 1) * Block_Size - 20;
}

void T_BLOCK::DisplayText() {
  SetFont(Font_Main);
  SetColour(0, 0, 0);
  SetAlpha(0.7f);
  int style = Style();
  if (style >= 0 && Style_Light_Text[style] == 1) SetColour(255, 255, 255);
  int available = LabelWidth();
  int w = TextWidth(Text);
  if (w > available && w > 0) {
    SetScale(static_cast<float>(available) / static_cast<float>(w), 1);
    w = available;
  }
  int x = static_cast<int>(X + (available - w) / 2.0 + 10);
  int y = Y + (Block_Size - TextHeight(Text)) / 2;
  DrawText(Text, static_cast<float>(x), static_cast<float>(y));
  if (Menu == Hover_Menu) {
    // The hovered label trembles: a second copy a pixel off, anew every frame.
    int r1 = Rand(-1, 1);
    int r2 = Rand(-1, 1);
    DrawText(Text, static_cast<float>(x + r1), static_cast<float>(y + r2));
  }
  SetScale(1, 1);
  SetAlpha(1);
  SetFont(nullptr);
}

void T_BLOCK::DrawAll() {
  SetBlend(BLEND_ALPHA);
  SetColour(255, 255, 255);
  if (Detail_Shadows == 1) {
    for (auto& b : Block_List) b->DrawShadow();
  }
  for (auto it = Block_List.begin(); it != Block_List.end();) {
    T_BLOCK* b = it->get();
    ++it;   // Draw may remove b, so step past it first
    b->Draw();
  }
  SetBlend(BLEND_ALPHA);
  for (auto& b : Block_List) {
    if (!b->Text.empty() && b->Text != u"!") b->DisplayText();
  }
}

void T_BLOCK::DrawSelectedBlocks() {
  SetColour(255, 255, 255);
  SetBlend(BLEND_LIGHT);
  for (auto& b : Block_List) {
    if (b->FlagSelect == 1) b->DrawHighLight();
  }
}

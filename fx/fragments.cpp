// Fragments of cleared blocks: launch, flight, removal off screen, and drawing.
#include "fx/fragments.h"

#include "app/assets.h"
#include "app/display.h"
#include "app/state.h"
#include "board/block.h"

std::list<std::unique_ptr<T_FX>> FX_List;

namespace {
// Quarter frames of a lone block in a tile strip (and in the shadow strip).
constexpr int Lone_Top_Left = 20, Lone_Top_Right = 21, Lone_Bottom_Left = 22, Lone_Bottom_Right = 23;
// Fragments are drawn higher above the board than resting blocks, whose shadow lies 8 away.
constexpr float Fragment_Shadow_Offset = 20;
constexpr float Gravity = 0.2f;

void DrawLoneBlock(Image* img, float x, float y) {
  if (!img) return;
  float h = static_cast<float>(Half_Block);
  DrawImageRect(img, x, y, h, h, Lone_Top_Left);
  DrawImageRect(img, x + h, y, h, h, Lone_Top_Right);
  DrawImageRect(img, x + h, y + h, h, h, Lone_Bottom_Right);
  DrawImageRect(img, x, y + h, h, h, Lone_Bottom_Left);
}

Image* KindImage(int kind) {
  int style = KindStyle(kind);
  return style >= 0 ? Style_Images[style] : nullptr;
}
}  // namespace

void T_FX::ExplodeSelectedBlocks(int64_t delay, int dirX, int dirY) {
  for (auto& b : Block_List) {
    if (b->FlagSelect != 1) continue;
    auto fx = std::make_unique<T_FX>();
    fx->Timer = Now + delay;
    fx->X = b->X;
    fx->Y = b->Y;
    fx->fX = static_cast<float>(b->X);
    fx->fY = static_cast<float>(b->Y);
    fx->BitmapPtr = KindImage(b->Kind);
    // Thrown along the move, with a small spread that leans upward.
    // Taken in a fixed order, so the same seed throws the same fragments.
    double u1 = Rnd(0, 8), u2 = Rnd(-2, 2), u3 = Rnd(0, 8), u4 = Rnd(-3, 2);
    fx->vX = static_cast<float>(dirX * u1 + u2);
    fx->vY = static_cast<float>(dirY * u3 + u4);
    FX_List.push_back(std::move(fx));
  }
}

void T_FX::DoBlocksExplosion() {
  int w = Resolution_X, h = Resolution_Y, b = Block_Size;
  for (auto it = FX_List.begin(); it != FX_List.end();) {
    T_FX* fx = it->get();
    if (fx->Timer != 0) {
      // Still waiting while its block flashes; it takes off one update after becoming visible.
      if (fx->Timer < Now) fx->Timer = 0;
    } else {
      fx->fX += fx->vX;
      fx->fY += fx->vY;
      fx->vY += Gravity;
      fx->X = static_cast<int>(fx->fX);
      fx->Y = static_cast<int>(fx->fY);
    }
    // Once past the margin it is gone for good, even if gravity would bring it back.
    if (fx->Y > h + b || fx->Y < -b || fx->X > w + b || fx->X < -b) {
      it = FX_List.erase(it);
    } else {
      ++it;
    }
  }
}

void T_FX::DrawAll() {
  SetBlend(BLEND_ALPHA);
  SetColour(255, 255, 255);
  SetAlpha(1);
  if (Detail_Shadows == 1) {
    for (auto& fx : FX_List) fx->DrawShadow();
  }
  for (auto& fx : FX_List) fx->Draw();
}

void T_FX::Draw() {
  if (Timer != 0) return;
  DrawLoneBlock(BitmapPtr, static_cast<float>(X), static_cast<float>(Y));
}

void T_FX::DrawShadow() {
  if (Timer != 0) return;
  DrawLoneBlock(Img_Shadows, X + Fragment_Shadow_Offset, Y + Fragment_Shadow_Offset);
}

// Fragments of cleared blocks: launch, flight, removal off screen, and drawing.
#include "fx/fragments.h"

#include <algorithm>
#include <cmath>

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

// How far in from a lone block's edges, in the game's units, every pixel drawn of it is opaque;
// -1 when that cannot be told. A pixel there hides whatever lay under it, so a shadow need not
// be drawn there. A pixel of a scaled quarter mixes source pixels up to one away, hence the
// margin.
float OpaqueCore(Image* tiles) {
  if (!tiles || ImageWidth(tiles) <= 0) return -1;
  const int corners[4][2] = {{Lone_Top_Left, Opaque_Left | Opaque_Top},
                             {Lone_Top_Right, Opaque_Top | Opaque_Right},
                             {Lone_Bottom_Right, Opaque_Right | Opaque_Bottom},
                             {Lone_Bottom_Left, Opaque_Bottom | Opaque_Left}};
  int inset = 0;
  for (const auto& corner : corners) {
    int m = ImageOpaqueInset(tiles, corner[0], corner[1]);
    if (m < 0) return -1;
    inset = std::max(inset, m);
  }
  const float per_pixel = static_cast<float>(Half_Block) / static_cast<float>(ImageWidth(tiles));
  return std::ceil(static_cast<float>(inset + 1) * per_pixel) + 1;
}

// Draws the lone-block shadow at (x, y) except where `hidden` (x0, y0, x1, y1) will be drawn
// over opaque: each quarter is cut into the bands that lie outside it.
void DrawLoneShadowAround(float x, float y, const float hidden[4]) {
  float h = static_cast<float>(Half_Block);
  const struct {
    int frame;
    float qx, qy;
  } quarters[4] = {{Lone_Top_Left, x, y}, {Lone_Top_Right, x + h, y}, {Lone_Bottom_Right, x + h, y + h},
                   {Lone_Bottom_Left, x, y + h}};
  for (const auto& q : quarters) {
    const float x0 = q.qx, y0 = q.qy, x1 = q.qx + h, y1 = q.qy + h;
    const float hx0 = std::max(x0, hidden[0]), hy0 = std::max(y0, hidden[1]);
    const float hx1 = std::min(x1, hidden[2]), hy1 = std::min(y1, hidden[3]);
    if (hx0 >= hx1 || hy0 >= hy1) {
      DrawImageRect(Img_Shadows, x0, y0, h, h, q.frame);
      continue;
    }
    // Above, below, then left and right of the hidden part.
    const float bands[4][4] = {{x0, y0, x1, hy0}, {x0, hy1, x1, y1}, {x0, hy0, hx0, hy1}, {hx1, hy0, x1, hy1}};
    float parts[16];
    int count = 0;
    for (const auto& b : bands) {
      if (b[0] >= b[2] || b[1] >= b[3]) continue;
      const float part[4] = {b[0] - x0, b[1] - y0, b[2] - b[0], b[3] - b[1]};
      std::copy(part, part + 4, parts + 4 * count++);
    }
    if (count > 0) DrawImageRectParts(Img_Shadows, x0, y0, h, h, q.frame, parts, count);
  }
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
  // The fragment itself is drawn over its shadow at full strength after every shadow, so the
  // shadow is left out under its opaque middle: two thirds of a fragment's shadow, and a burst
  // throws dozens of fragments.
  float core = OpaqueCore(BitmapPtr);
  if (!Img_Shadows || core < 0 || GetAlpha() != 1 || GetScaleX() != 1 || GetScaleY() != 1) {
    DrawLoneBlock(Img_Shadows, X + Fragment_Shadow_Offset, Y + Fragment_Shadow_Offset);
    return;
  }
  const float b = static_cast<float>(2 * Half_Block), x = static_cast<float>(X), y = static_cast<float>(Y);
  const float hidden[4] = {x + core, y + core, x + b - core, y + b - core};
  DrawLoneShadowAround(x + Fragment_Shadow_Offset, y + Fragment_Shadow_Offset, hidden);
}

// The colour-blind aid's symbols over blocks.
#include "fx/colour_symbols.h"

#include <algorithm>

#include "app/assets.h"
#include "app/display.h"
#include "platform/platform.h"

void DrawColourSymbol(int kind, float x, float y, float cell) {
  if (!Colour_Symbols || kind < 0 || kind > 5 || !Img_Colour_Symbols) return;
  // Three eighths of a cell leaves most of the style's texture in view; 12 pixels is the least
  // at which the six shapes still read apart (a thumbnail's cell is 20).
  float size = std::max(12.0f, static_cast<float>(static_cast<int>(cell * 3 / 8)));
  float offset = static_cast<float>(static_cast<int>((cell - size) / 2));
  SetBlend(BLEND_ALPHA);
  SetColour(255, 255, 255);
  DrawImageRect(Img_Colour_Symbols, x + offset, y + offset, size, size, kind);
}

// The making screen: the words, and one small block of each colour in a row, hopping in turn,
// so the player sees the game at work for the second or two a hard level can take.
#include "fx/making_level.h"

#include "app/assets.h"
#include "app/display.h"
#include "app/state.h"
#include "board/block.h"
#include "fx/colour_symbols.h"
#include "i18n/language.h"
#include "levels/random_level.h"

namespace {

constexpr int Small_Block_Frame = 29;   // the ready-made small block of a tile sheet
constexpr int Hop_Time = 150;           // ms each block spends in the air

}  // namespace

void DrawMakingLevel() {
  const float cell = static_cast<float>(Block_Size);
  const float board_w = 10 * cell;
  SetBlend(BLEND_ALPHA);
  SetFont(Font_Main);
  const String words = Translate(u"Making Level");
  const float text_y = 3 * cell - cell / 2;
  SetColour(0, 0, 0);
  DrawText(words, (board_w - static_cast<float>(TextWidth(words))) / 2 + 4, text_y + 4);
  SetColour(255, 255, 255);
  DrawText(words, (board_w - static_cast<float>(TextWidth(words))) / 2, text_y);
  SetFont(nullptr);

  const int64_t t = Now - Making_Since;
  const int hopping = static_cast<int>((t / Hop_Time) % 6);
  const float size = cell * 0.8f, gap = cell * 0.2f;
  const float left = (board_w - 6 * size - 5 * gap) / 2;
  for (int kind = 0; kind < 6; kind++) {
    float y = 4.5f * cell;
    if (kind == hopping) {
      // Up and down in one arc: the height of a parabola over the hop's time.
      const float u = static_cast<float>(t % Hop_Time) / Hop_Time;
      y -= 4 * u * (1 - u) * cell * 0.6f;
    }
    const float x = left + static_cast<float>(kind) * (size + gap);
    const int style = KindStyle(kind);
    if (style >= 0 && Style_Images[style]) {
      SetColour(255, 255, 255);
      DrawImageRect(Style_Images[style], x, y, size, size, Small_Block_Frame);
    }
    DrawColourSymbol(kind, x, y, size);
  }
}

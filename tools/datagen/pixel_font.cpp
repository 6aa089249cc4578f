// The pixel font: hand-drawn 5 x 7 glyphs of capitals, digits and a few signs.
#include "pixel_font.h"

#include "glyphs_5x7.h"

#include <algorithm>
#include <cmath>
#include <map>


float TextPixelWidth(const std::string& text, float cell) {
  if (text.empty()) return 0;
  return (text.size() * 6 - 1) * cell;
}

float SdText(const std::string& text, float x, float y, float cell, float cell_h, float px,
             float py) {
  float best = 1e9f;
  // Only the glyph under the point and its neighbours can be nearest.
  int index = int(std::floor((px - x) / (6 * cell)));
  for (int k = std::max(0, index - 1); k <= std::min(int(text.size()) - 1, index + 1); ++k) {
    const char* rows = Glyph5x7(text[k]);
    if (!rows) continue;
    float gx = x + k * 6 * cell;
    for (int r = 0; r < 7; ++r)
      for (int c = 0; c < 5; ++c) {
        if (rows[r * 5 + c] != '#') continue;
        float cx = gx + (c + 0.5f) * cell, cy = y + (r + 0.5f) * cell_h;
        best = std::min(best, SdBox(px, py, cx, cy, cell * 0.5f, cell_h * 0.5f, 0));
      }
  }
  // Slightly rounded strokes.
  return best - std::min(cell, cell_h) * 0.12f;
}

void DrawWord(Picture& pic, const std::string& text, float cx, float cy, float cell, float cell_h,
              Rgb fill, Rgb outline, float outline_width, float shadow_alpha) {
  float w = TextPixelWidth(text, cell), h = 7 * cell_h;
  float x = cx - w / 2, y = cy - h / 2;
  int x0 = int(x - outline_width - 6), y0 = int(y - outline_width - 6);
  int x1 = int(x + w + outline_width + 8), y1 = int(y + h + outline_width + 8);
  auto sd = [&](float px, float py) { return SdText(text, x, y, cell, cell_h, px, py); };
  if (shadow_alpha > 0)
    ShadowShape(pic, x0, y0, x1, y1, [&](float px, float py) { return sd(px, py) - outline_width; },
                std::max(1.0f, cell * 0.3f), std::max(1.0f, cell * 0.3f), 1.5f, shadow_alpha);
  if (outline_width > 0)
    FillShape(pic, x0, y0, x1, y1, [&](float px, float py) { return sd(px, py) - outline_width; },
              outline);
  FillShape(pic, x0, y0, x1, y1, sd, [&](float, float py) {
    float t = Clamp01((py - y) / h);
    return fill * (1.08f - 0.2f * t);
  });
}

// Drawing the difficulty chart into an RGB picture.
#include "tools/levelgen/difficulty_chart.h"

#include <algorithm>
#include <cstdint>

#include "tools/levelgen/png.h"

bool WriteDifficultyChart(const std::string& path, const std::vector<ChartLevel>& levels) {
  const int col = 2, margin = 20, plot_h = 400;
  const int w = int(levels.size()) * col + 2 * margin, h = plot_h + 2 * margin;
  int top = 1;
  for (const ChartLevel& l : levels) top = std::max({top, l.moves, l.blocks});
  std::vector<uint8_t> rgb(size_t(w) * h * 3, 255);
  auto put = [&](int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    uint8_t* p = &rgb[(size_t(y) * w + x) * 3];
    p[0] = r, p[1] = g, p[2] = b;
  };
  auto y_of = [&](int v) { return margin + plot_h - v * plot_h / top; };
  // Grid lines every 10 units.
  for (int v = 0; v <= top; v += 10)
    for (int x = margin; x < w - margin; x++) put(x, y_of(v), 220, 220, 220);
  for (size_t i = 0; i < levels.size(); i++) {
    const ChartLevel& l = levels[i];
    int x0 = margin + int(i) * col;
    for (int dx = 0; dx < col; dx++) {
      for (int y = y_of(l.moves); y <= y_of(0); y++) {
        if (l.optimal) put(x0 + dx, y, 40, 150, 60);
        else put(x0 + dx, y, 240, 150, 30);
      }
      if (!l.optimal) put(x0 + dx, y_of(l.lower_bound), 200, 0, 0);
      put(x0 + dx, y_of(l.blocks), 90, 90, 90);
      put(x0 + dx, y_of(l.blocks) + 1, 90, 90, 90);
    }
  }
  for (int x = margin; x < w - margin; x++) put(x, y_of(0), 0, 0, 0);
  for (int y = margin; y <= y_of(0); y++) put(margin - 1, y, 0, 0, 0);
  return WritePng(path, w, h, rgb);
}

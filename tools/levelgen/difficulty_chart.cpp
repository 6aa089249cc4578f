// Drawing the difficulty chart into an RGB picture: the bars and dots, the axes with their
// figures and names, and a legend saying what each mark is.
#include "tools/levelgen/difficulty_chart.h"

#include <algorithm>
#include <cstdint>

#include "tools/datagen/glyphs_5x7.h"
#include "tools/levelgen/png.h"

namespace {

struct Rgb {
  uint8_t r, g, b;
};
constexpr Rgb Proven = {40, 150, 60}, Best_Known = {240, 150, 30}, Bound = {200, 0, 0};
constexpr Rgb Blocks = {90, 90, 90}, Ink = {0, 0, 0}, Grid = {220, 220, 220};

class Canvas {
 public:
  Canvas(int w, int h) : W(w), H(h), Pixels(size_t(w) * h * 3, 255) {}
  void Put(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= W || y >= H) return;
    uint8_t* p = &Pixels[(size_t(y) * W + x) * 3];
    p[0] = c.r, p[1] = c.g, p[2] = c.b;
  }
  void Box(int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = y0; y <= y1; y++)
      for (int x = x0; x <= x1; x++) Put(x, y, c);
  }
  // Text in the tools' pixel font, each font cell `scale` pixels, its top-left at (x, y).
  void Text(int x, int y, const std::string& text, int scale = 2, Rgb c = Ink) {
    for (size_t k = 0; k < text.size(); k++) {
      const char* rows = Glyph5x7(text[k]);
      if (!rows) continue;
      for (int r = 0; r < 7; r++)
        for (int col = 0; col < 5; col++)
          if (rows[r * 5 + col] == '#') {
            const int gx = x + int(k) * 6 * scale + col * scale, gy = y + r * scale;
            Box(gx, gy, gx + scale - 1, gy + scale - 1, c);
          }
    }
  }
  static int TextWidth(const std::string& text, int scale = 2) { return (int(text.size()) * 6 - 1) * scale; }
  bool Write(const std::string& path) const { return WritePng(path, W, H, Pixels); }

 private:
  int W, H;
  std::vector<uint8_t> Pixels;
};

}  // namespace

bool WriteDifficultyChart(const std::string& path, const std::vector<ChartLevel>& levels) {
  const int col = 2, plot_h = 400;
  const int left = 64, right = 20, top = 78, bottom = 58;
  const int n = int(levels.size());
  const int w = n * col + left + right, h = plot_h + top + bottom;
  int highest = 1;
  for (const ChartLevel& l : levels) highest = std::max({highest, l.moves, l.blocks});
  Canvas chart(w, h);
  auto y_of = [&](int v) { return top + plot_h - v * plot_h / highest; };
  auto x_of = [&](int level) { return left + level * col; };   // level counted from 0

  // Grid lines and the figures of the vertical axis every 10.
  for (int v = 0; v <= highest; v += 10) {
    for (int x = left; x < w - right; x++) chart.Put(x, y_of(v), Grid);
    const std::string figure = std::to_string(v);
    chart.Text(left - 8 - Canvas::TextWidth(figure), y_of(v) - 7, figure);
  }
  for (int i = 0; i < n; i++) {
    const ChartLevel& l = levels[i];
    for (int dx = 0; dx < col; dx++) {
      for (int y = y_of(l.moves); y <= y_of(0); y++) chart.Put(x_of(i) + dx, y, l.optimal ? Proven : Best_Known);
      if (!l.optimal) chart.Put(x_of(i) + dx, y_of(l.lower_bound), Bound);
      chart.Put(x_of(i) + dx, y_of(l.blocks), Blocks);
      chart.Put(x_of(i) + dx, y_of(l.blocks) + 1, Blocks);
    }
  }
  // The axes, the level numbers under the horizontal one (the first level and every 100th).
  for (int x = left; x < w - right; x++) chart.Put(x, y_of(0), Ink);
  for (int y = top; y <= y_of(0); y++) chart.Put(left - 1, y, Ink);
  for (int level = 1; level <= n; level = level == 1 ? 100 : level + 100) {
    const int x = x_of(level - 1) + col / 2;
    chart.Box(x, y_of(0) + 1, x, y_of(0) + 5, Ink);
    const std::string figure = std::to_string(level);
    chart.Text(x - Canvas::TextWidth(figure) / 2, y_of(0) + 9, figure);
  }
  const std::string across = "LEVEL, IN CATALOGUE ORDER";
  chart.Text(left + (n * col - Canvas::TextWidth(across)) / 2, h - 22, across);
  chart.Text(8, top - 24, "MOVES OR BLOCKS");

  // The legend: a mark and what it stands for, in one row above the plot.
  struct Entry {
    Rgb Colour;
    int Height;   // of the mark: a bar, a line or a dot
    std::string Label;
  } legend[] = {{Proven, 14, "FEWEST MOVES (PROVEN)"},
                {Best_Known, 14, "BEST KNOWN MOVES"},
                {Bound, 2, "PROVEN LOWER BOUND"},
                {Blocks, 2, "BLOCKS AT THE START"}};
  int x = left;
  for (const Entry& e : legend) {
    chart.Box(x, 16 - e.Height / 2, x + 13, 16 + (e.Height - 1) / 2, e.Colour);
    chart.Text(x + 20, 10, e.Label);
    x += 20 + Canvas::TextWidth(e.Label) + 28;
  }
  return chart.Write(path);
}

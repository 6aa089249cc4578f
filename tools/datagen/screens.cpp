// Full-screen pictures: the backgrounds of the board screens, the splash and the victory overlay.
#include <cmath>

#include "paint.h"
#include "pixel_font.h"
#include "tiles.h"
#include "ui_pictures.h"

namespace {

const int W = 960, H = 768, CELL = 96;

void VerticalGradient(Picture& pic, Rgb top, Rgb bottom) {
  for (int y = 0; y < pic.H; ++y)
    for (int x = 0; x < pic.W; ++x) pic.Set(x, y, MixRgb(top, bottom, y / float(pic.H - 1)), 1);
}

// Soft out-of-focus discs of light, placed by a fixed seed.
void Bokeh(Picture& pic, int count, int seed, Rgb colour, float alpha) {
  for (int i = 0; i < count; ++i) {
    float cx = Hash2(i, 0, seed) * pic.W, cy = Hash2(i, 1, seed) * pic.H;
    float r = 20 + 70 * Hash2(i, 2, seed);
    float a = alpha * (0.4f + 0.6f * Hash2(i, 3, seed));
    for (int y = int(cy - r - 2); y <= int(cy + r + 2); ++y)
      for (int x = int(cx - r - 2); x <= int(cx + r + 2); ++x) {
        float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / r;
        if (d < 1) pic.Blend(x, y, colour, a * Smooth(1.0f, 0.7f, d) * (0.6f + 0.4f * d));
      }
  }
}

// A vignette darkening towards the corners.
void Vignette(Picture& pic, float strength) {
  for (int y = 0; y < pic.H; ++y)
    for (int x = 0; x < pic.W; ++x) {
      float dx = (x - pic.W / 2.0f) / (pic.W / 2.0f), dy = (y - pic.H / 2.0f) / (pic.H / 2.0f);
      float k = 1 - strength * Smooth(0.5f, 1.6f, dx * dx + dy * dy);
      pic.Set(x, y, pic.ColourAt(x, y) * k, 1);
    }
}

// The board surface: a plate with a slight stud in each quarter of a cell, lit from the top left.
void StuddedBoard(Picture& pic, Rgb base, float stud_relief) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      float fx = std::fmod(x + 0.5f, 48.0f) - 24, fy = std::fmod(y + 0.5f, 48.0f) - 24;
      float r = std::hypot(fx, fy);
      float stud = Smooth(7.5f, 5.5f, r);
      // Light falls on the stud's upper-left side and leaves a shadow on its lower-right.
      float lit = stud * (-(fx + fy) / 10.0f) * stud_relief;
      float halo = Smooth(11, 7, r) * (1 - stud) * ((fx + fy) > 0 ? -0.12f : 0.05f) * stud_relief;
      float cx = std::fmod(x + 0.5f, float(CELL)), cy = std::fmod(y + 0.5f, float(CELL));
      float edge = std::min({cx, CELL - cx, cy, CELL - cy});
      float seam = Smooth(2.0f, 0.0f, edge) * 0.18f;
      float noise = 0.05f * TileFbm(x / 32.0f, y / 32.0f, 30, 3, 11);
      Rgb c = pic.ColourAt(x, y);
      c = MixRgb(c, base, 0.55f) * (1 + lit + halo - seam + noise);
      pic.Set(x, y, c, 1);
    }
}

void Diagonals(Picture& pic, float alpha) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      float s = std::sin((x + y) * 2 * Pi / 64.0f);
      pic.Set(x, y, pic.ColourAt(x, y) * (1 + alpha * s), 1);
    }
}

// Six default colours of the game for decorations.
const TileStyle& Style(int i) { return TileStyles()[i]; }

}  // namespace

Picture RenderBackground(const std::string& which) {
  Picture pic(W, H);
  if (which == "fond") {
    VerticalGradient(pic, Hex(0x3A4A9A), Hex(0x1C1E4A));
    Bokeh(pic, 26, 5, Hex(0x9AB0FF), 0.10f);
    Bokeh(pic, 14, 6, Hex(0xFFB8E0), 0.07f);
    Vignette(pic, 0.35f);
  } else if (which == "picots") {
    VerticalGradient(pic, Hex(0x5C6A8E), Hex(0x3C4462));
    StuddedBoard(pic, Hex(0x4E5A7C), 1.0f);
    Vignette(pic, 0.25f);
  } else if (which == "menus" || which == "style") {
    VerticalGradient(pic, Hex(0x6A4A94), Hex(0x36285C));
    Diagonals(pic, 0.035f);
    Bokeh(pic, 18, 9, Hex(0xFFD0F0), 0.06f);
    Vignette(pic, 0.3f);
    if (which == "style") {
      // The six slots of row 4 (columns 2 to 7): one recessed bar, numbered below.
      auto bar = [](float x, float y) { return SdBox(x, y, 480, 432, 292, 52, 14); };
      GlowShape(pic, 0, 0, W - 1, H - 1, bar, Hex(0xFFE8A0), 10, 0.35f);
      FillShape(pic, 0, 0, W - 1, H - 1, bar, [&](float x, float y) {
        float inner = Smooth(-14, 0, bar(x, y));
        float slot = std::fabs(std::fmod(x - 192, 96.0f) - 48);
        float divider = Smooth(46.5f, 48.0f, slot) * 0.35f;
        return Hex(0x22183A) * (1 + 0.6f * inner * Clamp01((460 - y) / 60) - divider);
      });
      for (int k = 0; k < 6; ++k)
        DrawWord(pic, std::string(1, char('1' + k)), 240.0f + 96 * k, 510.0f, 3.2f, 3.2f,
                 Hex(0xFFF0C8), Hex(0x2A1A40), 2.0f, 0.5f);
    }
  } else {   // tuto
    VerticalGradient(pic, Hex(0x2A7A80), Hex(0x163A4A));
    StuddedBoard(pic, Hex(0x2A6470), 0.6f);
    Bokeh(pic, 12, 13, Hex(0xC0FFF0), 0.05f);
    Vignette(pic, 0.3f);
  }
  return pic;
}

Picture RenderBumper() {
  Picture pic(W, H);
  VerticalGradient(pic, Hex(0x9CC8F4), Hex(0xF6EEDC));
  // Broad soft rays from behind the title.
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      float a = std::atan2(y - 170.0f, x - 480.0f);
      float ray = 0.5f + 0.5f * std::cos(a * 12);
      float fade = Smooth(700, 100, std::hypot(x - 480.0f, y - 170.0f));
      pic.Blend(x, y, Hex(0xFFFFFF), 0.16f * ray * fade);
    }
  Bokeh(pic, 20, 21, Hex(0xFFFFFF), 0.12f);
  // The title in blocks, each letter in one of the first styles; every stroke is joined side
  // by side, as blocks of one colour are on the board.
  const std::vector<std::vector<std::string>> letters = {
      {"....", "....", "####", "#..#", "#..#", "#..#", "####", "...#", "...#"},
      {"#..#", "#..#", "#..#", "#..#", "#..#", "#..#", "####", "....", "...."},
      {"....", "....", "####", "...#", "####", "#..#", "####", "....", "...."},
      {"####", "#..#", "#..#", "####", "#.#.", "#.##", "#..#", "....", "...."},
      {"#...", "#...", "#..#", "#.##", "###.", "#.##", "#..#", "....", "...."},
  };
  const int letter_style[5] = {0, 2, 1, 3, 5};
  float cell = 30, gap = 30;
  float total = 5 * 4 * cell + 4 * gap;
  float x = (W - total) / 2;
  for (int i = 0; i < 5; ++i) {
    DrawBlockCells(pic, letters[i], x, 40, cell, Style(letter_style[i]), 0.45f);
    x += 4 * cell + gap;
  }
  // A ribbon of loose blocks along the bottom.
  for (int k = 0; k < 9; ++k) {
    std::vector<std::string> one = {"#"};
    if (k % 3 == 1) one = {"##"};
    float bx = 70.0f + k * 96, by = 660.0f + 14 * std::sin(k * 1.7f);
    DrawBlockCells(pic, one, bx, by, 40, Style((k * 5 + 2) % 38), 0.35f);
  }
  return pic;
}

Picture RenderBravo() {
  Picture pic(W, H);
  // A dim glass panel behind the lines of the verdict, so that they read over any board.
  auto panel = [](float x, float y) { return SdBox(x, y, 480, 500, 400, 205, 40); };
  FillShape(pic, 0, 0, W - 1, H - 1, panel, [&](float, float y) {
    return MixRgb(Hex(0x101430), Hex(0x201040), Clamp01((y - 300) / 400));
  }, 0.5f);
  FillShape(pic, 0, 0, W - 1, H - 1, [&](float x, float y) {
    return std::max(std::fabs(panel(x, y)) - 1.5f, -1e3f);
  }, Hex(0xFFE9A0), 0.6f);
  // The cheer in blocks, strokes joined side by side.
  const std::vector<std::vector<std::string>> letters = {
      {"###.", "#..#", "####", "#..#", "###."},
      {"####", "#..#", "####", "#.#.", "#.##"},
      {"####", "#..#", "####", "#..#", "#..#"},
      {"#...#", "#...#", "#...#", "##.##", ".###."},
      {"####", "#..#", "#..#", "#..#", "####"},
      {"#", "#", "#", ".", "#"},
  };
  const int letter_style[6] = {0, 2, 1, 3, 9, 5};
  float cell = 30, gap = 24;
  float total = 0;
  for (const auto& l : letters) total += l[0].size() * cell + gap;
  total -= gap;
  float x = (W - total) / 2;
  for (int i = 0; i < 6; ++i) {
    DrawBlockCells(pic, letters[i], x, 100 + 8 * std::sin(i * 1.3f), cell, Style(letter_style[i]), 0.5f);
    x += letters[i][0].size() * cell + gap;
  }
  // Sparkles around the cheer, kept off the letters.
  int placed = 0;
  for (int i = 0; placed < 12 && i < 200; ++i) {
    float cx = 40 + Hash2(i, 0, 77) * 880, cy = 30 + Hash2(i, 1, 77) * 240;
    bool on_letters = cx > (W - total) / 2 - 20 && cx < (W + total) / 2 + 20 && cy > 80 && cy < 270;
    if (on_letters) continue;
    ++placed;
    float r = 8 + 12 * Hash2(i, 2, 77);
    auto star = [=](float px, float py) { return SdStar(px, py, cx, cy, r, r * 0.3f, 4, 45.0f * (i % 2)); };
    GlowShape(pic, int(cx - 2 * r), int(cy - 2 * r), int(cx + 2 * r), int(cy + 2 * r), star,
              Hex(0xFFF0A0), r, 0.5f);
    FillShape(pic, int(cx - r), int(cy - r), int(cx + r), int(cy + r), star, Hex(0xFFFBE8));
  }
  return pic;
}

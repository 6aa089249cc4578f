// The desktop icon and the contact sheet of all block styles.
#include "desktop.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "paint.h"
#include "pixel_font.h"
#include "tiles.h"

Picture RenderAppIcon(int size) {
  Picture pic(size, size);
  pic.Fill(Rgb{}, 0);
  float s = float(size);
  // A rounded tray, deep violet, lit from the top, so that the blocks stand out on light and
  // dark desktop themes alike.
  float r = s * 0.18f, m = s * 0.03f;
  FillShape(pic, 0, 0, size - 1, size - 1,
            [&](float x, float y) { return SdBox(x, y, s / 2, s / 2, s / 2 - m, s / 2 - m, r); },
            [&](float, float y) { return MixRgb(Hex(0x4a3a7a), Hex(0x1c1433), y / s); });
  // 2 x 2 cells with a margin: an L of red candy and a lone green one in the free corner.
  float cell = s * 0.39f, x0 = (s - 2 * cell) / 2, y0 = (s - 2 * cell) / 2 - s * 0.01f;
  const auto& styles = TileStyles();
  DrawBlockCells(pic, {"#.", "##"}, x0, y0, cell, styles[0], 0.5f);
  DrawBlockCells(pic, {"#"}, x0 + cell, y0, cell, styles[1], 0.5f);
  return pic;
}

bool WriteAppIcons(const std::string& dir) {
  bool ok = true;
  for (int size : {32, 48, 64, 128, 256}) {
    std::string path = dir + "/quark-" + std::to_string(size) + ".png";
    if (!SavePng(RenderAppIcon(size), path)) {
      std::fprintf(stderr, "Can't write %s\n", path.c_str());
      ok = false;
    }
  }
  return ok;
}

Picture RenderContactSheet() {
  const auto& styles = TileStyles();
  const int cell = 40, columns = 2, row_h = 150, col_w = 700;
  const int rows = (int(styles.size()) + columns - 1) / columns;
  Picture pic(columns * col_w, rows * row_h + 20);
  for (int y = 0; y < pic.H; ++y)
    for (int x = 0; x < pic.W; ++x)
      pic.Set(x, y, MixRgb(Hex(0x2a2438), Hex(0x3a3450), float(((x / 24) + (y / 24)) % 2) * 0.25f), 1);
  for (size_t i = 0; i < styles.size(); ++i) {
    int col = int(i) / rows, row = int(i) % rows;
    float x = col * col_w + 20.0f, y = row * row_h + 20.0f;
    // The pixel font has capitals, digits and a few signs only.
    std::string label = std::to_string(i) + " ";
    for (char c : styles[i].Sheet) label += c == '_' ? ' ' : char(std::toupper(static_cast<unsigned char>(c)));
    DrawWord(pic, label, x + TextPixelWidth(label, 2) / 2, y + 7, 2, 2, Hex(0xf0ecff), Hex(0x101010), 1, 0.4f);
    float by = y + 24;
    DrawBlockCells(pic, {"#"}, x, by + cell, cell, styles[i], 0.45f);
    DrawBlockCells(pic, {"###"}, x + 70, by + cell, cell, styles[i], 0.45f);
    DrawBlockCells(pic, {"#.", "#.", "##"}, x + 230, by, cell, styles[i], 0.45f);
    DrawBlockCells(pic, {"##", "##"}, x + 350, by + cell / 2.0f, cell, styles[i], 0.45f);
    // Two separate lone blocks side by side: the border between them must stay visible.
    DrawBlockCells(pic, {"#"}, x + 470, by + cell, cell, styles[i], 0.45f);
    DrawBlockCells(pic, {"#"}, x + 470 + cell, by + cell, cell, styles[i], 0.45f);
    DrawBlockCells(pic, {"#"}, x + 580, by + cell / 2.0f, cell * 2, styles[i], 0.45f);
  }
  return pic;
}

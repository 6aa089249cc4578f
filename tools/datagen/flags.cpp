// The fifteen language flags, drawn from their simple geometry.
#include <cmath>
#include <functional>
#include <map>

#include "paint.h"
#include "ui_pictures.h"

namespace {

const float FW = 100, FH = 75;

using FlagPaint = std::function<Rgb(float x, float y)>;

Rgb Bands3(float t, Rgb a, Rgb b, Rgb c) { return t < 1 / 3.0f ? a : (t < 2 / 3.0f ? b : c); }

float LineDistance(float x, float y, float ax, float ay, float bx, float by) {
  return std::fabs(SdCapsule(x, y, ax, ay, bx, by, 0));
}

Rgb UnionFlag(float x, float y) {
  Rgb blue = Hex(0x012169), red = Hex(0xC8102E), white = Hex(0xFFFFFF);
  float diag = std::min(LineDistance(x, y, 0, 0, FW, FH), LineDistance(x, y, 0, FH, FW, 0));
  Rgb c = blue;
  if (diag < 7.5f) c = white;
  if (diag < 2.6f) c = red;
  float cross = std::min(std::fabs(x - FW / 2), std::fabs(y - FH / 2));
  if (cross < 12.0f) c = white;
  if (cross < 7.0f) c = red;
  return c;
}

Rgb ChinaFlag(float x, float y) {
  Rgb c = Hex(0xDE2910);
  float s = FH / 20;   // one unit of the flag's construction grid
  if (SdStar(x, y, 5 * s, 5 * s, 3 * s, 3 * s * 0.382f, 5, 0) < 0) return Hex(0xFFDE00);
  const float small[4][2] = {{10, 2}, {12, 4}, {12, 7}, {10, 9}};
  for (auto& p : small) {
    float cx = p[0] * s, cy = p[1] * s;
    float turn = std::atan2(5 * s - cy, 5 * s - cx) * 180 / Pi + 90;
    if (SdStar(x, y, cx, cy, s, s * 0.382f, 5, turn) < 0) return Hex(0xFFDE00);
  }
  return c;
}

Rgb IsraelFlag(float x, float y) {
  Rgb blue = Hex(0x0038B8);
  if ((y > 7.5f && y < 18.5f) || (y > 56.5f && y < 67.5f)) return blue;
  float cx = 50, cy = 37.5f, r = 15;
  auto tri = [&](float turn) {
    float p[3][2];
    for (int i = 0; i < 3; ++i) {
      float a = (turn + i * 120 - 90) * Pi / 180;
      p[i][0] = cx + r * std::cos(a);
      p[i][1] = cy + r * std::sin(a);
    }
    return std::fabs(SdTriangle(x, y, p[0][0], p[0][1], p[1][0], p[1][1], p[2][0], p[2][1]));
  };
  if (std::min(tri(0), tri(180)) < 1.4f) return blue;
  return Hex(0xFFFFFF);
}

Rgb SouthAfricaFlag(float x, float y) {
  float X = x / FW * 3, Y = y / FH * 2;   // the flag's own 3 x 2 grid
  float d = std::min({std::fabs(SdCapsule(X, Y, 0, 0, 1, 1, 0)),
                      std::fabs(SdCapsule(X, Y, 0, 2, 1, 1, 0)),
                      std::fabs(SdCapsule(X, Y, 1, 1, 3.2f, 1, 0))});
  bool hoist = X < 1 && std::fabs(Y - 1) < 1 - X;
  if (d < 0.2f) return Hex(0x007749);
  if (hoist) return d < 0.333f ? Hex(0xFFB81C) : Hex(0x141414);
  if (d < 0.333f) return Hex(0xFFFFFF);
  return Y < 1 ? Hex(0xE03C31) : Hex(0x001489);
}

Rgb PortugalFlag(float x, float y) {
  Rgb c = x < 40 ? Hex(0x006600) : Hex(0xFF0000);
  float r = std::hypot(x - 40, y - 37.5f);
  bool sphere = std::fabs(r - 14) < 1.8f ||
                (r < 14 && (std::fabs(y - 37.5f) < 1.2f || std::fabs(y - 37.5f + (x - 40) * 0.35f) < 1.0f));
  if (sphere) c = Hex(0xFFE000);
  if (SdBox(x, y, 40, 38, 7, 8.5f, 3) < 0) c = Hex(0xFFFFFF);
  if (SdBox(x, y, 40, 38, 5, 6.5f, 2.5f) < 0) c = Hex(0xFFFFFF);
  if (std::fabs(SdBox(x, y, 40, 38, 7, 8.5f, 3)) < 1.4f) c = Hex(0xE01010);
  for (int i = 0; i < 5; ++i) {
    const float pts[5][2] = {{40, 33}, {40, 38}, {40, 43}, {35.5f, 38}, {44.5f, 38}};
    if (SdCircle(x, y, pts[i][0], pts[i][1], 1.8f) < 0) c = Hex(0x0030A0);
  }
  return c;
}

Rgb SpainFlag(float x, float y) {
  Rgb red = Hex(0xAA151B), yellow = Hex(0xF1BF00);
  Rgb c = (y < FH / 4 || y > FH * 3 / 4) ? red : yellow;
  // A simple shield, crown and pillars on the hoist side.
  if (SdBox(x, y, 32, 39, 6, 8, 3) < 0) c = (x < 32) ? Hex(0xC8102E) : Hex(0xE8E0D0);
  if (std::fabs(SdBox(x, y, 32, 39, 6, 8, 3)) < 0.9f) c = Hex(0x8A5A10);
  if (SdBox(x, y, 32, 28.5f, 6, 2.2f, 1) < 0) c = Hex(0xD4A017);
  if (SdBox(x, y, 22, 39, 1.6f, 8, 0.5f) < 0 || SdBox(x, y, 42, 39, 1.6f, 8, 0.5f) < 0)
    c = Hex(0xD8D0C0);
  return c;
}

const std::map<std::string, FlagPaint>& Flags() {
  static const std::map<std::string, FlagPaint> f = {
      {"French.png", [](float x, float) { return Bands3(x / FW, Hex(0x0055A4), Hex(0xFFFFFF), Hex(0xEF4135)); }},
      {"English.png", UnionFlag},
      {"Dutch.png", [](float, float y) { return Bands3(y / FH, Hex(0xAE1C28), Hex(0xFFFFFF), Hex(0x21468B)); }},
      {"Portuguese.png", PortugalFlag},
      {"Espanol.png", SpainFlag},
      {"Polish.png", [](float, float y) { return y < FH / 2 ? Hex(0xFFFFFF) : Hex(0xDC143C); }},
      {"Deutsch.png", [](float, float y) { return Bands3(y / FH, Hex(0x161616), Hex(0xDD0000), Hex(0xFFCE00)); }},
      {"Hungarian.png", [](float, float y) { return Bands3(y / FH, Hex(0xCD2A3E), Hex(0xFFFFFF), Hex(0x436F4D)); }},
      {"Italiano.png", [](float x, float) { return Bands3(x / FW, Hex(0x009246), Hex(0xFFFFFF), Hex(0xCE2B37)); }},
      {"Chinese.png", ChinaFlag},
      {"Hebrew.png", IsraelFlag},
      {"Bulgarian.png", [](float, float y) { return Bands3(y / FH, Hex(0xFFFFFF), Hex(0x00966E), Hex(0xD62612)); }},
      {"Swedish.png", [](float x, float y) {
         bool cross = (x > 31.25f && x < 43.75f) || (y > 30 && y < 45);
         return cross ? Hex(0xFECC00) : Hex(0x006AA7);
       }},
      {"Suid-Afrika.png", SouthAfricaFlag},
      {"Romanian.png", [](float x, float) { return Bands3(x / FW, Hex(0x002B7F), Hex(0xFCD116), Hex(0xCE1126)); }},
  };
  return f;
}

}  // namespace

Picture RenderFlag(const std::string& file) {
  Picture pic{int(FW), int(FH)};
  auto it = Flags().find(file);
  if (it == Flags().end()) return pic;
  const FlagPaint& paint = it->second;
  for (int y = 0; y < pic.H; ++y)
    for (int x = 0; x < pic.W; ++x) {
      // 4 x 4 samples per pixel keep the stars and diagonals smooth.
      Rgb sum;
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) sum = sum + paint(x + (i + 0.5f) / 4, y + (j + 0.5f) / 4);
      Rgb c = sum * (1 / 16.0f);
      // A gentle ripple of the cloth and a thin dark border.
      float ripple = 1 + 0.07f * std::sin(x * 0.09f + y * 0.025f) - 0.03f * (y / FH);
      c = c * ripple;
      bool border = x == 0 || y == 0 || x == pic.W - 1 || y == pic.H - 1;
      if (border) c = c * 0.55f;
      c.R = std::min(c.R, 1.0f);
      c.G = std::min(c.G, 1.0f);
      c.B = std::min(c.B, 1.0f);
      pic.Set(x, y, c, 1);
    }
  return pic;
}

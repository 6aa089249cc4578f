// Block geometry shared by the tile, shadow and highlight strips, and the sheet rendering.
#include "tiles.h"

#include <algorithm>
#include <cmath>

#include "paint.h"
#include "shape_table.h"

namespace {

const float Gap = 2.0f;          // half the space left between two blocks that do not join
const float Corner_Radius = 16;  // outer corners of a shape
const float Fillet = 7;          // inner corners where three blocks of a colour meet
const float Bevel = 11;

// Distance out of a quarter-plane {ax < 0, ay < 0} whose corner is rounded by Fillet.
float OutOfRoundedQuadrant(float ax, float ay) {
  float a = ax + Fillet, b = ay + Fillet;
  if (a > 0 && b > 0) return std::hypot(a, b) - Fillet;
  return std::max(a, b) - Fillet;
}

// Quarter-0 orientation: x grows away from the horizontal neighbour's side, y away from the
// vertical neighbour's side; the block's corner is at (0, 0).
float LocalInside(int corner, float x, float y) {
  bool a = corner & CORNER_A, b = corner & CORNER_B, d = corner & CORNER_D;
  if (a && b && d) return 1e3f;
  if (a && b) return OutOfRoundedQuadrant(x - Gap, y - Gap);          // empty diagonal cell
  if (a && d) return OutOfRoundedQuadrant(x - Gap, -Gap - y);         // empty side cell
  if (b && d) return OutOfRoundedQuadrant(-Gap - x, y - Gap);         // empty cell above
  if (a) return x - Gap;
  if (b) return y - Gap;
  // A lone corner, rounded.
  float px = x - Gap - Corner_Radius, py = y - Gap - Corner_Radius;
  if (px < 0 && py < 0) return Corner_Radius - std::hypot(px, py);
  return std::min(x - Gap, y - Gap);
}

}  // namespace

float QuarterInside(int quarter, int corner, float u, float v) {
  bool right = quarter == 1 || quarter == 2, bottom = quarter >= 2;
  float x = right ? BLOCK - u : u;
  float y = bottom ? BLOCK - v : v;
  return LocalInside(corner, x, y);
}

namespace {

float BevelHeight(float d) {
  if (d <= 0) return 0;
  if (d >= Bevel) return Bevel * 0.55f;
  float t = d / Bevel;
  return Bevel * 0.55f * (1 - (1 - t) * (1 - t));
}

float Wrap(float v) { return v - BLOCK * std::floor(v / BLOCK); }

// One lit pixel of a block. `inside` gives the shape's distance at a block point.
void ShadeBlockPixel(const TileStyle& style, const std::function<float(float, float)>& inside,
                     float u, float v, float scale, Rgb* out, float* alpha) {
  float d = inside(u, v);
  *alpha = Clamp01(d / scale + 0.5f);
  if (*alpha <= 0) return;
  auto height = [&](float x, float y) {
    float dd = inside(x, y);
    return BevelHeight(dd) + (dd > 0 ? style.Material(Wrap(x), Wrap(y)).Height * Smooth(0, 4, dd) : 0);
  };
  float e = 0.75f * scale;
  float gx = (height(u + e, v) - height(u - e, v)) / (2 * e);
  float gy = (height(u, v + e) - height(u, v - e)) / (2 * e);
  float nx = -gx, ny = -gy, nz = 1;
  float len = std::sqrt(nx * nx + ny * ny + nz * nz);
  nx /= len, ny /= len, nz /= len;
  const float lx = -0.48f, ly = -0.58f, lz = 0.66f;
  float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
  float rz = 2 * (nx * lx + ny * ly + nz * lz) * nz - lz;
  float specular = std::pow(std::max(rz, 0.0f), 20.0f) * style.Gloss;
  Surface s = style.Material(Wrap(u), Wrap(v));
  Rgb c = s.Colour * (0.42f + 0.88f * diffuse);
  // A soft sheen near the top of every shape, stronger on glossy styles.
  float sheen = style.Gloss * 0.18f * Smooth(Bevel * 2.2f, 0, std::max(d - 2, 0.0f)) *
                Clamp01(0.5f - ny);
  c = c + Rgb{specular + sheen, specular + sheen, specular + sheen};
  // A thin darker rim outlines every shape.
  c = c * (0.72f + 0.28f * Smooth(0, 2.2f, d));
  out->R = std::min(c.R, 1.0f);
  out->G = std::min(c.G, 1.0f);
  out->B = std::min(c.B, 1.0f);
}

}  // namespace

Picture RenderTileSheet(const TileStyle& style) {
  Picture pic(30 * QUARTER, QUARTER);
  for (int f = 0; f < 28; ++f) {
    int q, corner;
    FrameCorner(f, &q, &corner);
    float ou = (q == 1 || q == 2) ? QUARTER : 0, ov = q >= 2 ? QUARTER : 0;
    auto inside = [&](float u, float v) { return QuarterInside(q, corner, u, v); };
    for (int j = 0; j < QUARTER; ++j)
      for (int i = 0; i < QUARTER; ++i) {
        Rgb c;
        float a;
        ShadeBlockPixel(style, inside, ou + i + 0.5f, ov + j + 0.5f, 1.0f, &c, &a);
        if (a > 0) pic.Set(f * QUARTER + i, j, c, a);
      }
  }
  // Frame 28: the particle sprite, a soft glowing dot in the style's own light.
  for (int j = 0; j < QUARTER; ++j)
    for (int i = 0; i < QUARTER; ++i) {
      float r = std::hypot(i + 0.5f - 24, j + 0.5f - 24) / 22.0f;
      if (r >= 1) continue;
      float a = std::pow(1 - r, 1.8f);
      float core = Smooth(0.45f, 0.0f, r);
      Rgb c = MixRgb(style.Spark, Rgb{1, 1, 1}, core);
      pic.Set(28 * QUARTER + i, j, c, a);
    }
  // Frame 29: a whole lone block at half size, for the level thumbnails.
  auto lone = [](float u, float v) {
    int q = (u < QUARTER) ? (v < QUARTER ? 0 : 3) : (v < QUARTER ? 1 : 2);
    return QuarterInside(q, 0, u, v);
  };
  for (int j = 0; j < QUARTER; ++j)
    for (int i = 0; i < QUARTER; ++i) {
      Rgb c;
      float a;
      ShadeBlockPixel(style, lone, 2 * (i + 0.5f), 2 * (j + 0.5f), 2.0f, &c, &a);
      if (a > 0) pic.Set(29 * QUARTER + i, j, c, a);
    }
  return pic;
}

Picture RenderShadowStrip() {
  Picture pic(28 * QUARTER, QUARTER);
  for (int f = 0; f < 28; ++f) {
    int q, corner;
    FrameCorner(f, &q, &corner);
    float ou = (q == 1 || q == 2) ? QUARTER : 0, ov = q >= 2 ? QUARTER : 0;
    for (int j = 0; j < QUARTER; ++j)
      for (int i = 0; i < QUARTER; ++i) {
        float d = QuarterInside(q, corner, ou + i + 0.5f, ov + j + 0.5f);
        float a = 0.42f * Smooth(-3.0f, 6.0f, d);
        if (a > 0.002f) pic.Set(f * QUARTER + i, j, Rgb{0.03f, 0.02f, 0.05f}, a);
      }
  }
  return pic;
}

Picture RenderHighlightStrip() {
  Picture pic(28 * QUARTER, QUARTER);
  for (int f = 0; f < 28; ++f) {
    int q, corner;
    FrameCorner(f, &q, &corner);
    float ou = (q == 1 || q == 2) ? QUARTER : 0, ov = q >= 2 ? QUARTER : 0;
    for (int j = 0; j < QUARTER; ++j)
      for (int i = 0; i < QUARTER; ++i) {
        float d = QuarterInside(q, corner, ou + i + 0.5f, ov + j + 0.5f);
        float a = Clamp01(d + 0.5f);
        if (a <= 0) continue;
        // A bright rim fading inwards over a faint glow: drawn added to the block below.
        float k = 0.16f + 0.62f * std::exp(-std::max(d, 0.0f) / 5.0f);
        pic.Set(f * QUARTER + i, j, Rgb{k, k * 0.97f, k * 0.85f}, a);
      }
  }
  return pic;
}

void DrawBlockCells(Picture& pic, const std::vector<std::string>& rows, float x, float y,
                    float cell, const TileStyle& style, float shadow_alpha) {
  int h = int(rows.size());
  auto filled = [&](int cx, int cy) {
    return cy >= 0 && cy < h && cx >= 0 && cx < int(rows[cy].size()) && rows[cy][cx] == '#';
  };
  int w = 0;
  for (const auto& r : rows) w = std::max(w, int(r.size()));
  float scale = BLOCK / cell;
  // Inside distance (block pixels) of the shape at a picture point.
  auto inside = [&](float px, float py) -> float {
    float gx = (px - x) / cell, gy = (py - y) / cell;
    int cx = int(std::floor(gx)), cy = int(std::floor(gy));
    if (!filled(cx, cy)) return -1e3f;
    float u = (gx - cx) * BLOCK, v = (gy - cy) * BLOCK;
    int mask = 0;
    const int dx[8] = {0, 1, 1, 1, 0, -1, -1, -1}, dy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    for (int b = 0; b < 8; ++b)
      if (filled(cx + dx[b], cy + dy[b])) mask |= 1 << b;
    int q = (u < QUARTER) ? (v < QUARTER ? 0 : 3) : (v < QUARTER ? 1 : 2);
    return QuarterInside(q, CornerOf(mask, q), u, v);
  };
  int x0 = int(x) - 4, y0 = int(y) - 4, x1 = int(x + w * cell) + 12, y1 = int(y + h * cell) + 12;
  float off = cell * 0.09f;
  if (shadow_alpha > 0)
    for (int j = std::max(y0, 0); j <= std::min(y1, pic.H - 1); ++j)
      for (int i = std::max(x0, 0); i <= std::min(x1, pic.W - 1); ++i) {
        float d = inside(i + 0.5f - off, j + 0.5f - off) / scale;
        float a = shadow_alpha * Smooth(-2.5f, 3.0f, d);
        if (a > 0) pic.Blend(i, j, Rgb{0.03f, 0.02f, 0.05f}, a);
      }
  for (int j = std::max(y0, 0); j <= std::min(y1, pic.H - 1); ++j)
    for (int i = std::max(x0, 0); i <= std::min(x1, pic.W - 1); ++i) {
      float px = i + 0.5f, py = j + 0.5f;
      float gx = (px - x) / cell, gy = (py - y) / cell;
      Rgb c;
      float a;
      // Shade in block coordinates of the cell under the pixel; the material repeats per cell.
      auto local = [&](float u, float v) {
        return inside(x + (std::floor(gx) + u / BLOCK) * cell, y + (std::floor(gy) + v / BLOCK) * cell);
      };
      if (!filled(int(std::floor(gx)), int(std::floor(gy)))) continue;
      ShadeBlockPixel(style, local, (gx - std::floor(gx)) * BLOCK, (gy - std::floor(gy)) * BLOCK,
                      scale, &c, &a);
      if (a > 0) pic.Blend(i, j, c, a);
    }
}

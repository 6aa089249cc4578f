// Painting helpers shared by every picture of the generator.
#include "paint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
float Smooth(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
float Lerp(float a, float b, float t) { return a + (b - a) * t; }
float Fract(float v) { return v - std::floor(v); }

float Hash2(int x, int y, int seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return float(h & 0xFFFFFF) / float(0x1000000);
}

static int Wrap(int v, int period) { return ((v % period) + period) % period; }

float TileNoise(float u, float v, int period, int seed) {
  int x0 = int(std::floor(u)), y0 = int(std::floor(v));
  float fx = u - x0, fy = v - y0;
  float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  auto at = [&](int x, int y) { return Hash2(Wrap(x, period), Wrap(y, period), seed); };
  float a = Lerp(at(x0, y0), at(x0 + 1, y0), sx);
  float b = Lerp(at(x0, y0 + 1), at(x0 + 1, y0 + 1), sx);
  return Lerp(a, b, sy);
}

float TileFbm(float u, float v, int period, int octaves, int seed) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * TileNoise(u, v, period, seed + o * 101);
    norm += amp;
    u *= 2;
    v *= 2;
    period *= 2;
    amp *= 0.5f;
  }
  return sum / norm;
}

float SdCircle(float px, float py, float cx, float cy, float r) {
  return std::hypot(px - cx, py - cy) - r;
}

float SdBox(float px, float py, float cx, float cy, float hw, float hh, float round) {
  float qx = std::fabs(px - cx) - hw + round, qy = std::fabs(py - cy) - hh + round;
  float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
  return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - round;
}

float SdCapsule(float px, float py, float ax, float ay, float bx, float by, float r) {
  float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
  float len2 = bax * bax + bay * bay;
  float h = len2 > 0 ? Clamp01((pax * bax + pay * bay) / len2) : 0;
  return std::hypot(pax - bax * h, pay - bay * h) - r;
}

float SdPolygon(float px, float py, const float* vx, const float* vy, int n) {
  float best = 1e9f;
  bool inside = false;
  for (int i = 0, j = n - 1; i < n; j = i++) {
    float ex = vx[i] - vx[j], ey = vy[i] - vy[j];
    float wx = px - vx[j], wy = py - vy[j];
    float t = Clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
    best = std::min(best, std::hypot(wx - ex * t, wy - ey * t));
    if (((vy[i] > py) != (vy[j] > py)) &&
        (px < (vx[j] - vx[i]) * (py - vy[i]) / (vy[j] - vy[i]) + vx[i]))
      inside = !inside;
  }
  return inside ? -best : best;
}

float SdStar(float px, float py, float cx, float cy, float outer, float inner, int points,
             float turn_deg) {
  // Distance to the polygon through alternating outer and inner points.
  int n = points * 2;
  float vx[64], vy[64];
  for (int i = 0; i < n && i < 64; ++i) {
    float a = (turn_deg - 90.0f) * Pi / 180.0f + i * Pi / points;
    float r = (i % 2 == 0) ? outer : inner;
    vx[i] = cx + r * std::cos(a);
    vy[i] = cy + r * std::sin(a);
  }
  return SdPolygon(px, py, vx, vy, std::min(n, 64));
}

float SdTriangle(float px, float py, float ax, float ay, float bx, float by, float cx, float cy) {
  const float vx[3] = {ax, bx, cx}, vy[3] = {ay, by, cy};
  return SdPolygon(px, py, vx, vy, 3);
}

float Cover(float d) { return Clamp01(0.5f - d); }

// Keeps a painting rectangle (inclusive corners) inside the picture.
static void ClipToPicture(const Picture& pic, int* x0, int* y0, int* x1, int* y1) {
  *x0 = std::max(*x0, 0);
  *y0 = std::max(*y0, 0);
  *x1 = std::min(*x1, pic.W - 1);
  *y1 = std::min(*y1, pic.H - 1);
}

void FillShape(Picture& pic, int x0, int y0, int x1, int y1, const Sdf& sdf, const Shader& shade,
               float alpha) {
  ClipToPicture(pic, &x0, &y0, &x1, &y1);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float px = x + 0.5f, py = y + 0.5f;
      float c = Cover(sdf(px, py));
      if (c > 0) pic.Blend(x, y, shade(px, py), c * alpha);
    }
}

void FillShape(Picture& pic, int x0, int y0, int x1, int y1, const Sdf& sdf, Rgb colour,
               float alpha) {
  FillShape(pic, x0, y0, x1, y1, sdf, [colour](float, float) { return colour; }, alpha);
}

void ShadowShape(Picture& pic, int x0, int y0, int x1, int y1, const Sdf& sdf, float dx, float dy,
                 float blur, float alpha) {
  ClipToPicture(pic, &x0, &y0, &x1, &y1);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float d = sdf(x + 0.5f - dx, y + 0.5f - dy);
      float a = 1.0f - Smooth(-blur, blur, d);
      if (a > 0) pic.Blend(x, y, Rgb{0.02f, 0.02f, 0.04f}, a * alpha);
    }
}

void GlowShape(Picture& pic, int x0, int y0, int x1, int y1, const Sdf& sdf, Rgb colour,
               float radius, float alpha) {
  ClipToPicture(pic, &x0, &y0, &x1, &y1);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float d = sdf(x + 0.5f, y + 0.5f);
      if (d > radius) continue;
      float a = d <= 0 ? 1.0f : std::pow(1.0f - d / radius, 2.0f);
      pic.Blend(x, y, colour, a * alpha);
    }
}

void FillRelief(Picture& pic, int x0, int y0, int x1, int y1, const Sdf& sdf, const Shader& base,
                float bevel, float gloss) {
  auto height = [&](float x, float y) {
    float d = -sdf(x, y);
    if (d <= 0) return 0.0f;
    if (d >= bevel) return bevel;
    float t = d / bevel;
    return bevel * (1 - (1 - t) * (1 - t));
  };
  const float lx = -0.5f, ly = -0.6f, lz = 0.62f;   // light from the top left, towards the eye
  FillShape(pic, x0, y0, x1, y1, sdf, [&](float x, float y) {
    float gx = (height(x + 0.5f, y) - height(x - 0.5f, y));
    float gy = (height(x, y + 0.5f) - height(x, y - 0.5f));
    float nx = -gx * 1.6f, ny = -gy * 1.6f, nz = 1;
    float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= len, ny /= len, nz /= len;
    float diffuse = nx * lx + ny * ly + nz * lz;
    float rz = 2 * diffuse * nz - lz;   // reflection towards the eye
    float specular = std::pow(std::max(rz, 0.0f), 24.0f) * gloss;
    Rgb c = base(x, y) * (0.35f + 0.85f * diffuse);
    return c + Rgb{specular, specular, specular};
  });
}

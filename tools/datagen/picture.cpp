// Picture storage, layering and the PNG/JPEG writers (through SDL_image).
#include "picture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

Rgb operator+(Rgb a, Rgb b) { return {a.R + b.R, a.G + b.G, a.B + b.B}; }
Rgb operator*(Rgb a, float k) { return {a.R * k, a.G * k, a.B * k}; }
Rgb operator*(Rgb a, Rgb b) { return {a.R * b.R, a.G * b.G, a.B * b.B}; }
Rgb MixRgb(Rgb a, Rgb b, float t) { return a * (1 - t) + b * t; }
Rgb Hex(unsigned rgb) {
  return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f};
}

Picture::Picture(int w, int h) : W(w), H(h), Px(size_t(w) * h * 4, 0.0f) {}

Rgb Picture::ColourAt(int x, int y) const {
  const float* p = &Px[(size_t(y) * W + x) * 4];
  return {p[0], p[1], p[2]};
}

float Picture::AlphaAt(int x, int y) const { return Px[(size_t(y) * W + x) * 4 + 3]; }

void Picture::Set(int x, int y, Rgb c, float a) {
  if (!Inside(x, y)) return;
  float* p = &Px[(size_t(y) * W + x) * 4];
  p[0] = c.R;
  p[1] = c.G;
  p[2] = c.B;
  p[3] = a;
}

void Picture::Blend(int x, int y, Rgb c, float a) {
  if (!Inside(x, y) || a <= 0) return;
  a = std::min(a, 1.0f);
  float* p = &Px[(size_t(y) * W + x) * 4];
  float da = p[3];
  float oa = a + da * (1 - a);
  if (oa <= 0) return;
  p[0] = (c.R * a + p[0] * da * (1 - a)) / oa;
  p[1] = (c.G * a + p[1] * da * (1 - a)) / oa;
  p[2] = (c.B * a + p[2] * da * (1 - a)) / oa;
  p[3] = oa;
}

void Picture::Fill(Rgb c, float a) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) Set(x, y, c, a);
}

void Picture::Paste(const Picture& src, int x, int y) {
  for (int j = 0; j < src.H; ++j)
    for (int i = 0; i < src.W; ++i) Blend(x + i, y + j, src.ColourAt(i, j), src.AlphaAt(i, j));
}

static int ToByte(float v) { return std::clamp(int(std::lround(v * 255.0f)), 0, 255); }

bool SavePng(const Picture& pic, const std::string& path) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, pic.W, pic.H, 32, SDL_PIXELFORMAT_RGBA32);
  if (!s) return false;
  for (int y = 0; y < pic.H; ++y) {
    auto* row = static_cast<Uint8*>(s->pixels) + size_t(y) * s->pitch;
    for (int x = 0; x < pic.W; ++x) {
      const float* p = &pic.Px[(size_t(y) * pic.W + x) * 4];
      int a = ToByte(p[3]);
      int r = 0, g = 0, b = 0;
      if (a > 0) {
        r = ToByte(p[0]);
        g = ToByte(p[1]);
        b = ToByte(p[2]);
        if (r == 0 && g == 0 && b == 0) r = g = b = 1;
      }
      row[x * 4 + 0] = Uint8(r);
      row[x * 4 + 1] = Uint8(g);
      row[x * 4 + 2] = Uint8(b);
      row[x * 4 + 3] = Uint8(a);
    }
  }
  bool ok = IMG_SavePNG(s, path.c_str()) == 0;
  if (!ok) std::fprintf(stderr, "Can't write %s: %s\n", path.c_str(), SDL_GetError());
  SDL_FreeSurface(s);
  return ok;
}

bool SaveJpg(const Picture& pic, const std::string& path, int quality) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, pic.W, pic.H, 24, SDL_PIXELFORMAT_RGB24);
  if (!s) return false;
  for (int y = 0; y < pic.H; ++y) {
    auto* row = static_cast<Uint8*>(s->pixels) + size_t(y) * s->pitch;
    for (int x = 0; x < pic.W; ++x) {
      const float* p = &pic.Px[(size_t(y) * pic.W + x) * 4];
      // Backgrounds are opaque; keeping every channel above a few units means no JPEG
      // artefact can round a pixel to the pure black the loader treats as transparent.
      for (int c = 0; c < 3; ++c) row[x * 3 + c] = Uint8(std::max(ToByte(p[c]), 10));
    }
  }
  bool ok = IMG_SaveJPG(s, path.c_str(), quality) == 0;
  if (!ok) std::fprintf(stderr, "Can't write %s: %s\n", path.c_str(), SDL_GetError());
  SDL_FreeSurface(s);
  return ok;
}

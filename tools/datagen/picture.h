// Pictures of the generator: floating-point RGBA canvases, layering and PNG/JPEG output.
#pragma once

#include <string>
#include <vector>

struct Rgb {
  float R = 0, G = 0, B = 0;
};
Rgb operator+(Rgb a, Rgb b);
Rgb operator*(Rgb a, float k);
Rgb operator*(Rgb a, Rgb b);
Rgb MixRgb(Rgb a, Rgb b, float t);
Rgb Hex(unsigned rgb);   // 0xRRGGBB

struct Picture {
  int W = 0, H = 0;
  std::vector<float> Px;   // straight (not premultiplied) RGBA, 0..1

  Picture() = default;
  Picture(int w, int h);
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < W && y < H; }
  Rgb ColourAt(int x, int y) const;
  float AlphaAt(int x, int y) const;
  void Set(int x, int y, Rgb c, float a);
  void Blend(int x, int y, Rgb c, float a);   // c over what is there
  void Fill(Rgb c, float a);
  // Copies `src` (all of it) with its top-left corner at (x, y), blended over.
  void Paste(const Picture& src, int x, int y);
};

// Pixels with zero alpha are written (0,0,0,0); visible pixels never come out pure black, because
// the game turns pure black transparent when it loads a picture.
bool SavePng(const Picture& pic, const std::string& path);
bool SaveJpg(const Picture& pic, const std::string& path, int quality);

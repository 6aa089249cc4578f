// Reading back a picture the driver wrote: it is put on a display of the test's own process,
// where ReadPixel reads it; and the contrast of two colours as readers of text see it.
#pragma once

#include <cmath>
#include <string>

#include "platform/headless.h"

// Puts a picture the driver wrote on a w x h display of this process; false when it cannot
// be read.
inline bool ShowShot(const std::string& path, int w = 804, int h = 592) {
  EnterHeadlessMode();
  OpenDisplay(w, h, 0, 60);
  Image* shot = LoadImage(FromLatin1(path), 0);
  if (!shot) return false;
  SetOrigin(0, 0);
  SetViewport(0, 0, w, h);
  SetScale(1, 1);
  SetAlpha(1);
  SetColour(255, 255, 255);
  SetBlend(BLEND_SOLID);
  DrawImage(shot, 0, 0);
  FreeImage(shot);
  return true;
}

// The relative luminance of a 0xRRGGBB colour (sRGB channels made linear, weighted as the eye
// weighs them), 0 for black to 1 for white.
inline double Luminance(int rgb) {
  auto linear = [](int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear((rgb >> 16) & 255) + 0.7152 * linear((rgb >> 8) & 255) + 0.0722 * linear(rgb & 255);
}

// The contrast ratio of two colours, 1 (the same) to 21 (black on white); text reads well from
// 4.5 on.
inline double ContrastRatio(int a, int b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

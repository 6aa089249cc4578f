// Pictures of flat colours made in the test, so that a pixel read back from the software
// renderer tells which picture (and which frame) was drawn there.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/headless.h"
#include "platform/platform.h"

// A strip of `frames` frames of w x h, frame f filled with colour_of(f) (0xRRGGBB; pure black
// would turn transparent). Needs an open display of at least w x h.
template <typename F>
Image* MakeFlatStrip(int w, int h, int frames, F colour_of) {
  Image* img = CreateImage(w, h, frames, IMAGE_DEFAULT);
  SetOrigin(0, 0);
  SetScale(1, 1);
  SetAlpha(1);
  for (int f = 0; f < frames; f++) {
    int c = colour_of(f);
    SetBlend(BLEND_SOLID);
    SetColour((c >> 16) & 255, (c >> 8) & 255, c & 255);
    DrawRect(0, 0, static_cast<float>(w), static_cast<float>(h));
    GrabImage(img, 0, 0, f);
  }
  SetColour(255, 255, 255);
  return img;
}

#define EXPECT_COLOUR_NEAR(actual, expected, slack)                                              \
  do {                                                                                          \
    int a_ = (actual), e_ = (expected);                                                         \
    for (int shift : {16, 8, 0}) EXPECT_NEAR((a_ >> shift) & 255, (e_ >> shift) & 255, (slack)) \
        << std::hex << "got " << a_ << " want " << e_;                                          \
  } while (0)

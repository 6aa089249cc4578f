// Pictures of flat colours made in the test, so that a pixel read back from the software
// renderer tells which picture (and which frame) was drawn there.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
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

// A valid PNG of w x h black pixels (1-bit grey) that stays small however large the picture:
// its rows are one run of zero bytes, deflated as copies of 258 bytes at distance 1.
inline std::string BlackPng(uint32_t w, uint32_t h) {
  struct Bits {
    std::string out;
    uint32_t acc = 0;
    int n = 0;
    void Put(uint32_t v, int count) {   // deflate's own fields, low bit first
      acc |= v << n;
      for (n += count; n >= 8; n -= 8, acc >>= 8) out += char(acc & 0xFF);
    }
    void Code(uint32_t code, int length) {   // Huffman codes, high bit first
      for (int i = length - 1; i >= 0; i--) Put((code >> i) & 1, 1);
    }
  } z;
  const uint64_t total = uint64_t(h) * (1 + (w + 7) / 8);   // a filter byte, then the row
  z.out = "\x78\x01";
  z.Put(1, 1);   // the last block,
  z.Put(1, 2);   // with the fixed codes
  z.Code(0x30, 8);   // a literal 0
  uint64_t left = total - 1;
  for (; left >= 258; left -= 258) {
    z.Code(0xC5, 8);   // length 258
    z.Code(0, 5);      // distance 1
  }
  for (; left > 0; left--) z.Code(0x30, 8);
  z.Code(0, 7);   // end of block
  if (z.n > 0) z.Put(0, 8 - z.n);
  auto be32 = [](uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  z.out += be32(uint32_t(total % 65521) << 16 | 1);   // Adler-32 of zero bytes
  auto chunk = [&](const std::string& type, const std::string& data) {
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char b : type + data) {
      crc ^= b;
      for (int k = 0; k < 8; k++) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return be32(uint32_t(data.size())) + type + data + be32(~crc);
  };
  return std::string("\x89PNG\r\n\x1A\n", 8) +
         chunk("IHDR", be32(w) + be32(h) + std::string("\x01\x00\x00\x00\x00", 5)) +
         chunk("IDAT", z.out) + chunk("IEND", "");
}

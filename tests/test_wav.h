// Tiny sounds made in the test: a 16-bit mono PCM WAV of `ms` milliseconds at 22050 Hz, a square
// wave of the given amplitude, so audio tests need no data file.
#pragma once

#include <cstdint>
#include <string>

inline std::string MakeWav(int ms, int amplitude = 1000) {
  int samples = 22050 * ms / 1000;
  auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  std::string data;
  for (int i = 0; i < samples; i++) data += u16(uint16_t((i / 50) % 2 ? amplitude : -amplitude));
  return "RIFF" + u32(uint32_t(36 + data.size())) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) +
         u32(22050) + u32(22050 * 2) + u16(2) + u16(16) + "data" + u32(uint32_t(data.size())) + data;
}

// Catalogue records, frames and duplicate keys.
#include "levelgen/records.h"

#include <algorithm>

namespace {

// Frame of a quarter by which of its three corner neighbours match: index D + 2A + 4B.
constexpr uint8_t Quarter_Frames[4][8] = {
    {20, 20, 16, 14, 0, 9, 7, 24},
    {21, 21, 17, 15, 1, 6, 8, 25},
    {23, 23, 19, 5, 3, 10, 12, 27},
    {22, 22, 18, 4, 2, 13, 11, 26},
};
// Per quarter: the vertical side (dy), the horizontal side (dx); the diagonal is both.
constexpr int Quarter_DX[4] = {-1, 1, 1, -1};
constexpr int Quarter_DY[4] = {-1, -1, 1, 1};

}  // namespace

std::array<uint8_t, 320> FramesOf(const Cells& cells) {
  std::array<uint8_t, 320> out{};
  auto same = [&](int x, int y, uint8_t v) {
    return x >= 0 && x < 10 && y >= 0 && y < 8 && cells[y * 10 + x] == v;
  };
  for (int y = 0; y < 8; y++) {
    for (int x = 0; x < 10; x++) {
      uint8_t v = cells[y * 10 + x];
      if (v == 0) continue;
      for (int q = 0; q < 4; q++) {
        bool a = same(x, y + Quarter_DY[q], v);
        bool b = same(x + Quarter_DX[q], y, v);
        bool d = same(x + Quarter_DX[q], y + Quarter_DY[q], v);
        out[(y * 10 + x) * 4 + q] = Quarter_Frames[q][(d ? 1 : 0) + (a ? 2 : 0) + (b ? 4 : 0)];
      }
    }
  }
  return out;
}

std::array<uint8_t, Record_Size> MakeRecord(int identifier, const Cells& cells) {
  std::array<uint8_t, Record_Size> r{};
  r[0] = uint8_t(identifier & 255);
  r[1] = uint8_t(identifier >> 8);
  std::copy(cells.begin(), cells.end(), r.begin() + 4);
  auto frames = FramesOf(cells);
  std::copy(frames.begin(), frames.end(), r.begin() + Frames_Offset);
  return r;
}

std::string CanonicalKey(const Cells& cells) {
  std::string best;
  for (int flip = 0; flip < 4; flip++) {
    std::string s(80, '0');
    char rename[7] = {0, 0, 0, 0, 0, 0, 0};
    char next = '1';
    for (int i = 0; i < 80; i++) {
      int x = i % 10, y = i / 10;
      int sx = (flip & 1) ? 9 - x : x, sy = (flip & 2) ? 7 - y : y;
      uint8_t v = cells[sy * 10 + sx];
      if (v == 0) continue;
      if (!rename[v]) rename[v] = next++;
      s[i] = rename[v];
    }
    if (best.empty() || s < best) best = s;
  }
  return best;
}

int BlockCount(const Cells& cells) {
  return int(std::count_if(cells.begin(), cells.end(), [](uint8_t v) { return v != 0; }));
}

int ColourCount(const Cells& cells) {
  bool seen[7] = {};
  for (uint8_t v : cells) seen[v] = true;
  int n = 0;
  for (int k = 1; k <= 6; k++) n += seen[k];
  return n;
}

// The stand-in catalogue: 553 records of 404 bytes. Each colour of a level lies in a row of its
// own as two or three blocks with one free cell between neighbours, so sliding them together
// along the row always clears the colour.
#include "catalogue.h"

#include <cstdio>
#include <vector>

#include "paint.h"
#include "shape_table.h"

namespace {

const int Levels = 553, Record = 404;

void FillShapes(unsigned char* rec) {
  const int dx[8] = {0, 1, 1, 1, 0, -1, -1, -1}, dy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
  auto cell = [&](int x, int y) { return (x < 0 || y < 0 || x > 9 || y > 7) ? -1 : rec[4 + y * 10 + x]; };
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      int v = cell(x, y);
      unsigned char* frames = rec + 84 + (y * 10 + x) * 4;
      if (v == 0) {
        for (int q = 0; q < 4; ++q) frames[q] = 0;
        continue;
      }
      int mask = 0;
      for (int b = 0; b < 8; ++b)
        if (cell(x + dx[b], y + dy[b]) == v) mask |= 1 << b;
      for (int q = 0; q < 4; ++q) frames[q] = (unsigned char)ShapeFrame(mask, q);
    }
}

}  // namespace

bool WritePlaceholderCatalogue(const std::string& path) {
  std::vector<unsigned char> bytes(size_t(Levels) * Record, 0);
  for (int level = 0; level < Levels; ++level) {
    unsigned char* rec = &bytes[size_t(level) * Record];
    int id = level + 1;
    rec[0] = (unsigned char)(id & 255);
    rec[1] = (unsigned char)(id >> 8);
    int colours = 3 + level * 4 / Levels;   // 3 colours first, 6 at the end
    // Rows 0..7 shuffled by a fixed hash; each colour takes one row.
    int rows[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    for (int i = 7; i > 0; --i) {
      int j = int(Hash2(level, i, 5) * (i + 1));
      std::swap(rows[i], rows[j]);
    }
    for (int c = 0; c < colours; ++c) {
      int count = Hash2(level, c, 9) < 0.5f ? 2 : 3;
      int span = 2 * (count - 1);
      int start = int(Hash2(level, c, 13) * (10 - span));
      for (int k = 0; k < count; ++k) rec[4 + rows[c] * 10 + start + 2 * k] = (unsigned char)(c + 1);
    }
    FillShapes(rec);
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

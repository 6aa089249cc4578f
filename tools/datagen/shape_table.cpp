// The block-shape table and its 1024-byte file.
#include "shape_table.h"

#include <cstdio>

// Rows: quarter; columns: none, D, A, A+D, B, B+D, A+B, A+B+D (the CORNER_ bits as index).
static const int Quarter_Frames[4][8] = {
    {20, 20, 16, 14, 0, 9, 7, 24},
    {21, 21, 17, 15, 1, 6, 8, 25},
    {23, 23, 19, 5, 3, 10, 12, 27},
    {22, 22, 18, 4, 2, 13, 11, 26},
};

static int ColumnOf(int corner) {
  // Column order of the table is D-major within A: none, D, A, A+D, B, B+D, A+B, A+B+D.
  int a = (corner & CORNER_A) ? 1 : 0, b = (corner & CORNER_B) ? 1 : 0, d = (corner & CORNER_D) ? 1 : 0;
  return b * 4 + a * 2 + d;
}

int QuarterFrame(int quarter, int corner) { return Quarter_Frames[quarter & 3][ColumnOf(corner)]; }

int CornerOf(int mask, int quarter) {
  // Neighbour bits: 1 above, 2 above right, 4 right, 8 below right, 16 below, 32 below left,
  // 64 left, 128 above left.
  static const int A_Bit[4] = {1, 1, 16, 16};
  static const int B_Bit[4] = {64, 4, 4, 64};
  static const int D_Bit[4] = {128, 2, 8, 32};
  int c = 0;
  if (mask & A_Bit[quarter]) c |= CORNER_A;
  if (mask & B_Bit[quarter]) c |= CORNER_B;
  if (mask & D_Bit[quarter]) c |= CORNER_D;
  return c;
}

int ShapeFrame(int mask, int quarter) { return QuarterFrame(quarter, CornerOf(mask, quarter)); }

void FrameCorner(int frame, int* quarter, int* corner) {
  for (int q = 0; q < 4; ++q)
    for (int c = 0; c < 8; ++c) {
      if (c == CORNER_D) continue;   // same frame as no neighbour
      if (QuarterFrame(q, c) == frame) {
        *quarter = q;
        *corner = c;
        return;
      }
    }
  *quarter = 0;
  *corner = 0;
}

bool WriteShapeTable(const std::string& path) {
  unsigned char bytes[1024];
  for (int m = 0; m < 256; ++m)
    for (int q = 0; q < 4; ++q) bytes[m * 4 + q] = (unsigned char)ShapeFrame(m, q);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes, 1, sizeof bytes, f) == sizeof bytes;
  return std::fclose(f) == 0 && ok;
}

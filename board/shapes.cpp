// Block shapes: the shape table and the reshaping of blocks from their neighbours.
#include "board/shapes.h"

#include "board/block.h"
#include "board/board_events.h"

uint8_t Shape_Table[256][4];

void LoadShapeTable(const String& url) {
  Stream* s = OpenRead(url);
  if (!s) {
    Announce(Board_Events.File_Problem, u"error reading " + url);
    return;
  }
  for (int m = 0; m < 256; m++) {
    for (int q = 0; q < 4; q++) Shape_Table[m][q] = static_cast<uint8_t>(ReadByte(s));
  }
  CloseStream(s);
}

int ShapeFrame(int mask, int quarter) {
  // Per quarter: the bits of its vertical side neighbour A, horizontal side neighbour B and
  // the diagonal D between them, then the frames for none, D, A, A+D, B, B+D, A+B, A+B+D.
  static const int Corner[4][3] = {{1, 64, 128}, {1, 4, 2}, {16, 4, 8}, {16, 64, 32}};
  static const int Frames[4][8] = {{20, 20, 16, 14, 0, 9, 7, 24},
                                   {21, 21, 17, 15, 1, 6, 8, 25},
                                   {23, 23, 19, 5, 3, 10, 12, 27},
                                   {22, 22, 18, 4, 2, 13, 11, 26}};
  const int* c = Corner[quarter & 3];
  int index = ((mask & c[1]) ? 4 : 0) | ((mask & c[0]) ? 2 : 0) | ((mask & c[2]) ? 1 : 0);
  return Frames[quarter & 3][index];
}

int NeighbourMask(int x, int y, int kind) {
  static const int Offsets[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
  int mask = 0;
  for (int bit = 0; bit < 8; bit++) {
    int nx = x + Offsets[bit][0], ny = y + Offsets[bit][1];
    if (OnBoard(nx, ny) && Kind_Grid[nx][ny] == kind) mask |= 1 << bit;
  }
  return mask;
}

void T_BLOCK::ShapeBlock() {
  int mask = NeighbourMask(XMap, YMap, Kind);
  for (int q = 0; q < 4; q++) Frame[q] = Shape_Table[mask][q];
  X = XMap * Block_Size;
  Y = YMap * Block_Size;
}

void T_BLOCK::ShapeAllBlocks() {
  for (auto& b : Block_List) b->ShapeBlock();
}

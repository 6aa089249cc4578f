// Block shapes: which quarter pictures a block shows, from the same-colour cells around it.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Frame of quarter q (0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left) for each
// neighbour mask (bit 0 above, then clockwise: 2 above right, 4 right, ... 128 above left).
extern uint8_t Shape_Table[256][4];

// Fills Shape_Table from a 1024-byte file; when it cannot be opened, announces File_Problem
// "error reading " + url and leaves the table as it was.
void LoadShapeTable(const String& url);
// The frame the shape rule gives quarter q of a block with neighbour mask m; the table file
// is made from this.
int ShapeFrame(int mask, int quarter);
// The neighbour mask of cell (x, y) for blocks of the given kind, read from Kind_Grid.
int NeighbourMask(int x, int y, int kind);

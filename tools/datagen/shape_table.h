// The block-shape table: which quarter frame each quarter of a block shows, from the blocks of
// its colour around it, and the file "TabFrame3.bin" that carries it.
#pragma once

#include <string>

// Which neighbours at a quarter's corner hold the same colour: bit 0 the vertical side
// neighbour (A), bit 1 the horizontal side neighbour (B), bit 2 the diagonal one (D).
constexpr int CORNER_A = 1, CORNER_B = 2, CORNER_D = 4;

// Frame (0..27) of quarter q (0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left) for a
// corner configuration made of CORNER_ bits.
int QuarterFrame(int quarter, int corner);
// Corner configuration of quarter q for an 8-bit neighbour mask (bit 0 above, clockwise).
int CornerOf(int mask, int quarter);
// Frame of quarter q for a neighbour mask.
int ShapeFrame(int mask, int quarter);
// The quarter and corner configuration a frame pictures (a diagonal neighbour alone looks like
// no neighbour, so the configuration returned for those frames has no D bit).
void FrameCorner(int frame, int* quarter, int* corner);

bool WriteShapeTable(const std::string& path);

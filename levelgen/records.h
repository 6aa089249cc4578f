// The level catalogue file: 404-byte records (identifier, best-time link, 80 cells, 320 bytes
// of quarter frames), the frames of a board's blocks, and the key that finds duplicates.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int Record_Size = 404;
constexpr int Frames_Offset = 84;

using Cells = std::array<uint8_t, 80>;

// The four quarter frames of every cell, by the shape rule of touching same-colour blocks
// (0, 0, 0, 0 for an empty cell).
std::array<uint8_t, 320> FramesOf(const Cells& cells);

std::array<uint8_t, Record_Size> MakeRecord(int identifier, const Cells& cells);

// The same key for a board, its mirror images (left-right, top-bottom, both) and any renaming
// of its colours: two levels with one key are the same puzzle.
std::string CanonicalKey(const Cells& cells);

int BlockCount(const Cells& cells);
int ColourCount(const Cells& cells);

// The level catalogue: fixed 404-byte level records in play order, and laying one out on the
// board.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Record layout (little-endian).
constexpr int Level_Record_Size = 404;
constexpr int Level_Id_Offset = 0;       // unsigned 16-bit identifier, distinct per level
constexpr int Level_Link_Offset = 2;     // unsigned 16-bit link to the best-time record, 0 none
constexpr int Level_Cells_Offset = 4;    // 80 cell bytes in row order: 0 empty, k Kind k - 1
constexpr int Level_Frames_Offset = 84;  // 4 quarter frames per cell, as the shapes give them

extern ByteBuffer* Official_Bank;   // the embedded catalogue, read whole at start-up
extern ByteBuffer* Level_Bank;      // the levels the map and the game work on
extern int Official_Level_Count;

// Reads the catalogue at url into Official_Bank and Level_Bank; 1 when it was read.
int LoadCatalogue(const String& url);
// Builds the board of the record at byte offset of buffer (Level_Index x 404). Returns 0 and
// leaves the board alone when the offset does not address a whole record.
int LoadOfficialLevel(const ByteBuffer* buffer, int64_t offset);

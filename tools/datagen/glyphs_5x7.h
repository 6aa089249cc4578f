// The glyphs of the tools' pixel font: capitals, digits and a few signs, 5 x 7 cells each,
// shared by the data generator's pictures and the level generator's chart.
#pragma once

// The 35 cells of `c` row by row, '#' for ink; nullptr for a character the font lacks.
const char* Glyph5x7(char c);

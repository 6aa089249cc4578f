// The colour-blind aid: a symbol for each of the six colours, drawn over the blocks of the board,
// the level map's thumbnails and the victory replay when the option is on.
#pragma once

// Draws colour `kind`'s symbol centred in the cell of `cell` pixels whose top-left is (x, y), when
// Colour_Symbols is on and the kind is one of the six colours (styles shown as themselves have
// none).
void DrawColourSymbol(int kind, float x, float y, float cell);

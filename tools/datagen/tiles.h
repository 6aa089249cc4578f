// Tile sheets: the 38 block styles, each a strip of 30 frames of 48 x 48 (the 28 quarter
// pieces, the particle sprite and a small whole block), and the shadow and highlight strips.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "picture.h"

constexpr int QUARTER = 48;          // pixels of one quarter frame
constexpr int BLOCK = 2 * QUARTER;   // a whole block in the pictures' own pixels

// What a material shows at a point of a block (u, v in 0..BLOCK, repeating every BLOCK).
struct Surface {
  Rgb Colour;
  float Height = 0;   // relief added to the bevel, pixels
};

struct TileStyle {
  std::string Sheet;   // "bois" for "qUaRk_tiles_bois.png"
  int Light_Text;      // 1: the material is dark enough for white labels
  float Gloss;         // strength of the specular light
  Rgb Spark;           // colour of the particle sprite
  std::function<Surface(float u, float v)> Material;
};

// The styles in the game's style-table order.
const std::vector<TileStyle>& TileStyles();

// Signed inside distance (positive inside) of quarter q with corner configuration `corner`
// (CORNER_ bits) at block point (u, v). Joined quarters agree along their common edges.
float QuarterInside(int quarter, int corner, float u, float v);

Picture RenderTileSheet(const TileStyle& style);
Picture RenderShadowStrip();
Picture RenderHighlightStrip();

// Draws the cells marked '#' in `rows` as blocks of `style`, joined like blocks on the board,
// each cell `cell` pixels wide, with its top-left at (x, y) and a soft shadow under them.
void DrawBlockCells(Picture& pic, const std::vector<std::string>& rows, float x, float y,
                    float cell, const TileStyle& style, float shadow_alpha);

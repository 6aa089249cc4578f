// A small built-in pixel font (5 x 7 cells) for the words and digits drawn into pictures.
#pragma once

#include <string>

#include "paint.h"

// Signed distance of `text` drawn with its top-left at (x, y), each font cell `cell` pixels
// wide and `cell_h` pixels high, one empty cell between letters.
float SdText(const std::string& text, float x, float y, float cell, float cell_h, float px,
             float py);
float TextPixelWidth(const std::string& text, float cell);
// Draws text with an outline and a soft drop shadow, its centre at (cx, cy).
void DrawWord(Picture& pic, const std::string& text, float cx, float cy, float cell, float cell_h,
              Rgb fill, Rgb outline, float outline_width, float shadow_alpha);

// The credits page: the names of the team and the fonts, as wrapped text over the board.
#pragma once

constexpr int Credits_Top = 10;   // the first line's top, board pixels

void ShowCredits();
// The spacing of the page's lines at the current size: the usual line height, or less when
// the page would otherwise run below the board (a language with long names, the smallest
// size), never below three quarters of the font size. Wraps the page with Font_Small.
int CreditsLineHeight();
// The page over the plain background, every line on the board.
void DrawCreditsPage();

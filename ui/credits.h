// The credits page: the names of the team and the fonts, as wrapped text over the board.
#pragma once

void ShowCredits();

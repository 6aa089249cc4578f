// What the hint and the par show on the board: the outline of the group to move, the arrows
// of its direction, the hint's words (thinking, no way out, none found in time), the dead-end
// mark, and the corner with the steps played against par.
#pragma once

#include "platform/platform.h"

// The group outlined, then its arrows, then the words; on the game screen only.
void DrawHintMarks();
// The steps, the par ("par 9", or "par ≤ 9" where it is only the best known) and the hint key.
void DrawParCorner();
// The corner's first line: "Steps 3 · Par 6", without the par when it is unknown.
String StepsAgainstPar(int steps);
// The hint's words for the answer shown, empty when it shows none.
String HintWords();

// The par of a level: the fewest steps (one group moved one cell) that empty its board, as our
// solver proved them, or the best count it found where it could not prove one.
#pragma once

struct LevelPar {
  int steps = 0;        // 0 = unknown
  bool proven = false;  // false: no solution is known to be shorter, none is proven not to be
};

// The par of the level the player is on, read by the side of the board, the victory screen
// and whatever starts a level; set when a catalogue level starts, unknown when none is known.
extern LevelPar Current_Par;

// The par of catalogue level `level_index` (play order); unknown for an index the catalogue
// does not have, or when the level at that place is not the one the par was found for.
LevelPar CatalogueLevelPar(int level_index);

// Current_Par unknown.
void ResetLevelPar();

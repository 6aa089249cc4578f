// Backward walks from the empty board.
#include "levelgen/backward.h"

#include <utility>

namespace {

Mask RandomCell(Rng& rng, Mask within) {
  int n = PopCount(within);
  int pick = rng.Int(0, n - 1);
  for (Mask m = within; m; m &= m - 1)
    if (pick-- == 0) return m & (~m + 1);
  return 0;
}

// A random connected set of `size` cells grown inside `within` from a random cell; 0 when the
// region reached is too small.
Mask GrowBlob(Rng& rng, Mask within, int size, Mask seed = 0) {
  Mask blob = seed ? seed : RandomCell(rng, within);
  while (PopCount(blob) < size) {
    Mask rim = Neighbours(blob) & within & ~blob;
    if (!rim) return 0;
    blob |= RandomCell(rng, rim);
  }
  return blob;
}

// Cells of `m` with at least `n` of their four sides closed (by the edge or a cell outside
// `open_cells`).
Mask Enclosed(Mask m, Mask open_cells, int n) {
  Mask out = 0;
  for (Mask r = m; r; r &= r - 1) {
    Mask c = r & (~r + 1);
    int closed = 4 - PopCount(Neighbours(c) & open_cells);
    if (closed >= n) out |= c;
  }
  return out;
}

// A blob packed against what is already there, so that the free cells stay in one piece and
// a dense board can still take its last colours.
Mask PackBlob(Rng& rng, Mask free_cells, int size) {
  Mask seed_pool = Enclosed(free_cells, free_cells, 2);
  if (!seed_pool) seed_pool = free_cells;
  if (!seed_pool) return 0;
  Mask blob = RandomCell(rng, seed_pool);
  while (PopCount(blob) < size) {
    Mask rim = Neighbours(blob) & free_cells & ~blob;
    if (!rim) return 0;
    Mask snug = Enclosed(rim, free_cells & ~blob, 2);
    blob |= RandomCell(rng, (snug && rng.Chance(ChanceOdds(0.8))) ? snug : rim);
  }
  return blob;
}

// One backward step of colour k: part P of a group steps back against direction d.
bool BackStep(Rng& rng, Position& p, int k, uint64_t whole_group) {
  Mask colour = p.colour[k];
  Mask groups[Grid_Cells];
  int n = SplitGroups(colour, groups);
  Mask free_cells = Full_Mask & ~p.Occupied();
  for (int attempt = 0; attempt < 24; attempt++) {
    Mask h = groups[rng.Int(0, n - 1)];
    Mask part = h;
    int size = PopCount(h);
    if (size > 1 && !rng.Chance(whole_group)) part = GrowBlob(rng, h, rng.Int(1, size - 1));
    if (part == colour) continue;  // the whole colour stepping back would be one group again
    int d = rng.Int(0, 3);
    int back = (d + 2) % 4;
    if (part & EdgeOf(back)) continue;
    Mask before = Shift(part, back);
    if (before & ~(free_cells | part)) continue;
    Mask rest = colour & ~part;
    if (Neighbours(before) & rest) continue;  // before the step it was a group of its own
    p.colour[k] = rest | before;
    return true;
  }
  return false;
}

}  // namespace

bool BackwardWalk(Rng& rng, const WalkParams& params, Position& p) {
  p = Position();
  int colours = int(params.sizes.size());
  // Colours appear one after another with a few steps between them; the last to appear is
  // the first a player will clear.
  int present = 0;
  int steps_left = params.steps;
  std::vector<int> stepped(colours, 0);
  int guard = 0;
  while ((present < colours || steps_left > 0) && guard++ < 20000) {
    bool appear = present < colours && (present == 0 || rng.Chance(params.appear_chance) ||
                                        steps_left <= colours - present);
    if (appear) {
      Mask free_cells = Full_Mask & ~p.Occupied();
      Mask blob = 0;
      for (int t = 0; t < 40 && !blob; t++)
        blob = params.packed ? PackBlob(rng, free_cells, params.sizes[present])
                             : GrowBlob(rng, free_cells, params.sizes[present]);
      if (!blob) return false;
      p.colour[present] = blob;
      int tries = 0;
      while (!BackStep(rng, p, present, ChanceOdds(0.3)))
        if (++tries > 60) return false;
      stepped[present] = 1;
      present++;
      continue;
    }
    int k = rng.Int(0, present - 1);
    if (BackStep(rng, p, k, params.whole_group)) steps_left--;
  }
  if (present < colours) return false;
  for (int k = 0; k < colours; k++)
    if (IsOneGroup(p.colour[k])) return false;
  // Which of the six colours each one is does not depend on when it appeared.
  for (int k = Colour_Count - 1; k > 0; k--) std::swap(p.colour[k], p.colour[rng.Int(0, k)]);
  return true;
}

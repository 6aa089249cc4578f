// quark-levelsample: grades a few backward walks at given settings (a calibration aid).
#include <cstdio>
#include <cstdlib>

#include "levelgen/backward.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: quark-levelsample BLOCKS COLOURS STEPS COUNT [STATES] [WHOLE]\n");
    return 2;
  }
  int blocks = std::atoi(argv[1]), colours = std::atoi(argv[2]), steps = std::atoi(argv[3]);
  int count = std::atoi(argv[4]);
  SolveOptions opt;
  if (argc > 5) opt.max_states = std::strtoull(argv[5], nullptr, 10);
  WalkParams wp;
  if (argc > 6) wp.whole_group = ChanceOdds(std::atof(argv[6]));
  if (argc > 7) wp.appear_chance = ChanceOdds(std::atof(argv[7]));
  if (argc > 8) wp.packed = std::atoi(argv[8]) != 0;
  wp.steps = steps;
  for (int k = 0; k < colours; k++) wp.sizes.push_back(blocks / colours + (k < blocks % colours));
  for (int i = 0; i < count; i++) {
    Rng rng(1000 + i);
    Position p;
    if (!BackwardWalk(rng, wp, p)) {
      std::printf("walk failed\n");
      continue;
    }
    SolveReport r = Solve(p, opt);
    int groups = 0;
    for (Mask c : p.colour) {
      Mask g[80];
      groups += SplitGroups(c, g);
    }
    std::printf("groups %2d moves %3d %s lb %3d expanded %8llu stored %8llu %.2fs  bound %llu/%llu/%llu\n", groups,
                r.moves, r.optimal ? "opt " : "best", r.lower_bound,
                (unsigned long long)r.expanded, (unsigned long long)r.stored, r.seconds,
                (unsigned long long)r.bound_searches, (unsigned long long)r.bound_expanded,
                (unsigned long long)r.bound_capped);
    std::fflush(stdout);
  }
}

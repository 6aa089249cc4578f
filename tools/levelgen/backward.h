// Making levels by playing the rules backwards from the empty board: a colour appears as one
// connected blob in free cells (the moment before it left the board), and a connected part of
// a group steps back one cell, after which it must be a whole group of its own. Every board
// made this way can be played forwards to the empty board, so it is solvable by construction.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/solver.h"

// A small deterministic generator (splitmix64), the same on every machine.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed) {}
  uint64_t Next() {
    uint64_t z = (s_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  int Int(int lo, int hi) { return lo + int(Next() % uint64_t(hi - lo + 1)); }  // both ends
  double Real() { return double(Next() >> 11) / double(1ULL << 53); }

 private:
  uint64_t s_;
};

struct WalkParams {
  std::vector<int> sizes;  // blocks of each colour that takes part, in order of appearance
  int steps = 20;          // backward steps in all, besides the first step of each colour
  double whole_group = 0.5;  // chance that a step takes a whole group rather than a part
  double appear_chance = 0.35;  // chance, at each step, that the next colour appears
  bool packed = false;          // blobs packed against each other (dense boards)
};

// One backward walk; false when it got stuck (no room for a blob). On success `p` holds the
// level: every colour present is in two groups at least.
bool BackwardWalk(Rng& rng, const WalkParams& params, Position& p);

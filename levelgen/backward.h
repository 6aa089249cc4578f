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
  // True with chance `odds` / 2^53: the whole draw is integers, so a level made from a seed is
  // the same whatever the compiler does with floating point.
  bool Chance(uint64_t odds) { return (Next() >> 11) < odds; }
  // A uniform draw in [0, 1), for the catalogue tool's own settings; the game's levels use
  // Chance and Int alone.
  double Real() { return double(Next() >> 11) / double(1ULL << 53); }

 private:
  uint64_t s_;
};

// The odds for Rng::Chance that make it exactly the test "a uniform [0, 1) draw < p": the draw
// is a multiple of 2^-53, so the test holds for the draws below p * 2^53 rounded up. p * 2^53
// is exact in a double, so this needs no rounding of its own.
constexpr uint64_t ChanceOdds(double p) {
  if (p <= 0) return 0;
  if (p >= 1) return uint64_t(1) << 53;
  double scaled = p * 9007199254740992.0;
  uint64_t whole = uint64_t(scaled);
  return double(whole) < scaled ? whole + 1 : whole;
}
// Odds of n in a thousand, for settings written as whole numbers.
constexpr uint64_t PerMilleOdds(int n) { return (uint64_t(n) << 53) / 1000; }

struct WalkParams {
  std::vector<int> sizes;  // blocks of each colour that takes part, in order of appearance
  int steps = 20;          // backward steps in all, besides the first step of each colour
  uint64_t whole_group = ChanceOdds(0.5);     // odds that a step takes a whole group rather than a part
  uint64_t appear_chance = ChanceOdds(0.35);  // odds, at each step, that the next colour appears
  bool packed = false;          // blobs packed against each other (dense boards)
};

// One backward walk; false when it got stuck (no room for a blob). On success `p` holds the
// level: every colour present is in two groups at least.
bool BackwardWalk(Rng& rng, const WalkParams& params, Position& p);

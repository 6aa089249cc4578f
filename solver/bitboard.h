// Bit masks of the 10 x 8 board (bit y * 10 + x) and the operations the solver builds on:
// shifts by one cell, flood fill of same-colour groups, splitting a colour into its groups.
#pragma once

#include <cstdint>

using Mask = unsigned __int128;

constexpr int Grid_W = 10;
constexpr int Grid_H = 8;
constexpr int Grid_Cells = Grid_W * Grid_H;
constexpr int Colour_Count = 6;

constexpr Mask MakeFull() { return (Mask(1) << Grid_Cells) - 1; }
constexpr Mask MakeColumn(int x) {
  Mask m = 0;
  for (int y = 0; y < Grid_H; y++) m |= Mask(1) << (y * Grid_W + x);
  return m;
}
constexpr Mask MakeRow(int y) {
  Mask m = 0;
  for (int x = 0; x < Grid_W; x++) m |= Mask(1) << (y * Grid_W + x);
  return m;
}

constexpr Mask Full_Mask = MakeFull();
constexpr Mask Column_0 = MakeColumn(0);
constexpr Mask Column_9 = MakeColumn(Grid_W - 1);
constexpr Mask Row_0 = MakeRow(0);
constexpr Mask Row_7 = MakeRow(Grid_H - 1);

// Directions in the game's order: 0 right, 1 down, 2 left, 3 up.
constexpr int Step_X[4] = {1, 0, -1, 0};
constexpr int Step_Y[4] = {0, 1, 0, -1};
constexpr char Dir_Letter[4] = {'R', 'D', 'L', 'U'};

inline Mask Bit(int cell) { return Mask(1) << cell; }

// The cells a step in direction d would push off the board.
inline Mask EdgeOf(int d) {
  switch (d) {
    case 0: return Column_9;
    case 1: return Row_7;
    case 2: return Column_0;
    default: return Row_0;
  }
}

// Every cell moved one step in direction d; cells leaving the board are dropped.
inline Mask Shift(Mask m, int d) {
  switch (d) {
    case 0: return (m & ~Column_9) << 1;
    case 1: return (m << Grid_W) & Full_Mask;
    case 2: return (m & ~Column_0) >> 1;
    default: return m >> Grid_W;
  }
}

inline Mask Neighbours(Mask m) {
  return ((m & ~Column_9) << 1) | ((m & ~Column_0) >> 1) | ((m << Grid_W) & Full_Mask) |
         (m >> Grid_W);
}

inline int PopCount(Mask m) {
  return __builtin_popcountll(uint64_t(m)) + __builtin_popcountll(uint64_t(m >> 64));
}

inline int LowestCell(Mask m) {
  uint64_t lo = uint64_t(m);
  return lo ? __builtin_ctzll(lo) : 64 + __builtin_ctzll(uint64_t(m >> 64));
}

// The 4-connected part of `within` that contains `seed`.
inline Mask Flood(Mask seed, Mask within) {
  Mask g = seed & within;
  for (;;) {
    Mask n = (g | Neighbours(g)) & within;
    if (n == g) return g;
    g = n;
  }
}

inline bool IsOneGroup(Mask m) { return m != 0 && Flood(m & (~m + 1), m) == m; }

// Splits a colour into its groups; returns how many were written (at most 80).
inline int SplitGroups(Mask m, Mask* out) {
  int n = 0;
  while (m) {
    Mask g = Flood(m & (~m + 1), m);
    out[n++] = g;
    m &= ~g;
  }
  return n;
}

inline uint64_t Mix64(uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ULL;
  x ^= x >> 33;
  return x;
}

inline uint64_t HashMask(Mask m, int salt) {
  return Mix64(uint64_t(m) ^ (uint64_t(salt) * 0x9e3779b97f4a7c15ULL)) +
         Mix64(uint64_t(m >> 64) + 0x632be59bd9b4e019ULL * uint64_t(salt + 1));
}

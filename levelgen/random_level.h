// Random levels on demand: a board made from a seed at one of four difficulties, with its
// fewest steps proven by the solver, the level of a day, and the short code that names a level
// so that another player can play the same board.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "solver/solver.h"

// The difficulties, as ranges of the proven fewest steps (both ends).
enum RandomDifficulty { Difficulty_Easy, Difficulty_Medium, Difficulty_Hard, Difficulty_Expert, Difficulty_Count };
struct StepRange {
  int low, high;
};
constexpr StepRange Difficulty_Steps[Difficulty_Count] = {{5, 9}, {10, 15}, {16, 21}, {22, 99}};
// The level of the day is of this difficulty, the same for every player.
constexpr int Day_Difficulty = Difficulty_Hard;

// What names a random level: the seed, the difficulty, and whether the seed is a day.
struct LevelCode {
  uint32_t seed = 0;
  int difficulty = 0;
  bool daily = false;
  bool operator==(const LevelCode&) const = default;
};

// Eight letters and digits in two groups of four, "K3Q7-XM2A": 35 bits of code and 5 of check,
// in an alphabet without I, L, O and U so that nothing reads as something else.
std::string LevelCodeText(const LevelCode& code);
// Reads a code as typed: either case, with or without the dash and spaces, O for 0 and I or L
// for 1. False for anything else, or when the check does not match (a letter mistyped).
bool ParseLevelCode(const std::string& text, LevelCode& code);

// Days since 1970-01-01 of a date of the Gregorian calendar, and back.
int DayNumber(int year, int month, int day);
void DayDate(int day_number, int& year, int& month, int& day);
// "2026-12-09": the same in every language.
std::string DayText(int day_number);
// The level of that day.
LevelCode DayLevelCode(int day_number);

using LevelCells = std::array<uint8_t, Grid_Cells>;

// Duplicate keys (mirror images and colour renamings alike) of the catalogue's records, sorted:
// a random level never repeats a catalogue level. `records` holds `count` records of 404 bytes.
std::vector<std::string> CatalogueKeys(const uint8_t* records, int count);

struct MadeLevel {
  LevelCells cells{};
  int par = 0;                      // the proven fewest steps
  std::vector<SolveMove> solution;  // one solution of par steps (leading G actions included)
  int walks = 0;                    // backward walks tried, graded or not
};

// Makes the level of `code`: the first board its seed leads to whose fewest steps are proven
// and in the difficulty's range, that is no catalogue level. The same code gives the same
// board on every machine and build: the draws are integers from our own generator, the solver
// works within a budget of positions, never of time. False only when `cancel` was raised.
bool MakeRandomLevel(const LevelCode& code, const std::vector<std::string>& catalogue_keys,
                     const std::atomic<bool>* cancel, MadeLevel& out);

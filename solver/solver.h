// The level solver: a compact model of the board (one 80-bit mask per colour), its legal moves,
// and the searches that find the fewest moves (A*) or a good solution fast (weighted A*).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "solver/bitboard.h"
#include "solver/colour_bound.h"

// A board as the solver sees it: colour[k] holds the cells of the blocks of Kind k.
struct Position {
  Mask colour[Colour_Count] = {};
  Mask Occupied() const {
    Mask m = 0;
    for (Mask c : colour) m |= c;
    return m;
  }
  bool Empty() const { return Occupied() == 0; }
  bool operator==(const Position&) const = default;
};

// Cells as in a level record: 80 bytes row by row, 0 empty, k a block of Kind k - 1.
Position PositionFromCells(const uint8_t* cells);
void CellsFromPosition(const Position& p, uint8_t* cells);

// One action of a solution: a step of the group holding `cell`, or (dir = Dir_Hold) taking
// hold of a colour that is already one group, which clears it without a step.
constexpr int Dir_Hold = 4;
struct SolveMove {
  int cell = 0;
  int dir = 0;
  bool operator==(const SolveMove&) const = default;
};

// The legal moves of a position and the position each leads to (the colour of a group that
// joins all its blocks leaves the board at once).
struct Successor {
  SolveMove move;
  Position next;
};
std::vector<Successor> LegalMoves(const Position& p);
// Applies one action; false when it is not legal in p.
bool ApplyMove(Position& p, const SolveMove& m);
// Takes hold of every colour that is already one group: the moves a solution starts with.
std::vector<SolveMove> ClearWholeColours(Position& p);

// "XYD" tokens: column, row, then R, D, L, U or G.
std::string MoveToken(const SolveMove& m);
bool ParseMoveToken(const std::string& token, SolveMove& m);
int CountSteps(const std::vector<SolveMove>& moves);  // G tokens are not moves

using SolveClock = std::chrono::steady_clock;

struct SearchLimits {
  uint64_t max_states = 4'000'000;  // stored positions before the search gives up
  int weight_num = 1;               // priority g + (num / den) * h; 1/1 is plain A*
  int weight_den = 1;
  int upper_bound = 1 << 30;        // a known solution length: positions that cannot beat it are cut
  SolveClock::time_point deadline = SolveClock::time_point::max();   // the search stops here
  const std::atomic<bool>* cancel = nullptr;   // the search stops soon after it becomes true
};

struct SearchResult {
  bool solved = false;              // a solution was found (within upper_bound)
  bool exhausted = false;           // the whole space below upper_bound was searched
  bool stopped = false;             // the deadline passed or the search was cancelled first
  int length = -1;                  // steps of the solution found
  int lower_bound = 0;              // proven: no solution has fewer steps
  std::vector<SolveMove> moves;
  uint64_t expanded = 0, generated = 0, stored = 0;
  size_t peak_bytes = 0;
  double seconds = 0;
};

// A* (weight 1/1) or weighted A* from p, whose colours must not be one group already.
SearchResult Search(const Position& p, ColourBound& bound, const SearchLimits& limits);

struct SolveOptions {
  uint64_t max_states = 4'000'000;  // budget of the optimal search, in stored positions
  double max_seconds = 0;           // budget of the whole procedure; 0 for none
  // Another thread may set it to stop the solve; the report then holds what was found so far.
  const std::atomic<bool>* cancel = nullptr;
};

struct SolveReport {
  bool solved = false;
  bool optimal = false;
  bool stopped = false;             // out of time or cancelled before the procedure ended
  bool unsolvable = false;          // proven: no sequence of moves empties the board
  int moves = -1;                   // steps of the best solution
  int lower_bound = 0;
  std::vector<SolveMove> solution;  // including leading G actions
  uint64_t expanded = 0, generated = 0, stored = 0;  // of the optimal search
  size_t peak_bytes = 0;
  double seconds = 0;
  uint64_t all_generated = 0;       // of every search, the quick ones included
  uint64_t bound_searches = 0, bound_expanded = 0, bound_capped = 0;  // per-colour bound work
};

// The whole procedure: clear colours already whole, find a solution with weighted A*, then try
// to prove the fewest moves with A* within the budget. Out of time or cancelled, the report
// keeps the best solution found so far (solved, not optimal) or none.
SolveReport Solve(const Position& start, const SolveOptions& options);

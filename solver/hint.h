// Hints from the board exactly as it stands: the next step of a shortest way to an empty
// board, word that there is no way out (and how many undos lead back to a board that has one),
// or that the budget ran out first. Never a step that leads nowhere, never a false "no way
// out". A worker thread does the searching, so whoever asks never waits for it.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "solver/solver.h"

using BoardCells = std::array<uint8_t, Grid_Cells>;

enum HintOutcome {
  Hint_Unknown = 0,      // nothing asked, or the answer is not there yet
  Hint_Step = 1,         // `step` leads on towards an empty board
  Hint_Dead_End = 2,     // proven: no way to an empty board from here
  Hint_Out_Of_Time = 3,  // the budget ran out before either was found
};

struct HintBudget {
  double max_seconds = 1.0;       // the whole answer, dead-end look-back included
  uint64_t max_states = 250'000;  // stored positions of one search: about 40 MB at most
};

struct HintAnswer {
  int outcome = Hint_Unknown;
  SolveMove step;                  // Hint_Step: the action to play (Dir_Hold takes hold of a whole colour)
  bool shortest = false;           // Hint_Step: the step starts a proven shortest way
  int steps_left = -1;             // Hint_Step: steps of the way it starts, itself included
  std::vector<SolveMove> after;    // Hint_Step: the rest of that way, action by action
  int undos_back = -1;             // Hint_Dead_End: undos to a board with a way out; -1 unknown
};

// The search, on the calling thread. `history` is the level's earlier boards, oldest first and
// without `cells` itself: a dead end looks back through it for the nearest board that can
// still be solved.
HintAnswer FindHint(const BoardCells& cells, const std::vector<BoardCells>& history, const HintBudget& budget,
                    const std::atomic<bool>* cancel = nullptr);

// The board after `answer`'s step, and the answer that goes on from there (the rest of the
// same way, no search needed). False when the answer holds no step.
bool AdvanceHint(const BoardCells& cells, const HintAnswer& answer, BoardCells& next, HintAnswer& next_answer);

// One searching thread for the whole game. A new request cancels the one running; answers
// are taken with Poll. Safe to use from one asking thread.
class HintWorker {
 public:
  ~HintWorker();
  void Request(const BoardCells& cells, std::vector<BoardCells> history, const HintBudget& budget);
  // Stops the running search and forgets its answer.
  void Cancel();
  // True when the answer to the latest request is in (then `cells` and `answer` are set).
  bool Poll(BoardCells& cells, HintAnswer& answer);
  bool Busy();
  // Blocks until the latest request is answered: scripted runs use it to repeat exactly.
  void Wait();

 private:
  void Run();
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
  bool quit_ = false;
  uint64_t asked_ = 0, answered_ = 0, taken_ = 0;
  BoardCells cells_{};
  std::vector<BoardCells> history_;
  HintBudget budget_;
  HintAnswer answer_;
  BoardCells answer_cells_{};
  std::atomic<bool> cancel_{false};
};

// quark-solver: solves one board given as 80 cells 0..6 (arguments or standard input) and
// prints the fewest moves, or the best solution found with its proven lower bound.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/solver/board_text.h"
#include "tools/solver/replay_check.h"
#include "tools/solver/solver.h"

int main(int argc, char** argv) {
  SolveOptions options;
  std::string text;
  for (int i = 1; i < argc; i++) {
    std::string a = argv[i];
    if (a == "--states" && i + 1 < argc) {
      options.max_states = std::strtoull(argv[++i], nullptr, 10);
    } else if (a == "--help" || a == "-h") {
      std::printf(
          "usage: quark-solver [--states N] [CELLS...]\n"
          "  CELLS: 80 values 0..6 row by row from the top (0 empty, k colour k), as one\n"
          "  string of digits or separated by spaces or commas; read from standard input\n"
          "  when not given. --states: positions the optimal search may store (default %llu).\n",
          (unsigned long long)options.max_states);
      return 0;
    } else {
      text += a + " ";
    }
  }
  if (text.empty()) {
    std::stringstream ss;
    ss << std::cin.rdbuf();
    text = ss.str();
  }
  uint8_t cells[Grid_Cells];
  std::string error;
  if (!ParseBoardText(text, cells, error)) {
    std::fprintf(stderr, "quark-solver: malformed board: %s\n", error.c_str());
    return 2;
  }
  SolveReport rep = Solve(PositionFromCells(cells), options);
  if (!rep.solved) {
    std::printf("result: unsolved within the budget (lower bound %d)\n", rep.lower_bound);
    return 1;
  }
  std::string why;
  if (!GameReplayEmpties(cells, rep.solution, why)) {
    std::fprintf(stderr, "quark-solver: the solution fails in the game's rules: %s\n", why.c_str());
    return 3;
  }
  std::printf("result: %s\nmoves: %d\n", rep.optimal ? "optimal" : "best", rep.moves);
  if (!rep.optimal) std::printf("lower-bound: %d\n", rep.lower_bound);
  std::printf("solution:");
  for (const SolveMove& m : rep.solution) std::printf(" %s", MoveToken(m).c_str());
  std::printf("\n");
  std::printf("search: %llu stored, %llu expanded, %llu generated, %.3f s, %.0f generated/s, "
              "%.1f MB peak\n",
              (unsigned long long)rep.stored, (unsigned long long)rep.expanded,
              (unsigned long long)rep.generated, rep.seconds,
              rep.seconds > 0 ? rep.generated / rep.seconds : 0.0, rep.peak_bytes / 1e6);
  std::printf("colour bound: %llu searches, %llu positions expanded, %llu cut short\n",
              (unsigned long long)rep.bound_searches, (unsigned long long)rep.bound_expanded,
              (unsigned long long)rep.bound_capped);
  std::printf("checked: the game's rules empty the board with this solution\n");
  return 0;
}

// quark-solver: solves one board given as 80 cells 0..6 (arguments or standard input) and
// prints the fewest moves, or the best solution found with its proven lower bound.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>
#include <sstream>
#include <string>

#include "solver/board_text.h"
#include "solver/game_board.h"
#include "solver/solver.h"

namespace {

// Solves the levels of a catalogue file (every `every`-th record) and prints what it took:
// the benchmark of the solver and the grading time of the catalogue.
int SolveCatalogue(const std::string& path, int every, const SolveOptions& options) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> cat((std::istreambuf_iterator<char>(in)), {});
  if (!in.is_open() && cat.empty()) {
    std::fprintf(stderr, "quark-solver: cannot read %s\n", path.c_str());
    return 2;
  }
  int levels = int(cat.size() / 404), solved = 0, optimal = 0, failed = 0;
  double seconds = 0, bytes_per_state = 0;
  uint64_t generated = 0, stored = 0, most_stored = 0;
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < levels; i += every) {
    const uint8_t* cells = &cat[size_t(i) * 404 + 4];
    SolveReport r = Solve(PositionFromCells(cells), options);
    std::string why;
    bool ok = r.solved && GameReplayEmpties(cells, r.solution, why);
    solved += ok;
    optimal += ok && r.optimal;
    failed += !ok;
    seconds += r.seconds;
    generated += r.all_generated;
    stored += r.stored;
    if (r.stored > most_stored) {
      most_stored = r.stored;
      bytes_per_state = double(r.peak_bytes) / double(r.stored);
    }
    std::printf("level %3d: %2d moves %s (lower bound %d), %llu stored, %.2f s%s\n", i, r.moves,
                r.optimal ? "optimal" : "best", r.lower_bound, (unsigned long long)r.stored,
                r.seconds, ok ? "" : "  FAILED");
    std::fflush(stdout);
  }
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf("levels solved %d, proven optimal %d, failed %d\n", solved, optimal, failed);
  std::printf("solver time %.1f s (wall %.1f s); %llu positions generated, %.0f per second; "
              "%llu stored in the optimal searches\n",
              seconds, wall, (unsigned long long)generated, seconds > 0 ? generated / seconds : 0.0,
              (unsigned long long)stored);
  std::printf("largest search: %llu positions stored, %.0f bytes per stored position; "
              "peak resident memory %.0f MB\n",
              (unsigned long long)most_stored, bytes_per_state, ru.ru_maxrss / 1024.0);
  return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  SolveOptions options;
  std::string text, catalogue;
  int every = 1;
  for (int i = 1; i < argc; i++) {
    std::string a = argv[i];
    if (a == "--states" && i + 1 < argc) {
      options.max_states = std::strtoull(argv[++i], nullptr, 10);
    } else if (a == "--catalogue" && i + 1 < argc) {
      catalogue = argv[++i];
    } else if (a == "--every" && i + 1 < argc) {
      every = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--help" || a == "-h") {
      std::printf(
          "usage: quark-solver [--states N] [CELLS...]\n"
          "       quark-solver [--states N] --catalogue FILE [--every K]\n"
          "  CELLS: 80 values 0..6 row by row from the top (0 empty, k colour k), as one\n"
          "  string of digits or separated by spaces or commas; read from standard input\n"
          "  when not given. --states: positions the optimal search may store (default %llu).\n"
          "  --catalogue: solves every K-th level of a catalogue file and prints the totals.\n",
          (unsigned long long)options.max_states);
      return 0;
    } else {
      text += a + " ";
    }
  }
  if (!catalogue.empty()) return SolveCatalogue(catalogue, every, options);
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

// quark-hint-bench: how long a hint takes to answer, at the game's own budget, over positions
// sampled from the catalogue: the start of every few levels and the board halfway along its
// published solution. Prints the median and 95th percentile of the wall-clock time, what the
// answers were, and the peak memory of the process.
// Usage: quark-hint-bench [SOURCE_DIR] [positions]   (default: the current folder, 200)
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "levels/catalogue.h"
#include "solver/hint.h"

int main(int argc, char** argv) {
  std::string source = argc > 1 ? argv[1] : ".";
  int positions = argc > 2 ? std::max(2, std::atoi(argv[2])) : 200;
  if (!LoadCatalogue(FromLatin1(source + "/Data/full2.lvl"))) {
    std::fprintf(stderr, "cannot read %s/Data/full2.lvl\n", source.c_str());
    return 1;
  }
  std::vector<std::vector<SolveMove>> solutions;
  std::ifstream in(source + "/Data/full2.solutions.txt");
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string skip, token;
    words >> skip >> skip >> skip >> skip;
    std::vector<SolveMove> actions;
    for (SolveMove m; words >> token;) {
      if (ParseMoveToken(token, m)) actions.push_back(m);
    }
    solutions.push_back(actions);
  }
  const int levels = std::min<int>(Official_Level_Count, static_cast<int>(solutions.size()));
  std::vector<double> ms;
  int shortest = 0, unproven = 0, none = 0, dead = 0;
  for (int i = 0; i < positions; i++) {
    // Levels spread evenly over the catalogue; even samples at the start, odd ones halfway.
    int level = static_cast<int>(static_cast<long long>(i / 2) * levels / ((positions + 1) / 2));
    BoardCells cells;
    for (int c = 0; c < Grid_Cells; c++)
      cells[c] = static_cast<uint8_t>(PeekByte(Official_Bank, level * Level_Record_Size + Level_Cells_Offset + c));
    if (i % 2) {
      Position p = PositionFromCells(cells.data());
      const std::vector<SolveMove>& way = solutions[level];
      for (size_t k = 0; k < way.size() / 2; k++) ApplyMove(p, way[k]);
      CellsFromPosition(p, cells.data());
    }
    auto start = std::chrono::steady_clock::now();
    HintAnswer answer = FindHint(cells, {}, HintBudget());
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (answer.outcome == Hint_Step) (answer.shortest ? shortest : unproven)++;
    if (answer.outcome == Hint_Out_Of_Time) none++;
    if (answer.outcome == Hint_Dead_End) dead++;
  }
  std::vector<double> sorted = ms;
  std::sort(sorted.begin(), sorted.end());
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%d positions: median %.1f ms, 95th percentile %.1f ms, max %.1f ms\n", positions,
              sorted[sorted.size() / 2], sorted[std::min(sorted.size() - 1, sorted.size() * 95 / 100)], sorted.back());
  std::printf("answers: %d steps of a proven shortest way, %d steps of a way not proven shortest, %d none in time, %d dead ends\n",
              shortest, unproven, none, dead);
  std::printf("peak resident memory: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
}

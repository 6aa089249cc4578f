// quark-levelgen: makes the game's level catalogue. For every place in the catalogue it plays
// a few backward walks with settings that grow along the catalogue, grades each with the
// solver, keeps the hardest new one, then orders the levels by measured difficulty and writes
// Data/full2.lvl, Data/full2.solutions.txt and a chart of the difficulty curve.
// Graded candidates are cached in the work folder, so an interrupted run resumes where it was.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/levelgen/backward.h"
#include "tools/levelgen/catalogue.h"
#include "tools/levelgen/difficulty_chart.h"
#include "solver/game_board.h"

namespace {

constexpr int Level_Count = 553;

struct Graded {
  int slot = 0, attempt = 0;
  Cells cells{};
  int moves = 0;
  bool optimal = false;
  int lower_bound = 0;
  uint64_t expanded = 0, stored = 0, generated = 0;
  double seconds = 0;
  std::vector<SolveMove> solution;
};

double Score(const Graded& g) {
  return g.moves + 1.5 * std::log10(1.0 + double(g.expanded)) + BlockCount(g.cells) / 2.0;
}

// The most moves a level at place `slot` should take: the curve the catalogue climbs, from a
// handful of moves to about thirty, with room of a few moves around it.
int MovesCap(int slot) {
  double t = double(slot) / (Level_Count - 1);
  return int(std::lround(5 + 23 * std::pow(t, 1.3))) + 3;
}

std::string CellText(const Cells& c) {
  std::string s;
  for (uint8_t v : c) s += char('0' + v);
  return s;
}

std::string CacheLine(const Graded& g) {
  std::ostringstream o;
  o << g.slot << ' ' << g.attempt << ' ' << CellText(g.cells) << ' ' << g.moves << ' '
    << (g.optimal ? 1 : 0) << ' ' << g.lower_bound << ' ' << g.expanded << ' ' << g.stored << ' '
    << g.generated << ' ' << g.seconds;
  for (const SolveMove& m : g.solution) o << ' ' << MoveToken(m);
  return o.str();
}

bool ParseCacheLine(const std::string& line, Graded& g) {
  std::istringstream in(line);
  std::string cells;
  int opt;
  if (!(in >> g.slot >> g.attempt >> cells >> g.moves >> opt >> g.lower_bound >> g.expanded >>
        g.stored >> g.generated >> g.seconds))
    return false;
  if (cells.size() != 80) return false;
  for (int i = 0; i < 80; i++) g.cells[i] = uint8_t(cells[i] - '0');
  g.optimal = opt != 0;
  std::string tok;
  while (in >> tok) {
    SolveMove m;
    if (!ParseMoveToken(tok, m)) return false;
    g.solution.push_back(m);
  }
  return CountSteps(g.solution) == g.moves;
}

// The first level: one step joins each colour, six steps in all, plain to see.
Cells FirstLevel() {
  const char* rows =
      "0060021000"
      "0000000100"
      "0066020110"
      "0006022000"
      "0000000050"
      "3300000000"
      "0000440455"
      "3300000000";
  Cells c{};
  for (int i = 0; i < 80; i++) c[i] = uint8_t(rows[i] - '0');
  return c;
}

// The chart of a catalogue already written: moves and their kind from the solutions file, the
// block counts from the catalogue's boards. False when either file cannot be read.
bool ChartOfShippedCatalogue(const std::string& data_dir, std::vector<ChartLevel>* curve) {
  std::ifstream lvl(data_dir + "/full2.lvl", std::ios::binary);
  std::ifstream sol(data_dir + "/full2.solutions.txt");
  if (!lvl || !sol) return false;
  std::string line;
  while (std::getline(sol, line)) {
    std::istringstream in(line);
    int index, id;
    ChartLevel level{};
    std::string kind, token;
    if (!(in >> index >> id >> level.moves >> kind)) return false;
    level.optimal = kind == "optimal";
    while (in >> token) {
      if (token == "lower-bound") in >> level.lower_bound;
    }
    char record[Record_Size];
    if (!lvl.read(record, Record_Size)) return false;
    Cells cells{};
    for (int i = 0; i < 80; i++) cells[i] = uint8_t(record[4 + i]);
    level.blocks = BlockCount(cells);
    curve->push_back(level);
  }
  return !curve->empty();
}

// Walk settings for place `slot`: more blocks, more colours and longer walks further on.
WalkParams ParamsFor(int slot, Rng& rng) {
  double t = double(slot) / (Level_Count - 1);
  WalkParams wp;
  int blocks = int(std::lround(34 + 38 * std::pow(std::min(1.0, t / 0.8), 0.8))) + rng.Int(-3, 3);
  blocks = std::clamp(blocks, 22, 76);
  int colours = t < 0.15 ? rng.Int(3, 5) : rng.Int(4, 6);
  while (blocks / colours > 16) colours++;
  colours = std::min(colours, 6);
  for (int k = 0; k < colours; k++) wp.sizes.push_back(blocks / colours + (k < blocks % colours));
  for (int k = colours - 1; k > 0; k--) std::swap(wp.sizes[k], wp.sizes[rng.Int(0, k)]);
  wp.steps = int(std::lround(3 + 90 * t)) + rng.Int(0, 4 + int(20 * t));
  wp.whole_group = 0.5 + 0.2 * rng.Real();
  wp.appear_chance = 0.1 + 0.25 * rng.Real();
  wp.packed = blocks > 52;
  return wp;
}

bool Valid(const Cells& c) {
  int blocks = BlockCount(c), colours = ColourCount(c);
  if (blocks < 22 || blocks > 76 || colours < 3 || colours > 6) return false;
  Position p = PositionFromCells(c.data());
  Mask groups[Grid_Cells];
  for (Mask m : p.colour) {
    if (IsOneGroup(m)) return false;
    // A colour scattered in many pieces makes a level long rather than hard to see through.
    if (SplitGroups(m, groups) > 5) return false;
  }
  return true;
}

// The solver's own model replays the solution before the game's rules are asked.
bool ModelReplay(const Cells& c, const std::vector<SolveMove>& sol) {
  Position p = PositionFromCells(c.data());
  for (const SolveMove& m : sol)
    if (!ApplyMove(p, m)) return false;
  return p.Empty();
}

}  // namespace

int main(int argc, char** argv) {
  uint64_t seed = 20240553;
  std::string data_dir = "Data", work_dir = "tools/levelgen/work";
  std::string chart = "tools/levelgen/difficulty_curve.png";
  uint64_t states = 3'000'000;
  int limit = Level_Count;
  bool chart_only = false;
  for (int i = 1; i < argc; i++) {
    std::string a = argv[i];
    auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--seed") seed = std::strtoull(next().c_str(), nullptr, 10);
    else if (a == "--data") data_dir = next();
    else if (a == "--work") work_dir = next();
    else if (a == "--chart") chart = next();
    else if (a == "--chart-only") chart_only = true;
    else if (a == "--states") states = std::strtoull(next().c_str(), nullptr, 10);
    else if (a == "--places") limit = std::clamp(std::atoi(next().c_str()), 1, Level_Count);
    else {
      std::printf(
          "usage: quark-levelgen [--seed N] [--data DIR] [--work DIR] [--chart FILE]\n"
          "                      [--states N] [--places N] [--chart-only]\n"
          "Run from the source folder; writes DIR/full2.lvl and DIR/full2.solutions.txt.\n"
          "Graded candidates are cached in the work folder: a second run reuses them.\n");
      return a == "--help" ? 0 : 2;
    }
  }
  if (chart_only) {
    // Redraws the chart of the catalogue in DIR without generating anything.
    std::vector<ChartLevel> curve;
    if (!ChartOfShippedCatalogue(data_dir, &curve) || !WriteDifficultyChart(chart, curve)) {
      std::fprintf(stderr, "quark-levelgen: cannot chart the catalogue of %s into %s\n", data_dir.c_str(), chart.c_str());
      return 1;
    }
    std::printf("wrote %s: %zu levels\n", chart.c_str(), curve.size());
    return 0;
  }
  auto t0 = std::chrono::steady_clock::now();
  std::string cache_path = work_dir + "/graded.txt";
  std::map<std::pair<int, int>, Graded> cache;
  {
    std::ifstream in(cache_path);
    std::string line;
    while (std::getline(in, line)) {
      Graded g;
      if (ParseCacheLine(line, g)) cache[{g.slot, g.attempt}] = g;
    }
  }
  std::printf("cache: %zu graded candidates in %s\n", cache.size(), cache_path.c_str());
  std::ofstream cache_out(cache_path, std::ios::app);
  if (!cache_out) {
    std::fprintf(stderr, "quark-levelgen: cannot write %s\n", cache_path.c_str());
    return 1;
  }

  SolveOptions options;
  options.max_states = states;
  double solve_seconds = 0;
  int graded_count = 0;
  auto grade = [&](int slot, int attempt, const Cells& c) -> Graded {
    auto it = cache.find({slot, attempt});
    if (it != cache.end() && it->second.cells == c) return it->second;
    SolveReport r = Solve(PositionFromCells(c.data()), options);
    Graded g;
    g.slot = slot;
    g.attempt = attempt;
    g.cells = c;
    g.moves = r.solved ? r.moves : -1;
    g.optimal = r.optimal;
    g.lower_bound = r.lower_bound;
    g.expanded = r.expanded;
    g.stored = r.stored;
    g.generated = r.all_generated;
    g.seconds = r.seconds;
    g.solution = r.solution;
    cache_out << CacheLine(g) << '\n';
    cache_out.flush();
    cache[{slot, attempt}] = g;
    return g;
  };

  std::vector<Graded> chosen;
  std::set<std::string> keys;
  Graded first = grade(0, 0, FirstLevel());
  chosen.push_back(first);
  keys.insert(CanonicalKey(first.cells));
  for (int slot = 1; slot < limit; slot++) {
    int wanted = slot < 150 ? 2 : slot < 350 ? 3 : slot < 450 ? 4 : 6;
    Graded best;
    bool have = false;
    int got = 0;
    for (int attempt = 0; got < wanted && attempt < 400; attempt++) {
      Rng rng(seed * 0x100000001b3ULL + uint64_t(slot) * 7919 + uint64_t(attempt) * 104729);
      WalkParams wp = ParamsFor(slot, rng);
      Position p;
      if (!BackwardWalk(rng, wp, p)) continue;
      Cells c;
      CellsFromPosition(p, c.data());
      if (!Valid(c) || keys.count(CanonicalKey(c))) continue;
      Graded g = grade(slot, attempt, c);
      graded_count++;
      solve_seconds += g.seconds;
      if (g.moves < 0 || !ModelReplay(g.cells, g.solution)) continue;
      got++;
      // Early places keep the gentler candidate, later ones the harder that stays under the
      // curve; a level far above it would stand out among its neighbours.
      bool fits = g.moves <= MovesCap(slot), best_fits = have && best.moves <= MovesCap(slot);
      bool better = slot < 60 ? Score(g) < Score(best) : Score(g) > Score(best);
      if (have && fits != best_fits) better = fits;
      else if (have && !fits) better = g.moves < best.moves;
      if (!have || better) best = g, have = true;
    }
    if (!have) {
      std::fprintf(stderr, "quark-levelgen: no level for place %d\n", slot);
      return 1;
    }
    keys.insert(CanonicalKey(best.cells));
    chosen.push_back(best);
    double el = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("place %3d: %2d blocks %d colours, %2d moves %s (lb %d), %llu stored, %.2f s  [%.0f s]\n",
                slot, BlockCount(best.cells), ColourCount(best.cells), best.moves,
                best.optimal ? "optimal" : "best", best.lower_bound,
                (unsigned long long)best.stored, best.seconds, el);
    std::fflush(stdout);
  }

  // Order by measured difficulty; the first level stays first.
  std::stable_sort(chosen.begin() + 1, chosen.end(),
                   [](const Graded& a, const Graded& b) { return Score(a) < Score(b); });

  // Identifiers: a shuffled 1..553 with 1 on the first level and 498 on the seventh.
  int n = int(chosen.size());
  std::vector<int> ids;
  for (int id = 2; id <= Level_Count; id++)
    if (id != 498) ids.push_back(id);
  Rng id_rng(seed ^ 0x1d5);
  for (int k = int(ids.size()) - 1; k > 0; k--) std::swap(ids[k], ids[id_rng.Int(0, k)]);
  std::vector<int> id_of(n);
  id_of[0] = 1;
  for (int i = 1, j = 0; i < n; i++) id_of[i] = (i == 6 && Level_Count == n) ? 498 : ids[j++];

  // Every published solution goes through the game's own rules before it is written.
  int refused = 0;
  for (int i = 0; i < n; i++) {
    std::string why;
    if (!GameReplayEmpties(chosen[i].cells.data(), chosen[i].solution, why)) {
      std::fprintf(stderr, "quark-levelgen: level %d fails in the game's rules: %s\n", i, why.c_str());
      refused++;
    }
  }
  if (refused) return 1;

  std::string lvl_path = data_dir + "/full2.lvl", sol_path = data_dir + "/full2.solutions.txt";
  {
    std::ofstream lvl(lvl_path, std::ios::binary);
    std::ofstream sol(sol_path);
    for (int i = 0; i < n; i++) {
      auto rec = MakeRecord(id_of[i], chosen[i].cells);
      lvl.write(reinterpret_cast<const char*>(rec.data()), rec.size());
      const Graded& g = chosen[i];
      sol << i << ' ' << id_of[i] << ' ' << g.moves << ' ' << (g.optimal ? "optimal" : "best");
      for (const SolveMove& m : g.solution) sol << ' ' << MoveToken(m);
      if (!g.optimal) sol << " # lower-bound " << g.lower_bound;
      sol << '\n';
    }
    if (!lvl || !sol) {
      std::fprintf(stderr, "quark-levelgen: cannot write %s or %s\n", lvl_path.c_str(), sol_path.c_str());
      return 1;
    }
  }

  std::vector<ChartLevel> curve;
  int proven = 0;
  double first50 = 0, last150 = 0;
  for (int i = 0; i < n; i++) {
    curve.push_back({chosen[i].moves, chosen[i].lower_bound, chosen[i].optimal,
                     BlockCount(chosen[i].cells)});
    proven += chosen[i].optimal;
    if (i < 50) first50 += BlockCount(chosen[i].cells);
    if (i >= n - 150) last150 += BlockCount(chosen[i].cells);
  }
  if (!chart.empty() && !WriteDifficultyChart(chart, curve))
    std::fprintf(stderr, "quark-levelgen: cannot write %s\n", chart.c_str());
  double el = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("levels: %d, proven optimal %d, best-known %d\n", n, proven, n - proven);
  std::printf("blocks: %.1f on average over the first 50, %.1f over the last 150\n",
              first50 / std::min(n, 50), last150 / std::min(n, 150));
  std::printf("candidates graded: %d, %.1f s of solver time (as measured when each was graded, "
              "cached or not); wall time of this run %.1f s\n",
              graded_count, solve_seconds, el);
  std::printf("wrote %s, %s\n", lvl_path.c_str(), sol_path.c_str());
  return 0;
}

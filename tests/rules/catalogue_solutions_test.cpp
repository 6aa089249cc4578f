// The shipped catalogue and its solutions: every level is replayed through the game's own
// rules to an empty board in the stated number of moves, and the records keep the catalogue's
// promises (identifiers, cells, frames, colours, blocks, no duplicates, growth along the way).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/rules/rules_fixture.h"

namespace {

constexpr int Levels = 553;
constexpr int Record = 404;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> Catalogue() { return ReadFile(std::string(QUARK_SOURCE_DIR) + "/Data/full2.lvl"); }

const uint8_t* CellsOf(const std::vector<uint8_t>& cat, int i) { return &cat[size_t(i) * Record + 4]; }
int IdOf(const std::vector<uint8_t>& cat, int i) { return cat[size_t(i) * Record] | cat[size_t(i) * Record + 1] << 8; }

int Blocks(const uint8_t* c) { return int(std::count_if(c, c + 80, [](uint8_t v) { return v != 0; })); }

// Groups of colour v by a plain flood fill over the cells.
int GroupsOf(const uint8_t* c, uint8_t v) {
  std::vector<int> seen(80, 0);
  int groups = 0;
  for (int s = 0; s < 80; s++) {
    if (c[s] != v || seen[s]) continue;
    groups++;
    std::vector<int> stack = {s};
    seen[s] = 1;
    while (!stack.empty()) {
      int i = stack.back();
      stack.pop_back();
      int x = i % 10, y = i / 10;
      const int nx[4] = {x + 1, x - 1, x, x}, ny[4] = {y, y, y + 1, y - 1};
      for (int k = 0; k < 4; k++) {
        if (nx[k] < 0 || nx[k] > 9 || ny[k] < 0 || ny[k] > 7) continue;
        int j = ny[k] * 10 + nx[k];
        if (c[j] == v && !seen[j]) seen[j] = 1, stack.push_back(j);
      }
    }
  }
  return groups;
}

// The same text for a board, its three mirror images and any renaming of its colours.
std::string Key(const uint8_t* c) {
  std::string best;
  for (int flip = 0; flip < 4; flip++) {
    std::string s(80, '0');
    char rename[7] = {};
    char next = 'a';
    for (int i = 0; i < 80; i++) {
      int x = i % 10, y = i / 10;
      uint8_t v = c[((flip & 2) ? 7 - y : y) * 10 + ((flip & 1) ? 9 - x : x)];
      if (!v) continue;
      if (!rename[v]) rename[v] = next++;
      s[i] = rename[v];
    }
    if (best.empty() || s < best) best = s;
  }
  return best;
}

struct SolutionLine {
  int index = -1, id = -1, moves = -1, lower_bound = -1;
  bool optimal = false;
  std::vector<std::string> tokens;
};

std::vector<SolutionLine> Solutions() {
  std::ifstream in(std::string(QUARK_SOURCE_DIR) + "/Data/full2.solutions.txt");
  std::vector<SolutionLine> out;
  std::string line;
  while (std::getline(in, line)) {
    SolutionLine s;
    std::istringstream words(line);
    std::string kind, w;
    words >> s.index >> s.id >> s.moves >> kind;
    s.optimal = kind == "optimal";
    if (!s.optimal && kind != "best") s.moves = -1;
    while (words >> w) {
      if (w == "#") {
        words >> w;
        if (w == "lower-bound") words >> s.lower_bound;
        break;
      }
      s.tokens.push_back(w);
    }
    out.push_back(s);
  }
  return out;
}

class CatalogueTest : public RulesTest {};

}  // namespace

TEST_F(CatalogueTest, RecordsKeepTheCataloguesPromises) {
  std::vector<uint8_t> cat = Catalogue();
  ASSERT_EQ(cat.size(), size_t(Levels) * Record);
  std::vector<int> ids;
  std::set<std::string> keys;
  for (int i = 0; i < Levels; i++) {
    SCOPED_TRACE("level index " + std::to_string(i));
    const uint8_t* rec = &cat[size_t(i) * Record];
    ids.push_back(IdOf(cat, i));
    EXPECT_EQ(rec[2] | rec[3] << 8, 0) << "the best-time link is 0 in the file";
    const uint8_t* c = CellsOf(cat, i);
    ASSERT_TRUE(std::all_of(c, c + 80, [](uint8_t v) { return v <= 6; }));
    int blocks = Blocks(c);
    EXPECT_GE(blocks, 22);
    EXPECT_LE(blocks, 76);
    int colours = 0;
    for (uint8_t v = 1; v <= 6; v++) {
      if (std::find(c, c + 80, v) == c + 80) continue;
      colours++;
      EXPECT_GE(GroupsOf(c, v), 2) << "colour " << int(v) << " is one group at the start";
    }
    EXPECT_GE(colours, 3);
    EXPECT_LE(colours, 6);
    EXPECT_TRUE(keys.insert(Key(c)).second) << "the same level (or its mirror image) twice";

    // Frames: the game's own shapes of the laid-out board, 0 for empty cells.
    SetBoardCells(c);
    for (int cell = 0; cell < 80; cell++) {
      const T_BLOCK* b = BlockAt(cell % 10, cell / 10);
      for (int q = 0; q < 4; q++)
        ASSERT_EQ(rec[84 + cell * 4 + q], b ? b->Frame[q] : 0) << "cell " << cell << " quarter " << q;
    }
  }
  std::vector<int> sorted = ids;
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < Levels; i++) ASSERT_EQ(sorted[i], i + 1) << "identifiers are 1..553 once each";
  int in_place = 0;
  for (int i = 0; i < Levels; i++) in_place += ids[i] == i + 1;
  EXPECT_LT(in_place, 10) << "identifiers follow the positions";
}

TEST_F(CatalogueTest, FirstAndSeventhRecords) {
  std::vector<uint8_t> cat = Catalogue();
  ASSERT_GE(cat.size(), size_t(7) * Record);
  EXPECT_EQ(IdOf(cat, 0), 1);
  EXPECT_EQ(IdOf(cat, 6), 498);
  const uint8_t* c = CellsOf(cat, 0);
  EXPECT_EQ(std::vector<uint8_t>(c, c + 10), (std::vector<uint8_t>{0, 0, 6, 0, 0, 2, 1, 0, 0, 0}));
  EXPECT_EQ(Blocks(c), 22);
  std::set<uint8_t> colours(c, c + 80);
  colours.erase(0);
  EXPECT_EQ(colours.size(), 6u);
}

TEST_F(CatalogueTest, BlocksAndMovesGrowAlongTheCatalogue) {
  std::vector<uint8_t> cat = Catalogue();
  std::vector<SolutionLine> sol = Solutions();
  ASSERT_EQ(cat.size(), size_t(Levels) * Record);
  ASSERT_EQ(sol.size(), size_t(Levels));
  double first = 0, last = 0, first_moves = 0, last_moves = 0;
  for (int i = 0; i < 50; i++) first += Blocks(CellsOf(cat, i)), first_moves += sol[i].moves;
  for (int i = Levels - 150; i < Levels; i++) last += Blocks(CellsOf(cat, i)), last_moves += sol[i].moves;
  EXPECT_NEAR(first / 50, 36, 5);
  EXPECT_NEAR(last / 150, 69, 5);
  EXPECT_LT(first_moves / 50 * 2, last_moves / 150) << "the last levels take far more moves";
  for (int i = 0; i < 10; i++) EXPECT_LE(sol[i].moves, 8) << "level index " << i << " is not a first level";
  // No level is far out of place: its move count stays near the middle of its neighbours'.
  for (int i = 0; i < Levels; i++) {
    std::vector<int> around;
    for (int j = std::max(0, i - 6); j <= std::min(Levels - 1, i + 6); j++) around.push_back(sol[j].moves);
    std::nth_element(around.begin(), around.begin() + around.size() / 2, around.end());
    EXPECT_LE(std::abs(sol[i].moves - around[around.size() / 2]), 8) << "level index " << i;
  }
}

TEST_F(CatalogueTest, EverySolutionEmptiesTheBoardInTheGamesRules) {
  std::vector<uint8_t> cat = Catalogue();
  std::vector<SolutionLine> sol = Solutions();
  ASSERT_EQ(cat.size(), size_t(Levels) * Record);
  ASSERT_EQ(sol.size(), size_t(Levels));
  int optimal = 0;
  for (int i = 0; i < Levels; i++) {
    SCOPED_TRACE("solution line " + std::to_string(i + 1));
    const SolutionLine& s = sol[i];
    ASSERT_EQ(s.index, i);
    ASSERT_EQ(s.id, IdOf(cat, i));
    ASSERT_GE(s.moves, 1);
    if (s.optimal) optimal++;
    else {
      EXPECT_GE(s.lower_bound, 1) << "a best-known count states its lower bound";
      EXPECT_LE(s.lower_bound, s.moves);
    }
    SetBoardCells(CellsOf(cat, i));
    int steps = 0;
    for (const std::string& t : s.tokens) {
      ASSERT_EQ(t.size(), 3u) << t;
      int x = t[0] - '0', y = t[1] - '0';
      ASSERT_TRUE(OnBoard(x, y)) << t;
      const std::string dirs = "RDLUG";
      size_t d = dirs.find(t[2]);
      ASSERT_NE(d, std::string::npos) << t;
      ASSERT_TRUE(ReplayStep(x, y, d == 4 ? -1 : int(d))) << "token " << t << " refused";
      steps += d != 4;
    }
    EXPECT_EQ(steps, s.moves);
    EXPECT_TRUE(Block_List.empty()) << Block_List.size() << " blocks left";
  }
  RecordProperty("ProvenOptimal", optimal);
}

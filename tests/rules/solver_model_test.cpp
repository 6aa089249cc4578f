// The solver's compact model against the game's rules, its bound against exhaustive search,
// and its refusal of malformed boards.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <queue>
#include <random>

#include "tests/rules/rules_fixture.h"
#include "solver/board_text.h"
#include "solver/game_board.h"
#include "solver/solver.h"

namespace {

class SolverModelTest : public RulesTest {};

// A random board: each cell empty with chance `empty`, else one of `colours` colours.
std::vector<uint8_t> RandomCells(std::mt19937& rng, double empty, int colours) {
  std::vector<uint8_t> c(80);
  std::uniform_real_distribution<double> u(0, 1);
  for (auto& v : c) v = u(rng) < empty ? 0 : uint8_t(1 + rng() % colours);
  return c;
}

std::vector<uint8_t> Cells(const Position& p) {
  std::vector<uint8_t> c(80);
  CellsFromPosition(p, c.data());
  return c;
}

// Fewest steps by breadth-first search over the model: the reference for small boards;
// -1 when it would take more than `cap` positions.
int BreadthFirst(Position start, size_t cap = 30000) {
  ClearWholeColours(start);
  std::map<std::vector<uint8_t>, int> seen;
  std::queue<Position> q;
  seen[Cells(start)] = 0;
  q.push(start);
  while (!q.empty()) {
    Position p = q.front();
    q.pop();
    int d = seen[Cells(p)];
    if (p.Empty()) return d;
    if (seen.size() > cap) return -1;
    for (const Successor& s : LegalMoves(p)) {
      auto key = Cells(s.next);
      if (seen.emplace(key, d + 1).second) q.push(s.next);
    }
  }
  return -1;
}

}  // namespace

TEST_F(SolverModelTest, EveryStepOfEveryBlockAgreesWithTryMove) {
  std::mt19937 rng(4);
  const double densities[] = {0.3, 0.6, 0.85};
  int accepted = 0, refused = 0;
  for (int board = 0; board < 60; board++) {
    std::vector<uint8_t> cells = RandomCells(rng, densities[board % 3], 2 + board % 5);
    Position p = PositionFromCells(cells.data());
    std::vector<Successor> legal = LegalMoves(p);
    for (int cell = 0; cell < 80; cell++) {
      if (!cells[cell]) continue;
      for (int dir = 0; dir < 4; dir++) {
        Position model = p;
        bool model_ok = ApplyMove(model, {cell, dir});
        GameSetBoard(cells.data());
        bool game_ok = GameReplayAction({cell, dir});
        std::vector<uint8_t> game(80);
        GameBoardCells(game.data());
        ASSERT_EQ(model_ok, game_ok) << "board " << board << " cell " << cell << " dir " << dir;
        if (!model_ok) {
          refused++;
          EXPECT_EQ(game, cells) << "a refused step changed the board";
          continue;
        }
        accepted++;
        ASSERT_EQ(Cells(model), game) << "board " << board << " cell " << cell << " dir " << dir;
        // The list of legal moves holds this result too, made by the group's anchor block.
        bool listed = false;
        for (const Successor& s : legal) listed |= s.next == model && s.move.dir == dir;
        EXPECT_TRUE(listed);
      }
    }
    // And every listed move is one the game accepts with the same result.
    for (const Successor& s : legal) {
      GameSetBoard(cells.data());
      ASSERT_TRUE(GameReplayAction(s.move));
      std::vector<uint8_t> game(80);
      GameBoardCells(game.data());
      EXPECT_EQ(Cells(s.next), game);
    }
  }
  EXPECT_GT(accepted, 500);
  EXPECT_GT(refused, 500);
}

TEST_F(SolverModelTest, TakingHoldClearsOnlyAWholeColour) {
  // Colour 1 is one group, colour 2 is two groups.
  std::vector<uint8_t> cells(80, 0);
  cells[0] = cells[1] = 1;
  cells[20] = 2;
  cells[40] = 2;
  Position p = PositionFromCells(cells.data());
  Position q = p;
  EXPECT_FALSE(ApplyMove(q, {20, Dir_Hold}));
  EXPECT_TRUE(ApplyMove(q, {1, Dir_Hold}));
  GameSetBoard(cells.data());
  EXPECT_TRUE(GameReplayAction({1, Dir_Hold}));
  std::vector<uint8_t> game(80);
  GameBoardCells(game.data());
  EXPECT_EQ(Cells(q), game);
  std::vector<SolveMove> lead = ClearWholeColours(p);
  ASSERT_EQ(lead.size(), 1u);
  EXPECT_EQ(MoveToken(lead[0]), "00G");
}

// The solver as the game calls it: on the board as it stands, within a budget the caller sets,
// and stopped at once by a cancel or a spent budget, keeping what it found.
TEST_F(SolverModelTest, TheGamesBoardIsSolvedWithinTheCallersBudget) {
  std::ifstream in(std::string(QUARK_SOURCE_DIR) + "/Data/full2.lvl", std::ios::binary);
  std::vector<uint8_t> cat((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GE(cat.size(), 553u * 404);
  auto lay = [&](int level) { GameSetBoard(&cat[size_t(level) * 404 + 4]); };
  std::atomic<bool> cancelled{true};
  struct Case {
    const char* Name;
    int Level;
    SolveOptions Options;
    bool Solved, Optimal, Stopped;
  };
  const Case cases[] = {
      {"level 3, no limits", 2, {}, true, true, false},
      {"level 553, cancelled before it starts", 552, {.cancel = &cancelled}, false, false, true},
      {"level 553, no time at all", 552, {.max_seconds = 1e-9}, false, false, true},
      {"level 553, a tiny state budget", 552, {.max_states = 64}, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    lay(c.Level);
    SolveReport r = SolveGameBoard(c.Options);
    EXPECT_EQ(r.solved, c.Solved);
    EXPECT_EQ(r.optimal, c.Optimal);
    EXPECT_EQ(r.stopped, c.Stopped);
    if (!c.Solved) continue;
    // The solution plays on the board it was asked about, to an empty board.
    EXPECT_EQ(CountSteps(r.solution), r.moves);
    for (const SolveMove& m : r.solution) ASSERT_TRUE(GameReplayAction(m)) << MoveToken(m);
    EXPECT_TRUE(Block_List.empty());
  }
}

TEST_F(SolverModelTest, OptimalCountsMatchBreadthFirstSearch) {
  std::mt19937 rng(11);
  int checked = 0;
  for (int board = 0; board < 60 && checked < 15; board++) {
    // Sparse boards of two or three small colours keep breadth-first search small.
    std::vector<uint8_t> cells(80, 0);
    int colours = 2 + board % 2;
    for (int k = 1; k <= colours; k++)
      for (int b = 0; b < 3; b++) cells[(rng() % 3 + 2) * 10 + rng() % 4 + 2] = uint8_t(k);
    Position p = PositionFromCells(cells.data());
    int expect = BreadthFirst(p);
    if (expect < 0) continue;
    SolveOptions opt;
    opt.max_states = 200000;
    SolveReport r = Solve(p, opt);
    ASSERT_TRUE(r.solved);
    ASSERT_TRUE(r.optimal);
    EXPECT_EQ(r.moves, expect) << "board " << board;
    EXPECT_EQ(CountSteps(r.solution), r.moves);
    std::string why;
    EXPECT_TRUE(GameReplayEmpties(cells.data(), r.solution, why)) << why;
    checked++;
  }
  EXPECT_GE(checked, 12);
}

TEST_F(SolverModelTest, ColourBoundNeverExceedsTheFewestMovesAlone) {
  std::mt19937 rng(5);
  ColourBound bound;
  int checked = 0;
  for (int t = 0; t < 40; t++) {
    Position p;
    for (int b = 0; b < 2 + t % 3; b++) p.colour[0] |= Bit(int((rng() % 5 + 1) * 10 + rng() % 6 + 1));
    int exact = BreadthFirst(p);
    if (exact < 0) continue;
    EXPECT_LE(bound.Get(p.colour[0]), exact) << "case " << t;
    checked++;
  }
  EXPECT_GE(checked, 25);
  // Two single blocks with two empty cells between them: two steps.
  EXPECT_EQ(bound.Get(Bit(0) | Bit(3)), 2);
}

TEST_F(SolverModelTest, MoveTokensRoundTrip) {
  const char* good[] = {"00R", "97D", "45L", "12U", "30G"};
  for (const char* t : good) {
    SolveMove m;
    ASSERT_TRUE(ParseMoveToken(t, m)) << t;
    EXPECT_EQ(MoveToken(m), t);
  }
  const char* bad[] = {"", "0R", "A0R", "08R", "00X", "00RR"};
  for (const char* t : bad) {
    SolveMove m;
    EXPECT_FALSE(ParseMoveToken(t, m)) << t;
  }
}

TEST(SolverBoardText, RefusesMalformedBoards) {
  uint8_t cells[80];
  std::string error;
  std::string ok(80, '0');
  ok[3] = '6';
  EXPECT_TRUE(ParseBoardText(ok, cells, error));
  EXPECT_EQ(cells[3], 6);
  std::string spaced;
  for (int i = 0; i < 80; i++) spaced += (i % 7 == 0 ? "2," : "0 ");
  EXPECT_TRUE(ParseBoardText(spaced, cells, error)) << error;
  EXPECT_EQ(cells[7], 2);
  struct Case {
    std::string text;
    std::string says;
  };
  std::string seven = ok;
  seven[10] = '7';
  std::string big;
  for (int i = 0; i < 80; i++) big += i == 5 ? "12 " : "0 ";
  const Case cases[] = {
      {std::string(79, '0'), "has 79"},
      {std::string(81, '0'), "has 81"},
      {"", "has 0"},
      {seven, "holds 7"},
      {big, "holds 12"},
      {std::string(79, '0') + "x", "not a cell value"},
      {"-1 " + std::string(79 * 2, ' '), "not a cell value"},
  };
  for (const Case& c : cases) {
    error.clear();
    EXPECT_FALSE(ParseBoardText(c.text, cells, error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}


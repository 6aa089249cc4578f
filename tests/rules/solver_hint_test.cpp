// Hints and pars on the rules and the solver alone: the hint's step from catalogue positions is
// a step of a shortest way (checked by solving the board it leads to), a board with no way out
// is said to be one with the right number of undos back, a budget too small says so, the
// worker answers only the latest board, and every level carries the par of its solution.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "levels/catalogue.h"
#include "levels/par.h"
#include "solver/hint.h"
#include "tests/rules/rules_fixture.h"

namespace {

struct Solution {
  int id = 0, moves = 0;
  bool optimal = false;
  std::vector<SolveMove> actions;
};

// The catalogue's solutions, with the shorter ones longer searches proved in their places.
std::vector<Solution> Solutions() {
  std::vector<Solution> all;
  for (const char* file : {"/Data/full2.solutions.txt", "/Data/proven.solutions.txt"}) {
    std::ifstream in(std::string(QUARK_SOURCE_DIR) + file);
    for (std::string line; std::getline(in, line);) {
      std::istringstream words(line);
      int index = 0;
      std::string kind, token;
      Solution s;
      words >> index >> s.id >> s.moves >> kind;
      s.optimal = kind == "optimal";
      while (words >> token) {
        SolveMove m;
        if (ParseMoveToken(token, m)) s.actions.push_back(m);
      }
      if (index == static_cast<int>(all.size())) {
        all.push_back(s);
      } else if (index >= 0 && index < static_cast<int>(all.size())) {
        all[index] = s;
      }
    }
  }
  return all;
}

class Hints : public RulesTest {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(LoadCatalogue(FromLatin1(std::string(QUARK_SOURCE_DIR) + "/Data/full2.lvl")), 1); }
  static BoardCells LevelCells(int level) {
    BoardCells cells;
    for (int i = 0; i < Grid_Cells; i++) cells[i] = static_cast<uint8_t>(PeekByte(Official_Bank, level * Level_Record_Size + Level_Cells_Offset + i));
    return cells;
  }
  static BoardCells After(BoardCells cells, const std::vector<SolveMove>& actions, size_t count) {
    Position p = PositionFromCells(cells.data());
    for (size_t i = 0; i < count; i++) EXPECT_TRUE(ApplyMove(p, actions[i]));
    CellsFromPosition(p, cells.data());
    return cells;
  }
  // Fewest steps from the board, proven; -1 when the solver could not prove it.
  static int Distance(const BoardCells& cells) {
    SolveOptions options;
    options.max_states = 3'000'000;
    SolveReport r = Solve(PositionFromCells(cells.data()), options);
    return r.optimal ? r.moves : -1;
  }
  static BoardCells FromRows(const std::vector<std::string>& rows) {
    BoardCells cells{};
    for (int y = 0; y < Grid_H; y++)
      for (int x = 0; x < Grid_W; x++) cells[y * Grid_W + x] = rows[y][x] == '.' ? 0 : static_cast<uint8_t>(rows[y][x] - '0' + 1);
    return cells;
  }
};

// A board with no move at all: every cell taken, and neither colour in one group.
const std::vector<std::string> Frozen = {
    "0101010101", "1010101010", "0101010101", "1010101010",
    "0101010101", "1010101010", "0101010101", "1010101010",
};
// Two blocks of one colour two cells apart: one step joins them.
const std::vector<std::string> One_Step = {
    "0.0.......", "..........", "..........", "..........",
    "..........", "..........", "..........", "..........",
};

TEST_F(Hints, TheStepFromStartsAndMidSolutionsIsOneCloserToAnEmptyBoard) {
  std::vector<Solution> solutions = Solutions();
  ASSERT_EQ(solutions.size(), 553u);
  HintBudget generous;
  generous.max_seconds = 0;
  generous.max_states = 3'000'000;
  // Levels spread over the catalogue short of its last, hardest ones, whose proofs stay quick; each
  // from its start and from halfway along its published solution.
  for (int level : {0, 1, 7, 30, 61, 95, 130, 170, 220, 280, 340, 400, 450, 500}) {
    for (size_t played : {size_t(0), solutions[level].actions.size() / 2}) {
      SCOPED_TRACE("level " + std::to_string(level + 1) + " after " + std::to_string(played) + " actions");
      BoardCells board = After(LevelCells(level), solutions[level].actions, played);
      HintAnswer hint = FindHint(board, {}, generous);
      ASSERT_EQ(hint.outcome, Hint_Step);
      ASSERT_TRUE(hint.shortest);
      if (played == 0) {
        EXPECT_EQ(hint.steps_left, solutions[level].moves);
      }
      BoardCells next;
      HintAnswer rest;
      ASSERT_TRUE(AdvanceHint(board, hint, next, rest));
      int taken = hint.step.dir == Dir_Hold ? 0 : 1;
      EXPECT_EQ(Distance(next), hint.steps_left - taken);
    }
  }
}

TEST_F(Hints, FollowingTheHintAloneEmptiesTheBoardInPar) {
  for (int level : {0, 4, 12}) {
    BoardCells board = LevelCells(level);
    HintAnswer hint = FindHint(board, {}, HintBudget());
    ASSERT_EQ(hint.outcome, Hint_Step);
    int steps = 0;
    while (hint.outcome == Hint_Step) {
      BoardCells next;
      HintAnswer rest;
      ASSERT_TRUE(AdvanceHint(board, hint, next, rest));
      steps += hint.step.dir == Dir_Hold ? 0 : 1;
      board = next;
      hint = rest;
    }
    EXPECT_EQ(board, BoardCells{}) << "level " << level + 1;
    EXPECT_EQ(steps, CatalogueLevelPar(level).steps) << "level " << level + 1;
  }
}

TEST_F(Hints, ABoardWithNoWayOutSaysSoAndCountsTheUndosBackToOneWithAWay) {
  BoardCells frozen = FromRows(Frozen);
  BoardCells shifted = frozen;
  std::swap(shifted[0], shifted[1]);   // as frozen, another board of the history
  // Oldest first: a board with a way out, then two without.
  HintAnswer hint = FindHint(frozen, {FromRows(One_Step), shifted}, HintBudget());
  EXPECT_EQ(hint.outcome, Hint_Dead_End);
  EXPECT_EQ(hint.undos_back, 2);
  // The history directly before: one undo.
  hint = FindHint(frozen, {shifted, FromRows(One_Step)}, HintBudget());
  EXPECT_EQ(hint.undos_back, 1);
  // Nothing behind it has a way out: no count rather than a wrong one.
  hint = FindHint(frozen, {shifted}, HintBudget());
  EXPECT_EQ(hint.outcome, Hint_Dead_End);
  EXPECT_EQ(hint.undos_back, -1);
  // Never a dead end for a board with a way.
  EXPECT_EQ(FindHint(FromRows(One_Step), {}, HintBudget()).outcome, Hint_Step);
}

TEST_F(Hints, ABudgetTooSmallOrACancelSaysNoneFoundNeverADeadEnd) {
  BoardCells hardest = LevelCells(552);
  HintBudget tiny;
  tiny.max_states = 40;
  HintAnswer hint = FindHint(hardest, {}, tiny);
  EXPECT_EQ(hint.outcome, Hint_Out_Of_Time);
  std::atomic<bool> cancel{true};
  hint = FindHint(LevelCells(300), {}, HintBudget(), &cancel);
  EXPECT_EQ(hint.outcome, Hint_Out_Of_Time);
  // A frozen board is proven stuck whatever the budget, even one of a single position.
  tiny.max_states = 2;
  EXPECT_EQ(FindHint(FromRows(Frozen), {}, tiny).outcome, Hint_Dead_End);
}

TEST_F(Hints, TheWorkerAnswersTheLatestBoardOnlyAndForgetsACancelledOne) {
  HintWorker worker;
  BoardCells first = LevelCells(2), second = LevelCells(3), cells;
  HintAnswer answer;
  EXPECT_FALSE(worker.Poll(cells, answer));
  worker.Request(first, {}, HintBudget());
  worker.Request(second, {}, HintBudget());
  worker.Wait();
  EXPECT_FALSE(worker.Busy());
  ASSERT_TRUE(worker.Poll(cells, answer));
  EXPECT_EQ(cells, second);
  EXPECT_EQ(answer.outcome, Hint_Step);
  EXPECT_FALSE(worker.Poll(cells, answer)) << "an answer is taken once";
  worker.Request(first, {}, HintBudget());
  worker.Cancel();
  EXPECT_FALSE(worker.Busy());
  worker.Wait();
  EXPECT_FALSE(worker.Poll(cells, answer));
}

TEST_F(Hints, EveryLevelCarriesTheParOfItsSolution) {
  std::vector<Solution> solutions = Solutions();
  ASSERT_EQ(Official_Level_Count, 553);
  int proven = 0;
  for (int level = 0; level < Official_Level_Count; level++) {
    LevelPar par = CatalogueLevelPar(level);
    EXPECT_EQ(par.steps, solutions[level].moves) << "level " << level + 1;
    EXPECT_EQ(par.proven, solutions[level].optimal) << "level " << level + 1;
    proven += par.proven;
    // Every par is a way to the empty board in that many steps.
    ASSERT_EQ(static_cast<int>(solutions[level].actions.size()), par.steps) << "level " << level + 1;
    const BoardCells end = After(LevelCells(level), solutions[level].actions, solutions[level].actions.size());
    EXPECT_TRUE(std::all_of(end.begin(), end.end(), [](uint8_t cell) { return cell == 0; })) << "level " << level + 1;
  }
  // 549 proven by the generator, 549, 551 and 552 by longer searches since.
  EXPECT_EQ(proven, 552);
  EXPECT_EQ(CatalogueLevelPar(548).steps, 23);
  EXPECT_EQ(CatalogueLevelPar(551).steps, 27);
  EXPECT_EQ(CatalogueLevelPar(-1).steps, 0);
  EXPECT_EQ(CatalogueLevelPar(553).steps, 0);
  // A record that is not the level the par was found for gets none.
  int id = PeekShort(Official_Bank, Level_Id_Offset);
  PokeShort(Official_Bank, Level_Id_Offset, id + 1);
  EXPECT_EQ(CatalogueLevelPar(0).steps, 0);
  PokeShort(Official_Bank, Level_Id_Offset, id);
  EXPECT_EQ(CatalogueLevelPar(0).steps, 6);
}

}  // namespace

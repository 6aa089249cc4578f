// Random levels played through quark-driver: each difficulty made from a code in the driver's
// process is the board this process makes from it, and is won in par with the hint key alone,
// ending on the victory screen with the code and no best score; the level of the
// day from the menu on a fixed date; and a random level resumed after a restart with its board,
// clock, code and par, then started again from its first board.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "driver_session.h"
#include "level_solutions.h"
#include "levelgen/random_level.h"

namespace {

constexpr int Cell = Default_Display_Size.Cell;   // the window a fresh profile opens

const std::vector<std::string>& Keys() {
  static const std::vector<std::string> keys = [] {
    std::ifstream in(std::string(QUARK_SOURCE_DIR) + "/Data/full2.lvl", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    return CatalogueKeys(bytes.data(), static_cast<int>(bytes.size() / 404));
  }();
  return keys;
}

MadeLevel Make(const LevelCode& code) {
  MadeLevel made;
  EXPECT_TRUE(MakeRandomLevel(code, Keys(), nullptr, made));
  return made;
}

// The board as the state dump writes it: rows joined by "/", "." for an empty cell, the kind.
std::string BoardText(const LevelCells& cells) {
  std::string s;
  for (int y = 0; y < 8; y++) {
    if (y > 0) s += '/';
    for (int x = 0; x < 10; x++) {
      uint8_t v = cells[y * 10 + x];
      s += v == 0 ? '.' : static_cast<char>('0' + v - 1);
    }
  }
  return s;
}

std::vector<SolutionStep> Steps(const std::vector<SolveMove>& moves, size_t count = SIZE_MAX) {
  std::vector<SolutionStep> steps;
  for (size_t i = 0; i < moves.size() && i < count; i++) {
    const SolveMove& m = moves[i];
    steps.push_back({m.cell % 10, m.cell / 10, m.dir == Dir_Hold ? 'G' : "RDLU"[m.dir]});
  }
  return steps;
}

// The pixel at the centre of a menu caption's first cell.
std::string Caption(int x, int y) { return CellCentre(x, y, Cell); }

// Each level is won with the hint key alone: three presses a step (group, direction, step), as
// many steps as its par.
TEST(RandomLevelSession, EveryDifficultyIsTheBoardOfItsCodeAndIsWonWithoutABestScore) {
  DriverSession s;
  s.WriteEnglishProfile();
  std::string script = "wait 5\n";
  std::vector<MadeLevel> made;
  std::vector<std::string> codes;
  for (int d = 0; d < Difficulty_Count; d++) {
    LevelCode code{static_cast<uint32_t>(4000 + d), d, false};
    made.push_back(Make(code));
    codes.push_back(LevelCodeText(code));
    std::string n = std::to_string(d);
    script += "code " + codes[d] + "\nstate {dir}/making" + n + "\nready\nwait 2\nstate {dir}/start" + n + "\n";
    for (int press = 0; press < 3 * made[d].par; press++) script += "text ?\nwait 10\n";
    script += "wait 400\nstate {dir}/won" + n + "\n";
  }
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();
  for (int d = 0; d < Difficulty_Count; d++) {
    std::string n = std::to_string(d);
    SCOPED_TRACE("difficulty " + n + " code " + codes[d]);
    EXPECT_EQ(s.StateInt("making" + n, "Current_Screen"), Screen_Making_Level);
    auto start = s.State("start" + n);
    EXPECT_EQ(start["Current_Screen"], IdText(Screen_Game));
    EXPECT_EQ(start["Board"], BoardText(made[d].cells)) << "another board than this process made from the code";
    EXPECT_EQ(start["Level_Index"], "-1");
    EXPECT_EQ(start["Random_Level_Code"], codes[d]);
    EXPECT_EQ(start["Random_Level_Par"], std::to_string(made[d].par));
    EXPECT_EQ(start["Par_Steps"], std::to_string(made[d].par)) << "played against the par its maker proved";
    EXPECT_EQ(start["Par_Proven"], "1");
    auto won = s.State("won" + n);
    EXPECT_EQ(won["Level_Final_Steps"], std::to_string(made[d].par)) << "the hint's steps are a shortest way";
    EXPECT_EQ(won["Current_Screen"], IdText(Screen_Victory));
    EXPECT_EQ(won["Victory_Lines"], "Random Level|Code: " + codes[d] + "|Well Done !|Time: " +
                                        won["Victory_Lines"].substr(won["Victory_Lines"].rfind("Time: ") + 6));
    EXPECT_EQ(won["Best_Count"], "0");
  }
  EXPECT_FALSE(s.UserFileExists("qUaRk_Best_Scores.bin") &&
               DriverSession::ReadFile(s.UserFile("qUaRk_Best_Scores.bin")).size() > 4)
      << "a random level left a best score";
}

TEST(RandomLevelSession, TheMenuMakesTheLevelOfTheDayWithItsDateOnTheVictoryScreen) {
  DriverSession s;
  s.WriteEnglishProfile();
  LevelCode day = DayLevelCode(DayNumber(2026, 12, 9));
  MadeLevel made = Make(day);
  // Main menu: "Random Level" on row 2; its menu: "Daily Level" on row 6.
  std::string script = "today 2026 12 9\nwait 5\nclick " + Caption(3, 2) + "\nwait 180\nstate {dir}/menu\n" +
                       "click " + Caption(5, 6) + "\nwait 180\nready\nwait 2\nstate {dir}/start\n" +
                       MouseSolutionScript(Steps(made.solution), Cell) + "wait 400\nstate {dir}/won\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("menu", "Current_Screen"), Screen_Difficulty);
  auto start = s.State("start");
  EXPECT_EQ(start["Board"], BoardText(made.cells));
  EXPECT_EQ(start["Random_Level_Code"], LevelCodeText(day));
  auto won = s.State("won");
  EXPECT_EQ(won["Current_Screen"], IdText(Screen_Victory));
  EXPECT_EQ(won["Victory_Lines"].substr(0, won["Victory_Lines"].find("|Well Done")),
            "Daily Level|2026-12-09|Code: " + LevelCodeText(day));
}

TEST(RandomLevelSession, ARandomLevelResumesAfterARestartAndStartsAgainFromItsFirstBoard) {
  DriverSession s;
  s.WriteEnglishProfile();
  LevelCode code{777u, Difficulty_Hard, false};
  MadeLevel made = Make(code);
  ASSERT_GE(made.solution.size(), 3u);
  ASSERT_EQ(s.Run("wait 5\ncode " + LevelCodeText(code) + "\nready\nwait 2\n" +
                  MouseSolutionScript(Steps(made.solution, 2), Cell) + "sleep 7000\nwait 2\nstate {dir}/before\nclose\nwait 1\n"),
            0)
      << s.Stderr();
  auto before = s.State("before");
  ASSERT_EQ(before["Random_Level_Code"], LevelCodeText(code));
  ASSERT_NE(before["Board"], BoardText(made.cells));

  // Enter on the main menu resumes the saved game; "r" starts the level again.
  ASSERT_EQ(s.Run("wait 5\nkey Return\nwait 1\nstate {dir}/resumed\ntext r\nwait 1\nstate {dir}/restarted\n"), 0) << s.Stderr();
  auto resumed = s.State("resumed");
  EXPECT_EQ(resumed["Current_Screen"], IdText(Screen_Game));
  EXPECT_EQ(resumed["Board"], before["Board"]);
  EXPECT_EQ(resumed["Undo_Count"], before["Undo_Count"]);
  EXPECT_EQ(resumed["Level_Index"], "-1");
  EXPECT_EQ(resumed["Random_Level_Code"], LevelCodeText(code));
  EXPECT_EQ(resumed["Random_Level_Par"], std::to_string(made.par));
  const int elapsed_before = std::stoi(before["Level_Elapsed"]), elapsed_after = std::stoi(resumed["Level_Elapsed"]);
  EXPECT_GE(elapsed_after, elapsed_before);
  EXPECT_LT(elapsed_after, elapsed_before + 100) << "the clock did not come back";
  EXPECT_GE(elapsed_before, 7000);
  auto restarted = s.State("restarted");
  EXPECT_EQ(restarted["Board"], BoardText(made.cells));
  EXPECT_EQ(restarted["Undo_Count"], "1");
  EXPECT_EQ(restarted["Random_Level_Code"], LevelCodeText(code));
}

}  // namespace

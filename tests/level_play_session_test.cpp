// Whole levels played through quark-driver: level 1 solved by mouse drags and by the keyboard
// from its shipped solution, the board emptying, the fragments leaving and the victory screen;
// and one session for the clock cap, "r" in play and on a menu, Esc, and a level number the
// catalogue does not have.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver_session.h"
#include "level_solutions.h"

namespace {

constexpr int Cell = Default_Display_Size.Cell;   // the window a fresh profile opens

using Step = SolutionStep;

std::vector<Step> LevelOneSolution() { return ShippedSolution(0); }

std::string MouseScript(const std::vector<Step>& steps) {
  return "wait 1\nlevel 1\nwait 2\n" + MouseSolutionScript(steps, Cell);
}

std::string KeyboardScript(const std::vector<Step>& steps) {
  int kx = 0, ky = 0;
  // Enter shows the hand at (0, 0).
  return "wait 1\nlevel 1\nwait 2\nkey Return\nwait 1\n" + KeyboardSolutionScript(steps, &kx, &ky);
}

void ExpectWonAfterTheFragments(const DriverSession& s) {
  EXPECT_EQ(s.StateInt("empty", "Current_Screen"), Screen_Game) << "the fragments still fly";
  EXPECT_EQ(s.StateInt("empty", "Blocks"), 0);
  EXPECT_GT(s.StateInt("empty", "Fragments"), 0);
  EXPECT_EQ(s.StateInt("won", "Current_Screen"), Screen_Victory);
  EXPECT_EQ(s.StateInt("won", "Fragments"), 0);
  int final_time = s.StateInt("won", "Level_Final_Time");
  EXPECT_EQ(final_time, s.StateInt("won", "Level_Elapsed"));
  EXPECT_GT(final_time, s.StateInt("empty", "Level_Elapsed"));
  EXPECT_LT(final_time, s.StateInt("empty", "Level_Elapsed") + 400 * 1000 / 60);
  // Frozen on the victory screen.
  EXPECT_EQ(s.StateInt("later", "Level_Final_Time"), final_time);
  EXPECT_EQ(s.StateInt("later", "Level_Elapsed"), final_time);
}

TEST(LevelSession, MouseDragsSolveLevelOneAndTheFragmentsLeadToVictory) {
  std::vector<Step> steps = LevelOneSolution();
  if (steps.empty()) GTEST_SKIP() << "no shipped solution for level 1";
  DriverSession s;
  std::string script = MouseScript(steps) +
                       "state {dir}/empty\nwait 400\nstate {dir}/won\nsleep 5000\nwait 5\nstate {dir}/later\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();
  ExpectWonAfterTheFragments(s);
  EXPECT_EQ(s.StateInt("won", "Key_Cursor_Mode"), 0);
}

TEST(LevelSession, TheKeyboardSolvesLevelOneAndKeepsKeyboardPlayOnTheVictoryScreen) {
  std::vector<Step> steps = LevelOneSolution();
  if (steps.empty()) GTEST_SKIP() << "no shipped solution for level 1";
  for (const Step& st : steps) {
    ASSERT_NE(st.dir, 'G') << "level 1 starts with a colour already whole; the keyboard has no step for it";
  }
  DriverSession s;
  std::string script = KeyboardScript(steps) +
                       "state {dir}/empty\nwait 400\nstate {dir}/won\nsleep 5000\nwait 5\nstate {dir}/later\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();
  ExpectWonAfterTheFragments(s);
  EXPECT_EQ(s.StateInt("won", "Key_Cursor_Mode"), 1);
}

// The platform's millisecond counter restarts from 0 after about 24.8 days (its top bit is
// cleared). The driver's clock starts at 100000 ms and a frame adds 1000 / 60 ms, so a `sleep`
// of Wrap - 100000 - frames * 1000 / 60 puts the next frame exactly at the restart.
constexpr long long Wrap = 1LL << 31;

TEST(LevelSession, TheGamesTimeRunsOnWhenTheMillisecondCounterRestarts) {
  // A level played across the restart: its clock goes on counting.
  DriverSession level;
  const long long to_restart = Wrap - 100000 - 2 * 1000 / 60 - 10000;   // 10 s before it
  ASSERT_EQ(level.Run("wait 2\nsleep " + std::to_string(to_restart) +
                      "\nwait 1\nlevel 1\nwait 60\nstate {dir}/before\nsleep 20000\nwait 2\nstate {dir}/after\n"),
            0)
      << level.Stderr();
  EXPECT_EQ(level.StateInt("before", "Current_Screen"), Screen_Game);
  int before = level.StateInt("before", "Level_Elapsed");
  EXPECT_GE(before, 900);
  int after = level.StateInt("after", "Level_Elapsed");
  EXPECT_GE(after, before + 20000);
  EXPECT_LE(after, before + 20100);

  // "Play" chosen 100 ms before the restart: its colour flashes out across it, the fragments
  // fly, and the level map opens as always.
  DriverSession menu;
  menu.WriteEnglishProfile();
  const long long to_click = Wrap - 100000 - 2 * 1000 / 60 - 100;
  ASSERT_EQ(menu.Run("wait 2\nstate {dir}/menu\nsleep " + std::to_string(to_click) + "\nclick " +
                     CellCentre(5, 3, Cell) + "\nwait 150\nstate {dir}/chosen\n"),
            0)
      << menu.Stderr();
  EXPECT_EQ(menu.StateInt("menu", "Current_Screen"), Screen_MainMenu);
  EXPECT_EQ(menu.StateInt("chosen", "Current_Screen"), Screen_Level_List);
  EXPECT_EQ(menu.StateInt("chosen", "Fragments"), 0);
}

TEST(LevelSession, TheClockStopsAt99Minutes59AndRestartsWithTheLevelAlsoFromAMenu) {
  DriverSession s;
  int rc = s.Run(
      "wait 1\nlevel 2\nwait 1\nsleep 7200000\nwait 1\nstate {dir}/capped\n"
      "text r\nwait 1\nstate {dir}/restarted\n"
      "key Escape\nwait 1\nsleep 60000\nwait 1\nstate {dir}/menu\n"
      "text r\nwait 1\nstate {dir}/again\n"
      "level 0\n"
      "state {dir}/never\n");
  EXPECT_EQ(rc, 1);
  EXPECT_NE(s.Stderr().find("line 18"), std::string::npos) << s.Stderr();

  EXPECT_EQ(s.StateInt("capped", "Current_Screen"), Screen_Game);
  EXPECT_EQ(s.StateInt("capped", "Level_Index"), 1);
  EXPECT_EQ(s.StateInt("capped", "Level_Elapsed"), 5999000);
  std::string board = s.State("capped")["Board"];

  EXPECT_EQ(s.StateInt("restarted", "Current_Screen"), Screen_Game);
  EXPECT_LT(s.StateInt("restarted", "Level_Elapsed"), 100);
  EXPECT_EQ(s.State("restarted")["Board"], board);

  // Esc leaves for the main menu; the level's clock does not run there.
  EXPECT_EQ(s.StateInt("menu", "Current_Screen"), Screen_MainMenu);
  EXPECT_EQ(s.StateInt("menu", "Level_Elapsed"), s.StateInt("restarted", "Level_Elapsed"));
  int menu_music = s.StateInt("menu", "Music_Index");

  // "r" on the menu goes back into the level, to the music the menu had.
  EXPECT_EQ(s.StateInt("again", "Current_Screen"), Screen_Game);
  EXPECT_EQ(s.StateInt("again", "Level_Index"), 1);
  EXPECT_EQ(s.StateInt("again", "Level_Elapsed"), 0);
  EXPECT_EQ(s.StateInt("again", "Music_Index"), menu_music);
  EXPECT_EQ(s.State("again")["Board"], board);
  EXPECT_TRUE(s.State("never").empty());
}

}  // namespace

// The hint from the start of level 1: the first press thinks, then marks the group, the second
// adds the direction, the third plays the step; undo and the three redo keys; then the hint key
// alone (F1 and "?") plays on to the win, and the victory screen shows the steps against par.
TEST(LevelSession, TheHintKeyAloneWinsLevelOneInParAndRedoStepsForward) {
  DriverSession s;
  s.WriteEnglishProfile();
  std::string script =
      "wait 1\nlevel 1\nwait 2\nstate {dir}/start\n"
      "text ?\nwait 1\nstate {dir}/thinking\nwait 1\nstate {dir}/marked\n"
      "text ?\nwait 2\nstate {dir}/direction\n"
      "text ?\nwait 30\nstate {dir}/played\n"
      "text u\nwait 2\nstate {dir}/undone\nkey Ctrl+y\nwait 2\nstate {dir}/redo_ctrl_y\n"
      "text u\nwait 2\ntext U\nwait 2\nstate {dir}/redo_shift_u\n"
      "text u\nwait 2\nkey Ctrl+Shift+z\nwait 2\nstate {dir}/redo_ctrl_shift_z\n"
      "text u\nwait 2\nkey Ctrl+y\nwait 2\ntext u\nwait 2\ntext ?\nwait 2\ntext ?\nwait 2\n"
      "state {dir}/hint_after_undo\nkey Ctrl+y\nwait 2\nstate {dir}/redo_after_undo\n";
  // Five steps are left, three presses each; a step waits for a colour's flash to end, which
  // still stands in the way.
  for (int press = 0; press < 15; press++) script += press % 2 ? "key F1\nwait 8\n" : "text ?\nwait 8\n";
  script += "wait 400\nstate {dir}/won\nkey Escape\nwait 5\nstate {dir}/menu\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();

  EXPECT_EQ(s.StateInt("start", "Par_Steps"), 6);
  EXPECT_EQ(s.StateInt("start", "Par_Proven"), 1);
  EXPECT_EQ(s.StateInt("start", "Hint_Stage"), 0);
  EXPECT_EQ(s.StateInt("thinking", "Hint_Waiting"), 1);
  EXPECT_EQ(s.StateInt("thinking", "Hint_Stage"), 0);
  EXPECT_EQ(s.StateInt("marked", "Hint_Waiting"), 0);
  EXPECT_EQ(s.StateInt("marked", "Hint_Stage"), 1);
  EXPECT_EQ(s.StateInt("marked", "Hint_Outcome"), 1);
  EXPECT_EQ(s.StateInt("marked", "Hint_Shortest"), 1);
  EXPECT_EQ(s.StateInt("marked", "Hint_Steps_Left"), 6);
  EXPECT_EQ(s.StateInt("direction", "Hint_Stage"), 2);
  EXPECT_EQ(s.State("direction")["Board"], s.State("start")["Board"]) << "showing is not playing";
  // Played as a move of the player's own: counted and recorded, and the next step already known.
  EXPECT_NE(s.State("played")["Board"], s.State("start")["Board"]);
  EXPECT_EQ(s.StateInt("played", "Undo_Count"), 2);
  EXPECT_EQ(s.StateInt("played", "Steps_Played"), 1);
  EXPECT_EQ(s.StateInt("played", "Hint_Stage"), 0);
  EXPECT_EQ(s.StateInt("played", "Hint_Steps_Left"), 5);
  EXPECT_EQ(s.State("undone")["Board"], s.State("start")["Board"]);
  EXPECT_EQ(s.StateInt("undone", "Redo_Steps"), 1);
  for (const char* redone : {"redo_ctrl_y", "redo_shift_u", "redo_ctrl_shift_z", "redo_after_undo"}) {
    EXPECT_EQ(s.State(redone)["Board"], s.State("played")["Board"]) << redone;
    EXPECT_EQ(s.StateInt(redone, "Undo_Count"), 2) << redone;
    EXPECT_EQ(s.StateInt(redone, "Redo_Steps"), 0) << redone;
  }
  // Back at the start through undo the hint searches again; two presses show group and direction.
  EXPECT_EQ(s.StateInt("hint_after_undo", "Hint_Stage"), 2);

  EXPECT_EQ(s.StateInt("won", "Current_Screen"), Screen_Victory);
  EXPECT_EQ(s.StateInt("won", "Level_Final_Steps"), 6);
  std::string lines = s.State("won")["Victory_Lines"];
  EXPECT_NE(lines.find("Steps 6 \u00b7 par 6"), std::string::npos) << lines;
  EXPECT_NE(lines.find("Solved in par!"), std::string::npos) << lines;
  EXPECT_EQ(s.StateInt("won", "Levels_In_Par"), 1);
  EXPECT_EQ(s.StateInt("menu", "Redo_Steps"), 0);
}

// Whole sessions through quark-driver for the level's record: level 1 solved three times (the
// best-scores file, the verdicts, the undo file gone), moves taken back, and a level left by
// closing the window and resumed at the next start with its board and clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver_session.h"
#include "persist/profile.h"

namespace {

// A small play area keeps the software renderer quick: 10 x 8 cells of 32 pixels.
constexpr int Cell = 32;
const char* const Small_Area = "\"Resolution X\" = 384\r\n\"Resolution Y\" = 256\r\n\"Block Size\" = 32\r\n";

struct Move {
  int x, y;
  char dir;   // R, D, L, U, or G (take hold of a colour that is already whole)
};

std::vector<Move> LevelOneSolution() {
  std::ifstream in(std::string(QUARK_SOURCE_DIR) + "/Data/full2.solutions.txt");
  std::string line;
  if (!std::getline(in, line)) return {};
  std::istringstream words(line);
  int index = -1, id = -1, count = 0;
  std::string kind, token;
  words >> index >> id >> count >> kind;
  std::vector<Move> moves;
  while (words >> token && token != "#") {
    if (token.size() != 3) return {};
    moves.push_back({token[0] - '0', token[1] - '0', token[2]});
  }
  return index == 0 ? moves : std::vector<Move>{};
}

std::string Centre(int x, int y) { return std::to_string(x * Cell + Cell / 2) + " " + std::to_string(y * Cell + Cell / 2); }

// Presses on the group, moves the pointer one cell on, lets go, and waits out a colour's flash.
std::string Drag(const Move& m) {
  int dx = m.dir == 'R' ? 1 : m.dir == 'L' ? -1 : 0;
  int dy = m.dir == 'D' ? 1 : m.dir == 'U' ? -1 : 0;
  std::string s = "move " + Centre(m.x, m.y) + "\npress 1\nwait 1\n";
  if (m.dir != 'G') s += "move " + Centre(m.x + dx, m.y + dy) + "\n";
  return s + "wait 1\nrelease 1\nwait 20\n";
}

std::string Play(const std::vector<Move>& moves, int think_ms) {
  std::string s = "level 1\nwait 2\nsleep " + std::to_string(think_ms) + "\n";
  for (const Move& m : moves) s += Drag(m);
  return s + "wait 400\n";   // the last fragments leave, the victory screen opens
}

struct ScoreRecord {
  int Id, Moves, Last, Best;
};
std::vector<ScoreRecord> Records(const std::string& file) {
  auto u16 = [&](size_t at) { return static_cast<uint8_t>(file[at]) | static_cast<uint8_t>(file[at + 1]) << 8; };
  auto i32 = [&](size_t at) { return static_cast<int>(u16(at) | static_cast<unsigned>(u16(at + 2)) << 16); };
  std::vector<ScoreRecord> records;
  for (size_t at = 4; at + 12 <= file.size(); at += 12) records.push_back({u16(at), u16(at + 2), i32(at + 4), i32(at + 8)});
  return records;
}

TEST(ProgressSession, LevelOneSolvedThreeTimesKeepsItsBestAndItsVerdicts) {
  std::vector<Move> moves = LevelOneSolution();
  if (moves.empty()) GTEST_SKIP() << "no shipped solution for level 1";
  int steps = 0;
  for (const Move& m : moves) steps += m.dir != 'G';
  DriverSession s;
  s.WriteEnglishProfile(Small_Area);
  std::string script = "wait 1\n" + Play(moves, 20000) + "state {dir}/first\n" +
                       "wait 30\nstate {dir}/replaying\n" +
                       Play(moves, 0) + "state {dir}/faster\n" + Play(moves, 40000) + "state {dir}/slower\n";
  // The catalogue's first record has identifier 1, so the level map and the file agree.
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();

  EXPECT_EQ(s.StateInt("first", "Current_Screen"), Screen_Victory);
  EXPECT_EQ(s.State("first")["Victory_Lines"].find("- 1 -|Well Done !|Time: 0'2"), 0u) << s.State("first")["Victory_Lines"];
  EXPECT_EQ(s.StateInt("first", "Prev_Best_Time"), 0);
  EXPECT_EQ(s.StateInt("first", "Undo_Count"), 0);
  EXPECT_EQ(s.StateInt("first", "Replay_Count"), steps + 1);
  EXPECT_FALSE(s.UserFileExists("qUaRk_Undo.bin"));
  // The replay rewinds from the last step.
  EXPECT_LT(s.StateInt("replaying", "Replay_Index"), steps);

  const int first_seconds = s.StateInt("first", "Level_Final_Time") / 1000;
  const int faster_seconds = s.StateInt("faster", "Level_Final_Time") / 1000;
  const int slower_seconds = s.StateInt("slower", "Level_Final_Time") / 1000;
  ASSERT_GE(first_seconds, 20);
  ASSERT_LT(faster_seconds, first_seconds);
  ASSERT_GT(slower_seconds, first_seconds);

  EXPECT_EQ(s.State("faster")["Victory_Lines"].find("- 1 -|Congratulations !|New Record !|Time: "), 0u)
      << s.State("faster")["Victory_Lines"];
  EXPECT_EQ(s.StateInt("faster", "Prev_Best_Time"), first_seconds * 1000);
  EXPECT_EQ(s.State("slower")["Victory_Lines"].find("- 1 -|OK ! but...|Time: "), 0u) << s.State("slower")["Victory_Lines"];
  EXPECT_NE(s.State("slower")["Victory_Lines"].find("|Best Time: "), std::string::npos);
  EXPECT_EQ(s.StateInt("slower", "Prev_Best_Time"), faster_seconds * 1000);

  std::string file = DriverSession::ReadFile(s.UserFile("qUaRk_Best_Scores.bin"));
  ASSERT_EQ(file.size(), 16u);
  EXPECT_EQ(file.substr(0, 4), std::string("\x01\x00\x00\x00", 4));
  ScoreRecord r = Records(file)[0];
  EXPECT_EQ(r.Id, 1);
  EXPECT_EQ(r.Moves, steps);
  EXPECT_EQ(r.Last, slower_seconds);
  EXPECT_EQ(r.Best, faster_seconds);
  EXPECT_FALSE(s.UserFileExists("qUaRk_Best_Scores.bin_t"));
}

TEST(ProgressSession, ThreeMovesThenTwoUndosByKeyAndRightClick) {
  std::vector<Move> moves = LevelOneSolution();
  if (moves.size() < 3) GTEST_SKIP() << "no shipped solution for level 1";
  for (int k = 0; k < 3; k++) {
    if (moves[k].dir == 'G') GTEST_SKIP() << "level 1 starts with a colour already whole";
  }
  DriverSession s;
  s.WriteEnglishProfile(Small_Area);
  std::string script = "wait 1\nlevel 1\nwait 2\n" + Drag(moves[0]) + "state {dir}/one\n" + Drag(moves[1]) +
                       Drag(moves[2]) + "state {dir}/three\n" + "text u\nwait 1\n" +
                       "move 100 100\npress 2\nwait 1\nrelease 2\nwait 1\nstate {dir}/undone\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("three", "Undo_Count"), 4);
  EXPECT_EQ(DriverSession::ReadFile(s.UserFile("qUaRk_Undo.bin")).size(), 160u);
  EXPECT_EQ(s.StateInt("undone", "Undo_Count"), 2);
  EXPECT_EQ(s.State("undone")["Board"], s.State("one")["Board"]);
  EXPECT_NE(s.State("three")["Board"], s.State("one")["Board"]);
  EXPECT_EQ(s.StateInt("undone", "Current_Screen"), Screen_Game);
}

TEST(ProgressSession, ALevelLeftByClosingTheWindowResumesWithItsBoardAndClock) {
  std::vector<Move> moves = LevelOneSolution();
  if (moves.size() < 2) GTEST_SKIP() << "no shipped solution for level 1";
  DriverSession s;
  s.WriteEnglishProfile(Small_Area);
  std::string first = "wait 1\nlevel 1\nwait 2\nsleep 30000\n" + Drag(moves[0]) + Drag(moves[1]) +
                      "state {dir}/left\nclose\nwait 1\n";
  ASSERT_EQ(s.Run(first), 0) << s.Stderr();
  ASSERT_TRUE(s.UserFileExists("qUaRk_Undo.bin"));
  // Ten minutes later, Enter on the main menu takes the saved game up again.
  std::string second = "sleep 600000\nwait 2\nstate {dir}/menu\nkey Return\nwait 1\nstate {dir}/resumed\n";
  ASSERT_EQ(s.Run(second), 0) << s.Stderr();

  EXPECT_EQ(s.StateInt("menu", "Current_Screen"), Screen_MainMenu);
  EXPECT_EQ(s.StateInt("menu", "Undo_Count"), s.StateInt("left", "Undo_Count"));
  EXPECT_EQ(s.StateInt("resumed", "Current_Screen"), Screen_Game);
  EXPECT_EQ(s.StateInt("resumed", "Level_Index"), 0);
  EXPECT_EQ(s.StateInt("resumed", "Undo_Count"), s.StateInt("left", "Undo_Count"));
  EXPECT_EQ(s.State("resumed")["Board"], s.State("left")["Board"]);
  int left = s.StateInt("left", "Level_Elapsed");
  int resumed = s.StateInt("resumed", "Level_Elapsed");
  EXPECT_GE(left, 30000);
  EXPECT_GE(resumed, left);
  EXPECT_LE(resumed, left + 100) << "the time away from the level does not count";
}

std::string Le16(int v) { return {static_cast<char>(v & 255), static_cast<char>((v >> 8) & 255)}; }
std::string Le32(int v) { return Le16(v & 0xffff) + Le16((v >> 16) & 0xffff); }

// The files a full disk or a kill leave around a win, and what the next start makes of them:
// the win is entered once, with the time it was won in, and the empty board it left behind is
// never won a second time.
TEST(ProgressSession, AWinIsEnteredOnceWithItsOwnTimeAfterAFullDiskOrAKill) {
  std::vector<Move> moves = LevelOneSolution();
  if (moves.empty()) GTEST_SKIP() << "no shipped solution for level 1";
  int steps = 0;
  for (const Move& m : moves) steps += m.dir != 'G';
  std::string catalogue = DriverSession::ReadFile(std::string(QUARK_SOURCE_DIR) + "/Data/full2.lvl");
  ASSERT_GE(catalogue.size(), 404u);
  const std::string level_one = catalogue.substr(4, 80);
  const std::string empty_board(80, '\0');
  const std::string won_history = level_one + empty_board;
  const std::string record_37 = Le16(1) + Le16(0) + Le16(1) + Le16(1) + Le32(37) + Le32(0);
  const std::string entry_37 = Le16(1) + Le16(1) + Le32(37000);
  // The profile as the quit before the kill left it: level 1 at 5 seconds.
  const std::string profile = std::string(Small_Area) + "\"Current Level Info\" = " +
                              std::to_string(PackLevelInfo(0, 5000)) + "\r\n";
  const struct {
    const char* Name;
    std::string Win_File, Best_Scores;   // "" for none
    int Recorded_Seconds;                // -1: no record afterwards
  } cases[] = {
      {"killed between the winning move and the scores", entry_37, "", 37},
      {"killed after the scores, before the history went", entry_37, record_37, 37},
      {"killed after the scores and their entry went", "", record_37, 37},
      {"a damaged history that ends on an empty board", "", "", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    DriverSession s;
    s.WriteEnglishProfile(profile);
    s.WriteUserFile("qUaRk_Undo.bin", won_history);
    if (!c.Win_File.empty()) s.WriteUserFile("qUaRk_Win.bin", c.Win_File);
    if (!c.Best_Scores.empty()) s.WriteUserFile("qUaRk_Best_Scores.bin", c.Best_Scores);
    ASSERT_EQ(s.Run("wait 2\nstate {dir}/start\nkey Return\nwait 2\nstate {dir}/after\n"), 0) << s.Stderr();
    const std::string scores = DriverSession::ReadFile(s.UserFile("qUaRk_Best_Scores.bin"));
    if (c.Recorded_Seconds < 0) {
      EXPECT_EQ(s.StateInt("start", "Best_Count"), 0);
    } else {
      ASSERT_EQ(scores.size(), 16u);
      ScoreRecord r = Records(scores)[0];
      EXPECT_EQ(r.Id, 1);
      EXPECT_EQ(r.Last, c.Recorded_Seconds);
      EXPECT_EQ(r.Best, 0) << "entered once only";
    }
    EXPECT_FALSE(s.UserFileExists("qUaRk_Win.bin"));
    EXPECT_EQ(s.StateInt("start", "Undo_Count"), 0) << "the won history is gone";
    // Enter on the main menu starts a level: the first one without a record.
    EXPECT_EQ(s.StateInt("after", "Current_Screen"), Screen_Game);
    EXPECT_EQ(s.StateInt("after", "Level_Index"), c.Recorded_Seconds < 0 ? 0 : 1);
    EXPECT_EQ(s.StateInt("after", "Undo_Count"), 1);
    EXPECT_EQ(s.State("after")["Effect_Victory"], "0");
  }

  // A full disk at the win: the player is told once, the history and the win's entry stay,
  // and the next start that can write enters the win with the time it was won in.
  DriverSession s;
  s.WriteEnglishProfile(Small_Area);
  std::filesystem::create_directories(s.UserFile("qUaRk_Best_Scores.bin_t") + "/in the way");
  ASSERT_EQ(s.Run("wait 1\n" + Play(moves, 20000) + "state {dir}/won\nclose\nwait 1\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("won", "Current_Screen"), Screen_Victory);
  const std::string message = "Can't write " + s.UserFile("qUaRk_Best_Scores.bin");
  const std::string said = s.Stderr();
  ASSERT_NE(said.find(message), std::string::npos) << said;
  EXPECT_EQ(said.find(message, said.find(message) + 1), std::string::npos) << said;
  EXPECT_FALSE(s.UserFileExists("qUaRk_Best_Scores.bin"));
  const std::string history = DriverSession::ReadFile(s.UserFile("qUaRk_Undo.bin"));
  ASSERT_EQ(history.size(), static_cast<size_t>(steps + 1) * 80);
  EXPECT_EQ(history.substr(history.size() - 80), empty_board);
  const int final_ms = s.StateInt("won", "Level_Final_Time");
  EXPECT_EQ(DriverSession::ReadFile(s.UserFile("qUaRk_Win.bin")), Le16(1) + Le16(steps) + Le32(final_ms));

  std::filesystem::remove_all(s.UserFile("qUaRk_Best_Scores.bin_t"));
  ASSERT_EQ(s.Run("wait 2\nstate {dir}/start\nkey Return\nwait 2\nstate {dir}/after\n"), 0) << s.Stderr();
  const std::vector<ScoreRecord> records = Records(DriverSession::ReadFile(s.UserFile("qUaRk_Best_Scores.bin")));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Id, 1);
  EXPECT_EQ(records[0].Moves, steps);
  EXPECT_EQ(records[0].Last, final_ms / 1000);
  EXPECT_FALSE(s.UserFileExists("qUaRk_Win.bin"));
  EXPECT_EQ(s.StateInt("after", "Current_Screen"), Screen_Game);
  EXPECT_EQ(s.StateInt("after", "Level_Index"), 1);
}

}  // namespace

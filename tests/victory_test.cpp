// The victory screen: the lines of each verdict and where they stand, the slide-in and the
// sway, the replay's order and holds (also of an empty or damaged history), leaving, and the
// four verdicts read off the driver's screenshots: every line against what lies behind it.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/driver_session.h"
#include "tests/level_solutions.h"
#include "tests/shot_pixels.h"

#include "app/sidebar.h"
#include "app/state.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "fx/victory.h"
#include "i18n/language.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "platform/headless.h"
#include "tests/board_fixture.h"
#include "tests/file_faults.h"

namespace {

using Rows = std::vector<std::string>;

class Victory : public BoardTest {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    if (!Official_Bank) LoadCatalogue(u"incbin::Data/full2.lvl");
    LoadLanguage(u"incbin::Data/qUaRk_text_EN.txt");
  }
  static void TearDownTestSuite() { Text_List.clear(); }
  void SetUp() override {
    BoardTest::SetUp();
    OpenDisplay(Default_Display_Size.Width, Default_Display_Size.Height, 0, 60);
    if (!Font_Main) Font_Main = LoadFont(u"incbin::Data/a2.ttf", 47);
    InitIcons();
    Saved_Files[0] = Undo_File;
    Saved_Files[1] = Best_Scores_File;
    Undo_File = Folder.File("qUaRk_Undo.bin");
    Best_Scores_File = Folder.File("qUaRk_Best_Scores.bin");
    LinkBestScores();   // no file: no level solved
    SetCurrentScreen(Screen_Victory);
    Level_Index = 0;
  }
  void TearDown() override {
    Undo_File = Saved_Files[0];
    Best_Scores_File = Saved_Files[1];
    Prev_Best_Time = 0;
    Victory_Lines.clear();
    BoardTest::TearDown();
  }

  // A history of pictures written as the undo file.
  void WriteHistory(const std::vector<Rows>& steps, const std::string& tail = "") const {
    std::string bytes;
    for (const Rows& rows : steps) {
      for (const std::string& row : rows) {
        for (char c : row) bytes += c == '.' ? '\0' : static_cast<char>(c - '0' + 1);
      }
    }
    WriteWhole(Undo_File, bytes + tail);
  }
  // Runs the replay until its next step is due and takes it; returns the board then and the
  // time until the step after.
  std::pair<Rows, int64_t> NextReplayStep() {
    if (Replay_Deadline != 0) Now = Replay_Deadline + 1;
    UpdateVictory();
    return {Picture(), Replay_Deadline - Now};
  }

  ScratchFolder Folder;
  String Saved_Files[2];
};

const Rows Empty(Board_Height, std::string(Board_Width, '.'));
const Rows Step0 = {"0.........", "..........", "..........", "..........",
                    "..........", "..........", "..........", ".........1"};
const Rows Step1 = {".0........", "..........", "..........", "..........",
                    "..........", "..........", "..........", ".........1"};
const Rows Step2 = {"..0.......", "..........", "..........", "..........",
                    "..........", "..........", "..........", ".........1"};

TEST_F(Victory, EachVerdictHasItsLinesRowsAndColours) {
  struct Line {
    const char* Text;
    int Row;      // in steps below the title
    int Colour;
  };
  const struct {
    const char* Name;
    int Level;
    int64_t Final, Prev;
    std::vector<Line> Lines;
  } cases[] = {
      {"a new record", 0, 83000, 90000,
       {{"- 1 -", 0, 0}, {"Congratulations !", 1, 3}, {"New Record !", 2, 3}, {"Time: 1'23\"", 3, 0},
        {"Old Record: 1'30\"", 5, 0}}},
      {"slower", 6, 95400, 90000,
       {{"- 7 -", 0, 0}, {"OK ! but...", 2, 2}, {"Time: 1'35\"", 3, 0}, {"Best Time: 1'30\"", 4, 0}}},
      {"the same time", 0, 90000, 90000,
       {{"- 1 -", 0, 0}, {"OK ! but...", 2, 2}, {"Time: 1'30\"", 3, 0}, {"Old Record: 1'30\"", 5, 0}}},
      {"a first solution", 0, 61000, 0, {{"- 1 -", 0, 0}, {"Well Done !", 2, 2}, {"Time: 1'01\"", 3, 0}}},
      {"no catalogue level", -1, 5000, 0, {{"Random Level", 0, 0}, {"Well Done !", 2, 2}, {"Time: 0'05\"", 3, 0}}},
      {"an index the catalogue lacks", 9000, 5000, 0,
       {{"Random Level", 0, 0}, {"Well Done !", 2, 2}, {"Time: 0'05\"", 3, 0}}},
  };
  // At W = 804 and B = 74 a step is 47 pixels and the title's top is at 249.
  const int step = 47, top = 249;
  Now = 500000;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Level_Index = c.Level;
    Level_Final_Time = c.Final;
    Prev_Best_Time = c.Prev;
    SetUpVictory();
    ASSERT_EQ(Victory_Lines.size(), c.Lines.size());
    auto line = Victory_Lines.begin();
    SetFont(Font_Main);
    for (const Line& want : c.Lines) {
      EXPECT_EQ(ToUtf8(line->Text), want.Text);
      EXPECT_EQ(line->cY, top + want.Row * step) << want.Text;
      EXPECT_EQ(line->Color, want.Colour) << want.Text;
      EXPECT_EQ(line->Mode, 3);
      EXPECT_EQ(line->Timer, Now + 3000);
      EXPECT_EQ(line->vX, 23.0f);
      EXPECT_EQ(line->cX, (740 - TextWidth(line->Text)) / 2) << want.Text;
      ++line;
    }
    SetFont(nullptr);
  }
}

TEST_F(Victory, LinesSlideInFromTheRightThenSway) {
  const int64_t t = 100000;
  Now = t;
  T_VICTORY_LINE* line = T_VICTORY_LINE::Add(u"Well Done !", 3, 249, 0, 2);
  const int place = line->cX;
  line->vX = 0;   // the slide alone
  const struct {
    int64_t At;
    int X;
    int Mode;
  } slide[] = {{t, place + 804, 3}, {t + 1500, place + 402, 3}, {t + 2999, place, 3}, {t + 3000, place, 2}};
  for (const auto& s : slide) {
    Now = s.At;
    EXPECT_EQ(line->PlaceX(), s.X) << s.At - t;
    EXPECT_EQ(line->Mode, s.Mode) << s.At - t;
  }
  EXPECT_EQ(line->Timer, 0);

  // The sway: 23 pixels at W = 804, one swing per 1440 ms, its phase set by the line's height.
  line->vX = 23;
  const struct {
    int64_t At;
    int Offset;
  } sway[] = {{100164, 23}, {100164 + 720, -23}, {100164 + 1440, 23}, {100164 + 360, 0}};
  for (const auto& s : sway) {
    Now = s.At;
    EXPECT_EQ(line->PlaceX() - place, s.Offset) << s.At;
  }
}

TEST_F(Victory, TheReplayRewindsHoldsPlaysForwardAndShowsTheEmptyBoard) {
  WriteHistory({Step0, Step1, Step2});
  Now = 200000;
  SetUpVictory();
  ASSERT_EQ(Replay_Count, 3);
  const std::pair<Rows, int64_t> expected[] = {
      {Step2, 50}, {Step1, 50}, {Step0, 1000},                 // backward to the start, held
      {Step0, 50}, {Step1, 50}, {Step2, 50}, {Empty, 1000},    // forward, then the empty board
      {Step2, 50}, {Step1, 50}, {Step0, 1000},                 // and over again
  };
  int n = 0;
  for (const auto& want : expected) {
    auto got = NextReplayStep();
    EXPECT_EQ(got, want) << "step " << n++;
  }
  // Nothing happens before a step is due.
  Rows shown = Picture();
  Now = Replay_Deadline;
  UpdateVictory();
  EXPECT_EQ(Picture(), shown);
}

TEST_F(Victory, AReplayWithNoOrDamagedStepsNeverLeavesTheRecordedOnes) {
  // No history at all: the replay shows the empty board in turn with itself.
  DeleteFile(Undo_File);
  Now = 300000;
  SetUpVictory();
  EXPECT_EQ(Replay_Count, 0);
  for (int k = 0; k < 8; k++) {
    Lay(Step1);
    NextReplayStep();
    EXPECT_EQ(Picture(), Empty) << k;
    EXPECT_GE(Replay_Index, -1);
    EXPECT_LE(Replay_Index, 0);
  }
  for (int i : {-1, 0, 1, 1000000}) {
    Lay(Step1);
    ShowReplayStep(i);
    EXPECT_EQ(Picture(), Empty) << i;
  }

  // Cells no move writes show empty; the part of a step after the last whole one is no step.
  std::string bad(80, '\0');
  bad[0] = 7;
  bad[1] = 2;
  bad[2] = static_cast<char>(200);
  bad[79] = 44;
  WriteHistory({Step0});
  WriteWhole(Undo_File, ReadWhole(Undo_File) + bad + std::string(50, '\3'));
  SetUpVictory();
  EXPECT_EQ(Replay_Count, 2);
  ShowReplayStep(1);
  EXPECT_EQ(Picture(), Rows({".1........", "..........", "..........", "..........", "..........", "..........",
                             "..........", ".........."}));
  ShowReplayStep(2);
  EXPECT_EQ(Picture(), Empty);
}

TEST_F(Victory, AClickOrASpaceLeavesAtOnce) {
  const struct {
    const char* Name;
    int Hit, Key, Cursor;
    int Screen;
  } cases[] = {
      {"a click", 1, 0, 0, Screen_Level_List},
      {"a space", 0, ' ', 0, Screen_Level_List},
      {"a space in keyboard play", 0, ' ', 1, Screen_Game},
      {"another key", 0, 'x', 0, Screen_Victory},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetCurrentScreen(Screen_Victory);
    Level_Index = 4;
    Now = 400000;
    SetUpVictory();
    Now += 16;   // still sliding in
    Mouse_Hit = c.Hit;
    Key_Char = c.Key;
    Key_Cursor_Mode = c.Cursor;
    UpdateVictory();
    EXPECT_EQ(Current_Screen, c.Screen);
    // Keyboard play goes on with the first level without a record.
    if (c.Screen == Screen_Game) {
      EXPECT_EQ(Level_Index, 0);
    }
    Mouse_Hit = 0;
    Key_Char = 0;
  }
}

// Each line of a victory screen as the driver drew it (where, in which colour: the state dump's
// Victory_Line_Places), against the pixels around its letters: the contrast that 95 % of those
// pixels reach at least (a stray sparkle must not decide).
struct LineContrast {
  std::string Text;
  double Contrast;
};

std::vector<LineContrast> VerdictContrasts(const std::string& shot, const std::map<std::string, std::string>& state) {
  std::vector<LineContrast> out;
  if (!ShowShot(shot)) return out;
  std::vector<std::string> texts;
  std::stringstream names(state.at("Victory_Lines"));
  for (std::string t; std::getline(names, t, '|');) texts.push_back(t);
  std::stringstream places(state.at("Victory_Line_Places"));
  for (size_t i = 0; i < texts.size(); i++) {
    int x, y, w, h, r, g, b;
    char bar;
    places >> x >> y >> w >> h >> r >> g >> b;
    if (i + 1 < texts.size()) places >> bar;
    const int colour = r << 16 | g << 8 | b;
    // The letters: pixels within a quarter of the line's colour.
    const int x0 = std::max(0, x - 8), y0 = std::max(0, y - 8), x1 = std::min(740, x + w + 8), y1 = std::min(592, y + h + 8);
    const int cols = x1 - x0, rows = y1 - y0;
    std::vector<int> pixel(cols * rows), letter(cols * rows);
    for (int py = 0; py < rows; py++) {
      for (int px = 0; px < cols; px++) {
        const int p = ReadPixel(x0 + px, y0 + py);
        pixel[py * cols + px] = p;
        int far = 0;
        for (int shift : {16, 8, 0}) far = std::max(far, std::abs(((p >> shift) & 255) - ((colour >> shift) & 255)));
        letter[py * cols + px] = far <= 64;
      }
    }
    // What lies behind them: the pixels two and three steps from a letter, past the letters'
    // own smoothed edge.
    std::vector<double> ratios;
    for (int py = 0; py < rows; py++) {
      for (int px = 0; px < cols; px++) {
        if (letter[py * cols + px]) continue;
        int nearest = 99;
        for (int dy = -3; dy <= 3; dy++) {
          for (int dx = -3; dx <= 3; dx++) {
            const int qx = px + dx, qy = py + dy;
            if (qx < 0 || qy < 0 || qx >= cols || qy >= rows || !letter[qy * cols + qx]) continue;
            nearest = std::min(nearest, std::max(std::abs(dx), std::abs(dy)));
          }
        }
        if (nearest == 2 || nearest == 3) ratios.push_back(ContrastRatio(colour, pixel[py * cols + px]));
      }
    }
    std::sort(ratios.begin(), ratios.end());
    out.push_back({texts[i], ratios.empty() ? 0 : ratios[ratios.size() / 20]});
  }
  return out;
}

TEST(VictorySession, EveryVerdictLineStandsOutFromWhatLiesBehindIt) {
  const std::vector<SolutionStep> steps = ShippedSolution(0);
  if (steps.empty()) GTEST_SKIP() << "no shipped solution for level 1";
  // Level 1 played with `pause` ms of thought, then the screen once the lines have slid in.
  auto play = [&](int pause, const std::string& name) {
    return "wait 1\nlevel 1\nwait 2\nsleep " + std::to_string(pause) + "\nwait 1\n" + MouseSolutionScript(steps, 74) +
           "wait 400\nsleep 3100\nwait 2\nshot {dir}/" + name + ".png\nstate {dir}/" + name + "\n";
  };
  // A pause that makes the time whole seconds, so that playing it again ties the record exactly
  // (the record is kept in seconds, the time in milliseconds).
  int pause = 0, final_time = 1;
  for (int attempt = 0; attempt < 8 && final_time % 1000 != 0; attempt++) {
    DriverSession probe;
    probe.WriteEnglishProfile();
    ASSERT_EQ(probe.Run(play(pause, "probe")), 0) << probe.Stderr();
    final_time = probe.StateInt("probe", "Level_Final_Time");
    ASSERT_GT(final_time, 0);
    if (final_time % 1000 != 0) pause += 1000 - final_time % 1000;
  }
  ASSERT_EQ(final_time % 1000, 0) << "no pause gives a time of whole seconds";

  DriverSession s;
  const struct {
    const char* Name;
    int Pause;
    std::vector<std::string> Lines;   // how the lines after the title begin, the steps against par last
  } plays[] = {
      {"first", pause, {"Well Done !", "Time: ", "Steps 6 \u00b7 par 6", "Solved in par!"}},
      {"equal", pause, {"OK ! but...", "Time: ", "Old Record: ", "Steps 6 \u00b7 par 6", "Solved in par!"}},
      {"slower", pause + 2000, {"OK ! but...", "Time: ", "Best Time: ", "Steps 6 \u00b7 par 6", "Solved in par!"}},
      // No row is left for the words of the verdict in par: the steps glow as one.
      {"record", 0, {"Congratulations !", "New Record !", "Time: ", "Old Record: ", "Steps 6 \u00b7 par 6"}},
  };
  for (const auto& p : plays) {
    SCOPED_TRACE(p.Name);
    s.WriteEnglishProfile();
    ASSERT_EQ(s.Run(play(p.Pause, p.Name)), 0) << s.Stderr();
    const auto state = s.State(p.Name);
    ASSERT_EQ(state.at("Current_Screen"), "43");
    const std::vector<LineContrast> lines = VerdictContrasts(s.Root + "/" + p.Name + ".png", state);
    ASSERT_EQ(lines.size(), 1 + p.Lines.size());
    for (size_t k = 0; k < p.Lines.size(); k++) EXPECT_EQ(lines[1 + k].Text.rfind(p.Lines[k], 0), 0u) << lines[1 + k].Text;
    for (const LineContrast& line : lines) {
      EXPECT_GE(line.Contrast, 4.5) << "\"" << line.Text << "\"";
    }
  }
}

}  // namespace

// The tutorial without a window: the hand's timing and the hint's slide, the whole script run
// frame by frame through the board rules to the main menu, the player's clicks withheld from
// the board, the demonstrated undo with an empty cell, and what ends a hint's wait.
#include <set>
#include <string>
#include <vector>

#include "tests/driver_session.h"

#include "app/assets.h"
#include "app/display.h"
#include "app/sidebar.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "fx/text_layout.h"
#include "i18n/language.h"
#include "platform/headless.h"
#include "tests/board_fixture.h"
#include "ui/menu.h"
#include "ui/menu_table.h"
#include "ui/tutorial.h"

namespace {

using Picture_t = std::vector<std::string>;

struct Hint {
  String Text;
  Picture_t Board;
  int Hand_Cell_X, Hand_Cell_Y;   // where the hand rests while the hint waits
};

class Tutorial : public BoardTest {
 protected:
  static void SetUpTestSuite() { EnterHeadlessMode(); }
  void SetUp() override {
    BoardTest::SetUp();
    InitIcons();
    PollSystemEvents();
    FlushKeys();
  }
  void TearDown() override { BoardTest::TearDown(); }

  // One frame as the frame loop runs it, the player's pointer at (px, py) in board pixels.
  static void Frame(int px = 5, int py = 5, int hit = 0, int down = 0) {
    Now += 16;
    PollSystemEvents();
    Mouse_X = px;
    Mouse_Y = py;
    Mouse_Hit = hit;
    Mouse_Down = down;
    UpdateSideBar();
    if (Current_Screen == Screen_Tutorial) {
      TutorialGate();
      TutorialStep();
    }
    UpdateBoardScreen();
    RemoveExpiredBlocks(Now);
  }

  static bool HintArrived() { return Tutorial_Waiting == 1 && Tutorial_Wait_Start == 0; }

  // Frames until the next hint has arrived (or the tutorial is over); false when it never came.
  static bool RunToHint(int cap = 20000) {
    for (int i = 0; i < cap && Current_Screen == Screen_Tutorial; i++) {
      if (HintArrived()) return true;
      Frame();
    }
    return false;
  }

  // The whole script from its start, each hint recorded when it has arrived and dismissed by a
  // click on the board. With `stray`, the player also clicks and holds on the blocks while the
  // hand works, and on the side bar (a click while a hint waits would dismiss it, sliding or not).
  static std::vector<Hint> RunWholeScript(bool stray, int* held_by_player = nullptr) {
    GotoScreen(Screen_Tutorial);
    std::vector<Hint> hints;
    if (held_by_player) *held_by_player = 0;
    for (int frame = 0; frame < 40000 && Current_Screen == Screen_Tutorial; frame++) {
      if (HintArrived()) {
        hints.push_back({Info_Text, Picture(), Tutorial_Hand_X / Block_Size, Tutorial_Hand_Y / Block_Size});
        Frame(300, 300, 1, 1);
      } else if (stray && Tutorial_Waiting == 0 && frame % 5 == 0) {
        int cell = frame / 5 % 80;
        Frame((cell % 10) * Block_Size + 30, (cell / 10) * Block_Size + 30, 1, 1);
      } else if (stray && Tutorial_Waiting == 0 && frame % 5 == 2) {
        // A click on the side bar's empty slot works the side bar, never the board under the hand.
        Frame(10 * Block_Size + 20, Block_Size + 20, 1, 1);
      } else if (stray && Tutorial_Waiting == 0 && frame % 5 != 4) {
        Frame((frame % 10) * Block_Size + 30, 200, 0, 1);
      } else {
        Frame();
      }
      // Only the hand holds blocks: a group held while the hand is open was taken by the player.
      if (held_by_player && Current_Screen == Screen_Tutorial && Tutorial_Hand_Pressed == 0 && Grabbed_Block) {
        ++*held_by_player;
      }
    }
    return hints;
  }

  static Picture_t Moved(Picture_t p, int x1, int y1, int x2, int y2) {
    p[y2][x2] = p[y1][x1];
    p[y1][x1] = '.';
    return p;
  }
};

TEST(TutorialMath, InterpolateTruncatesTowardZeroIn64Bits) {
  struct Case {
    int a, b;
    int64_t d, t;
    int expected;
  } cases[] = {
      {0, 100, 1000, 500, 50},       {100, 0, 1000, 500, 50},   {10, 0, 3, 1, 7},   // -3.33 gives -3
      {0, 10, 3, 1, 3},              {592, 380, 1000, 0, 592},   {592, 380, 1000, 1000, 380},
      {0, 2000000, 1000000000, 999999999, 1999999},   // the product needs 64 bits
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Interpolate(c.a, c.b, c.d, c.t), c.expected) << c.a << " " << c.b << " " << c.d << " " << c.t;
  }
}

TEST_F(Tutorial, TheFirstMoveLasts1770msAtCell96AndTheHintSlidesIn) {
  Block_Size = 96;
  Half_Block = 48;
  Resolution_X = 1024;
  Resolution_Y = 768;
  Now = 50000;
  TutorialStart();
  EXPECT_EQ(Tutorial_Hand_X, 336);
  EXPECT_EQ(Tutorial_Hand_Y, 912);
  TutorialStep();   // the first step is read in the first frame
  EXPECT_EQ(Tutorial_Step_Length, 1770);   // 885 pixels at half a pixel per millisecond
  EXPECT_EQ(Tutorial_To_X, 912);
  EXPECT_EQ(Tutorial_To_Y, 240);
  EXPECT_EQ(Mouse_Down, 0);

  struct Row {
    int64_t at;
    int hand_x, hand_y, waiting, text_y;
  } rows[] = {
      {885, 624, 576, 0, 490},       // halfway
      {1769, 911, 241, 0, 490},      // the hand never quite lands (truncated toward zero): the
                                     // next step starts from here
      {1770, 911, 241, 1, 768},      // the hint is read: it starts at the bottom of the play area
      {1770 + 500, 911, 241, 1, 629},
      {1770 + 1000, 911, 241, 1, 490},
      {1770 + 1001, 911, 241, 1, 490},
  };
  for (const Row& r : rows) {
    Now = 50000 + r.at;
    TutorialStep();
    EXPECT_EQ(Tutorial_Hand_X, r.hand_x) << r.at;
    EXPECT_EQ(Tutorial_Hand_Y, r.hand_y) << r.at;
    EXPECT_EQ(Tutorial_Waiting, r.waiting) << r.at;
    EXPECT_EQ(Tutorial_Text_Y, r.text_y) << r.at;
  }
  EXPECT_EQ(Info_Text, Translate(u"Tuto0"));
  EXPECT_EQ(Tutorial_Wait_Start, 0) << "arrived";
}

TEST_F(Tutorial, TheScriptRunsToTheMainMenuAndEmptiesTheBoard) {
  Sound_Flag = 0;
  std::vector<Hint> hints = RunWholeScript(false);
  const char16_t* const keys[] = {u"Tuto0", u"Tuto1", u"Tuto3", u"Tuto2", u"Tuto4", u"Tuto6", u"Tuto7"};
  ASSERT_EQ(hints.size(), std::size(keys));
  for (size_t i = 0; i < hints.size(); i++) EXPECT_EQ(hints[i].Text, Translate(keys[i])) << i;
  // The starting board of 18 blocks stands until the first demonstration.
  EXPECT_EQ(hints[0].Board, (Picture_t{"..........", ".015.1015.", "..5..5110.", ".150..0...",
                                      "..0..5....", "..........", "..........", ".........."}));
  EXPECT_EQ(hints[1].Board, hints[0].Board);

  // By the last hint every colour has burst.
  EXPECT_EQ(hints.back().Board, Picture_t(8, ".........."));
  EXPECT_EQ(Current_Screen, Screen_MainMenu);
  EXPECT_EQ(Tutorial_Active, 0);
  EXPECT_EQ(Music_Index, 1);
}

// While a hint waits, the hand taps where it covers none of the hint's lines: in every
// language, at every size of the size table.
TEST_F(Tutorial, TheWaitingHandCoversNoTextOfTheHint) {
  Sound_Flag = 0;
  RegisterEmbeddedData();
  SetFallbackFont(u"incbin::Data/cjk_fallback.ttf");
  const std::vector<Hint> hints = RunWholeScript(false);
  const char16_t* const keys[] = {u"Tuto0", u"Tuto1", u"Tuto3", u"Tuto2", u"Tuto4", u"Tuto6", u"Tuto7"};
  ASSERT_EQ(hints.size(), std::size(keys));
  const int saved[] = {Block_Size, Half_Block, Resolution_X, Resolution_Y, Font_Line_Height};
  for (const DisplaySize& size : Display_Sizes) {
    Block_Size = size.Cell;
    Half_Block = size.Cell / 2;
    Resolution_X = size.Width;
    Resolution_Y = size.Height;
    Font_Line_Height = Resolution_X * 45 / 1024 + Resolution_Y / 100;
    Font* font = LoadFont(u"incbin::Data/a2.ttf", Resolution_X * 45 / 1024);
    ASSERT_NE(font, nullptr);
    for (const char* code : {"FR", "EN", "NL", "PT", "ES", "PL", "DE", "HU", "IT", "CN", "HE", "BG", "SV", "ZA", "RO"}) {
      ASSERT_EQ(LoadLanguage(FromLatin1(std::string(QUARK_SOURCE_DIR) + "/Data/qUaRk_text_" + code + ".txt")), 1);
      SetFont(font);
      for (size_t i = 0; i < hints.size(); i++) {
        SCOPED_TRACE(std::string(code) + " hint " + std::to_string(i) + " at " + std::to_string(size.Width));
        const int tip_x = hints[i].Hand_Cell_X * Block_Size + Half_Block;
        const int tip_y = hints[i].Hand_Cell_Y * Block_Size + Half_Block;
        WrapText(Translate(keys[i]), 10 * Block_Size - 10);
        for (int k = 1; k < Text_Line_Count - 1; k++) {
          const int w = TextWidth(Text_Lines[k]);
          const int x = (10 + 10 * Block_Size) / 2 - w / 2;
          const int y = TutorialHintRest() + (k - 1) * Font_Line_Height;
          // The line with its shadow, 4 pixels right and down, against the hand's picture.
          const bool apart = x + w + 4 <= tip_x - Hand_Extent.Left || tip_x + Hand_Extent.Right <= x ||
                             y + TextHeight(Text_Lines[k]) + 4 <= tip_y - Hand_Extent.Up ||
                             tip_y + Hand_Extent.Down <= y;
          EXPECT_TRUE(apart) << "line " << k << ": " << ToUtf8(Text_Lines[k]);
        }
      }
      SetFont(nullptr);
    }
    FreeFont(font);
  }
  Block_Size = saved[0], Half_Block = saved[1], Resolution_X = saved[2], Resolution_Y = saved[3];
  Font_Line_Height = saved[4];
  SetFallbackFont(u"");
  Text_List.clear();
}

TEST_F(Tutorial, ThePlayersClicksOnTheBoardChangeNothingWhileTheHandWorks) {
  Sound_Flag = 0;
  int held_calm = 0, held_busy = 0;
  std::vector<Hint> calm = RunWholeScript(false, &held_calm);
  std::vector<Hint> busy = RunWholeScript(true, &held_busy);
  EXPECT_EQ(held_calm, 0);
  EXPECT_EQ(held_busy, 0);
  ASSERT_EQ(busy.size(), calm.size());
  for (size_t i = 0; i < calm.size(); i++) EXPECT_EQ(busy[i].Board, calm[i].Board) << "hint " << i;
}

TEST_F(Tutorial, TheDemonstratedUndoMovesBlocksBackAndSkipsAnEmptyCell) {
  for (bool emptied : {false, true}) {
    GotoScreen(Screen_Tutorial);
    for (int hint = 0; hint < 4; hint++) {
      ASSERT_TRUE(RunToHint());
      if (hint < 3) Frame(300, 300, 1, 1);
    }
    ASSERT_EQ(Info_Text, Translate(u"Tuto2"));
    Picture_t board = Picture();
    if (emptied) {
      // The block the first jump would take back is gone: the icon still lights, nothing moves.
      ASSERT_NE(board[3][8], '.');
      board[3][8] = '.';
      std::vector<std::string> rows = board;
      Lay(rows);
    }
    Frame(300, 300, 1, 1);
    std::vector<Picture_t> after_jumps;
    std::vector<int> hand_x;
    int lit = 0;
    for (int i = 0; i < 2000 && !HintArrived(); i++) {
      Frame();
      if (Icons[0]->State == 2 && lit == 0) {
        after_jumps.push_back(Picture());
        hand_x.push_back(Tutorial_Hand_X);
      }
      lit = Icons[0]->State == 2;
    }
    ASSERT_EQ(after_jumps.size(), 3u) << "emptied " << emptied;
    Picture_t first = emptied ? board : Moved(board, 8, 3, 7, 3);
    Picture_t second = emptied ? board : Moved(first, 7, 3, 6, 3);
    EXPECT_EQ(after_jumps[0], first) << "emptied " << emptied;
    EXPECT_EQ(after_jumps[1], second) << "emptied " << emptied;
    EXPECT_EQ(after_jumps[2], Moved(second, 5, 2, 5, 1)) << "emptied " << emptied;
    // The hand presses the undo icon in the side bar; the icon goes back to normal afterwards.
    for (int x : hand_x) EXPECT_GT(x, 10 * Block_Size) << "emptied " << emptied;
    EXPECT_EQ(Icons[0]->State, 1);
    EXPECT_EQ(Info_Text, Translate(u"Tuto4"));
  }
}

TEST_F(Tutorial, OnlyAClickOnTheBoardEnterOrSpaceEndTheWait) {
  GotoScreen(Screen_Tutorial);
  ASSERT_TRUE(RunToHint());
  // Left of the board, and the side bar's empty second slot: the hint stays.
  Frame(-20, 300, 1, 1);
  EXPECT_EQ(Tutorial_Waiting, 1);
  Frame(10 * Block_Size + 20, Block_Size + 20, 1, 1);
  EXPECT_EQ(Tutorial_Waiting, 1);
  // Other keys keep their own meaning and leave the hint waiting.
  Key_Char = 'q';
  Frame();
  Key_Char = 0;
  EXPECT_EQ(Tutorial_Waiting, 1);

  for (int key : {KEY_ENTER, KEY_SPACE}) {
    ASSERT_TRUE(RunToHint());
    String shown = Info_Text;
    InjectKey(key, 1);
    InjectKey(key, 0);
    Frame();
    // The wait ended and the next step ran; Enter or Space did not start a level as on a menu.
    EXPECT_EQ(Current_Screen, Screen_Tutorial) << key;
    EXPECT_TRUE(Tutorial_Waiting == 0 || Info_Text != shown) << key;
  }
}

TEST_F(Tutorial, LeavingStopsTheScriptAndComingBackStartsItAfresh) {
  GotoScreen(Screen_Tutorial);
  for (int hint = 0; hint < 3; hint++) {
    ASSERT_TRUE(RunToHint());
    Frame(300, 300, 1, 1);
  }
  GotoScreen(Screen_MainMenu);
  EXPECT_EQ(Tutorial_Active, 0);
  GotoScreen(Screen_Tutorial);
  EXPECT_EQ(Tutorial_Active, 1);
  EXPECT_TRUE(Info_Text.empty());
  ASSERT_TRUE(RunToHint());
  EXPECT_EQ(Info_Text, Translate(u"Tuto0"));
  EXPECT_EQ(Block_List.size(), 18u);
}

TEST_F(Tutorial, TheScriptKeepsItsPlaceWhenTheTableIsReadMeanwhile) {
  GotoScreen(Screen_Tutorial);
  ASSERT_TRUE(RunToHint());
  Frame(300, 300, 1, 1);
  ASSERT_TRUE(RunToHint());
  // Another reader moves the shared cursor (an icon row, the display sizes).
  RestoreTable(Label_Display_Sizes);
  ReadTableInt();
  Frame(300, 300, 1, 1);
  ASSERT_TRUE(RunToHint());
  EXPECT_EQ(Info_Text, Translate(u"Tuto3"));
}

// The whole first start through quark-driver: a flag is chosen, the tutorial plays with its
// music, every hint is dismissed by a click on the board (clicks come every quarter second and
// are withheld from the board while the hand works), and the main menu opens at the end.
TEST(TutorialSession, FirstStartPicksAFlagAndTheTutorialRunsToTheMainMenu) {
  constexpr int Rounds = 185;   // the demonstration ends after about 175
  DriverSession s;
  std::string script = "wait 2\nclick 60 250\nwait 2\nstate {dir}/start\n";
  for (int i = 0; i < Rounds; i++) script += "wait 15\nstate {dir}/t" + std::to_string(i) + "\nclick 37 37\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();

  auto start = s.State("start");
  EXPECT_EQ(start["Current_Screen"], IdText(Screen_Tutorial));
  EXPECT_EQ(start["Tutorial_Active"], "1");
  EXPECT_EQ(start["Tutorial_Waiting"], "0");
  EXPECT_EQ(start["Info_Text"], "");
  EXPECT_EQ(start["Music_Index"], IdText(Track_Tutorial));
  EXPECT_EQ(start["Music_Channel_Playing"], "1");
  EXPECT_LT(std::stof(start["Music_Channel_Volume"]), 0.3f) << "fading in";
  EXPECT_EQ(start["Effect_Click"], "1") << "the flag";

  // The hints as they were shown, with the board and the hand at each.
  std::vector<std::map<std::string, std::string>> hints;
  std::string shown;
  int menu_at = -1;
  for (int i = 0; i < Rounds; i++) {
    auto t = s.State("t" + std::to_string(i));
    if (t["Current_Screen"] != IdText(Screen_Tutorial)) {
      menu_at = i;
      break;
    }
    if (t["Tutorial_Waiting"] == "1" && t["Info_Text"] != shown) {
      shown = t["Info_Text"];
      hints.push_back(t);
    }
  }
  ASSERT_EQ(hints.size(), 7u);
  std::set<std::string> texts;
  for (auto& h : hints) {
    texts.insert(h["Info_Text"]);
    EXPECT_NE(h["Info_Text"].rfind("@", 0), 0u) << "a translated hint: " << h["Info_Text"];
    // Every hint is given with the hand resting right of the blocks, above the hint, in cell
    // (9, 2).
    EXPECT_EQ(std::stoi(h["Tutorial_Hand_X"]) / 74, 9);
    EXPECT_EQ(std::stoi(h["Tutorial_Hand_Y"]) / 74, 2);
  }
  EXPECT_EQ(texts.size(), 7u);
  EXPECT_EQ(hints[0]["Board"], "........../.015.1015./..5..5110./.150..0.../..0..5..../........../........../..........");
  EXPECT_EQ(hints[6]["Board"], "........../........../........../........../........../........../........../..........");

  ASSERT_GT(menu_at, 0) << "the main menu never opened";
  auto menu = s.State("t" + std::to_string(menu_at));
  EXPECT_EQ(menu["Current_Screen"], IdText(Screen_MainMenu));
  EXPECT_EQ(menu["Tutorial_Active"], "0");
  EXPECT_EQ(menu["Music_Index"], IdText(Track_Menu));
  EXPECT_EQ(menu["Music_Channel_Playing"], "1");
  // The flag, seven dismissed hints and three demonstrated undos click; seven hints slide in;
  // the three colours burst once each.
  EXPECT_EQ(menu["Effect_Click"], "11");
  EXPECT_EQ(menu["Effect_Scroll_Map"], "7");
  EXPECT_EQ(menu["Effect_Disappear"], "3");
  EXPECT_GT(std::stoi(menu["Effect_Move"]), 0);
  EXPECT_GT(std::stoi(menu["Effect_Merge"]), 0);
  EXPECT_EQ(menu["Effect_Undo"], "0") << "the tutorial's undo is only shown";
}

}  // namespace

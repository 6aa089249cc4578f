// The menu engine: each menu built from the table is the board its screen shows, with its
// captions, actions, way back and icon row; every screen id sets its screen up; the "Screen"
// menu's size entries; choosing an entry on a real menu; the pop-up's centre; hover sounds; the
// level list's labels.
#include "app/sidebar.h"
#include "fx/level_map.h"
#include "i18n/language.h"
#include "levels/catalogue.h"
#include "tests/board_fixture.h"
#include "tests/scratch_folder.h"
#include "tests/sound_probe.h"
#include "ui/menu.h"
#include "ui/tutorial.h"

namespace {

using Rows = std::vector<std::string>;
using Row = std::vector<int>;

class MenuEngine : public BoardTest {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    if (!Official_Bank) LoadCatalogue(u"incbin::Data/full2.lvl");
    ASSERT_EQ(LoadLanguage(u"incbin::Data/qUaRk_text_EN.txt"), 1);
  }
  static void TearDownTestSuite() { Text_List.clear(); }
  void SetUp() override {
    BoardTest::SetUp();
    InitIcons();
    SetCurrentScreen(Screen_MainMenu);
    Level_Bank = Official_Bank;
    Official_Level_Count = BufferSize(Official_Bank) / Level_Record_Size;
    // The language screens scan this folder: an empty one of the test's own.
    Saved_Language_Dir = Language_Dir;
    Language_Dir = FromLatin1(Scratch.Path + "/");
  }
  void TearDown() override {
    Language_Dir = Saved_Language_Dir;
    BoardTest::TearDown();
  }
  static Row IconIndexes() {
    Row row;
    for (T_ICON* icon : Icons) row.push_back(icon->Index);
    return row;
  }
  // A quick click: pressed and released in the same cell 100 ms later.
  static void QuickClick(int x, int y) {
    MouseFrame(x, y, 1, 1);
    Now += 100;
    MouseFrame(x, y, 0, 0);
  }
  ScratchFolder Scratch;
  String Saved_Language_Dir;
};

const Row Icons_Menu_Row = {9, 0, 11, 0, 0, 0, 0, 3};

TEST_F(MenuEngine, EachMenuIsTheBoardOfItsScreen) {
  struct Case {
    int Id;
    Rows Board;   // rows 0..7; rows not listed are empty
    int Back;
    Row Icons;
  };
  const Case cases[] = {
      {Screen_MainMenu,
       {"..........", "..........", ".4.4444...", "..0.0000..", ".1.1111...", "..2.2222..", "...3.3333."},
       1, {0, 0, 11, 0, 0, 0, 0, 3}},
      {Screen_Difficulty,
       {"..........", "..........", "..0.0000..", ".1.1111...", "..2.2222..", ".3.3333...", "...4.4444."},
       Screen_MainMenu, Icons_Menu_Row},
      {Screen_Options,
       {"..........", "..........", "..........", "...0.0000.", "..1.1111..", ".2.2222...", "..3.3333..",
        "...4.4444."},
       1, Icons_Menu_Row},
      {Screen_Dead_End, {"..........", "..........", "..........", "..........", "...0.0000.", "..1.1111.."},
       Screen_Options, Icons_Menu_Row},
      {Screen_Display,
       {"..........", "..........", "..........", "..........", "..0.0000..", "...1.1111.", "..2.2222.."}, 3,
       Icons_Menu_Row},
      {Screen_Symbols, {"..........", "..........", "..........", "..........", "...0.0000.", "..1.1111.."}, 20,
       Icons_Menu_Row},
      {Screen_Quality, {"..........", "..........", "..........", "..........", "...0.0000.", "..1.1111.."}, 20,
       Icons_Menu_Row},
      // The size entries "-" and "+" are the colours 4 and 5.
      {Screen_Screen_Setup,
       {"..........", "..........", "..........", "..........", ".0.000045.", "..241111..", "...152222."}, 20,
       Icons_Menu_Row},
      {Screen_Tutorial, {"..........", ".015.1015.", "..5..5110.", ".150..0...", "..0..5...."}, Screen_MainMenu,
       {6, 0, 11, 0, 0, 0, 1, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Id);
    SetCurrentScreen(Screen_MainMenu);
    GotoScreen(c.Id);
    Rows expected = c.Board;
    expected.resize(Board_Height, "..........");
    EXPECT_EQ(Picture(), expected);
    EXPECT_EQ(Current_Screen, c.Id);
    EXPECT_EQ(Return_Screen, c.Back);
    EXPECT_EQ(IconIndexes(), c.Icons);
  }
}

TEST_F(MenuEngine, OptionsAreALooseBlockAndACaptionBarThatLeadToTheirScreen) {
  GotoScreen(Screen_MainMenu);
  // Per option: loose block, caption block, three continuation blocks; in the record's order.
  struct Expect {
    int X, Y, Kind;
    const char16_t* Text;
    int Menu;
  };
  const Expect expected[] = {
      {2, 3, 0, u"", 19},        {4, 3, 0, u"Play", 19},  {5, 3, 0, u"!", 19},      {6, 3, 0, u"!", 19},
      {7, 3, 0, u"!", 19},       {1, 4, 1, u"", 45},      {3, 4, 1, u"Rules", 45},  {4, 4, 1, u"!", 45},
      {5, 4, 1, u"!", 45},       {6, 4, 1, u"!", 45},     {2, 5, 2, u"", 3},        {4, 5, 2, u"Options", 3},
      {5, 5, 2, u"!", 3},        {6, 5, 2, u"!", 3},      {7, 5, 2, u"!", 3},       {3, 6, 3, u"", 99},
      {5, 6, 3, u"Quit", 99},    {6, 6, 3, u"!", 99},     {7, 6, 3, u"!", 99},      {8, 6, 3, u"!", 99},
      {1, 2, 4, u"", 4},         {3, 2, 4, u"Random Level", 4}, {4, 2, 4, u"!", 4}, {5, 2, 4, u"!", 4},
      {6, 2, 4, u"!", 4},
  };
  ASSERT_EQ(Block_List.size(), std::size(expected));
  size_t i = 0;
  for (auto& b : Block_List) {
    const Expect& e = expected[i++];
    SCOPED_TRACE(i);
    EXPECT_EQ(b->XMap, e.X);
    EXPECT_EQ(b->YMap, e.Y);
    EXPECT_EQ(b->Kind, e.Kind);
    EXPECT_EQ(b->Text, e.Text);
    EXPECT_EQ(b->Menu, e.Menu);
  }
  // The bars show joined shapes: a caption block is not drawn as a lone block.
  EXPECT_NE(Block_Grid[4][3]->Frame[1], Block_Grid[2][3]->Frame[1]);

  // Decoration blocks carry no choice.
  GotoScreen(Screen_Tutorial);
  for (auto& b : Block_List) {
    EXPECT_EQ(b->Menu, -1);
    EXPECT_EQ(b->Text, u"");
  }
}

TEST_F(MenuEngine, EveryScreenIdSetsItsScreenUp) {
  struct Case {
    int Id;
    int Screen;   // the screen running afterwards
    int Back;     // Return_Screen afterwards; -1: as it was
    Row Icons;
  };
  const Row game = {6, 0, 8, 0, 7, 0, 1, 3};
  const Case cases[] = {
      {Screen_Game, Screen_Game, -1, game},
      {Screen_Level_List, Screen_Level_List, Screen_MainMenu, Icons_Menu_Row},
      {19, Screen_Level_List, Screen_MainMenu, Icons_Menu_Row},
      {Screen_Style, Screen_Style, Screen_Options, Icons_Menu_Row},
      {Screen_Credits, Screen_Credits, Screen_Options, Icons_Menu_Row},
      {26, Screen_Quality, 20, Icons_Menu_Row},
      {27, Screen_Quality, 20, Icons_Menu_Row},
      {28, Screen_Quality, 20, Icons_Menu_Row},
      {Screen_Victory, Screen_Victory, -1, {0, 0, 0, 0, 0, 0, 1, 3}},
      {Screen_First_Language, Screen_First_Language, Screen_MainMenu, {0, 0, 0, 0, 0, 0, 0, 3}},
      {Screen_Language, Screen_Language, Screen_Options, Icons_Menu_Row},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Id);
    SetCurrentScreen(Screen_Options);
    Return_Screen = 77;
    GotoScreen(c.Id);
    EXPECT_EQ(Current_Screen, c.Screen);
    EXPECT_EQ(Return_Screen, c.Back == -1 ? 77 : c.Back);
    EXPECT_EQ(IconIndexes(), c.Icons);
  }
  // The quality actions set the detail level and come back to the "Quality" menu.
  GotoScreen(27);
  EXPECT_EQ(Display_Quality, 1);
  EXPECT_EQ(Detail_Shadows, 0);
  GotoScreen(28);
  EXPECT_EQ(Display_Quality, 2);
  EXPECT_EQ(Detail_Shadows, 1);
  EXPECT_EQ(Previous_Screen, 28);
}

TEST_F(MenuEngine, TheTutorialGoesBackToWhereItWasOpenedFrom) {
  for (int from : {Screen_MainMenu, Screen_First_Language}) {
    SetCurrentScreen(from);
    GotoScreen(Screen_Tutorial);
    EXPECT_EQ(Return_Screen, from);
    EXPECT_EQ(Tutorial_Active, 1);
  }
}

TEST_F(MenuEngine, ASwitchDropsTheHandTheTutorialAndPendingInputButNotAChoice) {
  GotoScreen(Screen_Tutorial);
  Key_Cursor_Mode = 2;
  Mouse_Hit = Mouse_Down = 1;
  Pending_Screen = 3;
  InjectButton(1, 1);
  InjectButton(1, 0);
  InjectText(u"r");
  PollSystemEvents();
  GotoScreen(Screen_MainMenu);
  EXPECT_EQ(Key_Cursor_Mode, 0);
  EXPECT_EQ(Tutorial_Active, 0);
  EXPECT_EQ(Mouse_Hit, 0);
  EXPECT_EQ(Mouse_Down, 0);
  EXPECT_EQ(MouseHit(1), 0);
  EXPECT_EQ(NextChar(), 0);
  // A choice made just before still runs once its fragments are gone.
  EXPECT_EQ(Pending_Screen, 3);
  Pending_Screen = 0;
}

TEST_F(MenuEngine, TheScreenMenuOffersSizesOutsideBestFitOnly) {
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    Screen_Mode = mode;
    GotoScreen(Screen_Screen_Setup);
    Rows board = Picture();
    if (mode == 2) {
      EXPECT_EQ(board[4], ".0.0000...");
      EXPECT_EQ(board[5], "..2.1111..");
      EXPECT_EQ(board[6], "...1.2222.");
    } else {
      EXPECT_EQ(board[4], ".0.000045.");
      ASSERT_NE(Block_Grid[7][4], nullptr);
      EXPECT_EQ(Block_Grid[7][4]->Text, u"-");
      EXPECT_EQ(Block_Grid[7][4]->Menu, 48);
      EXPECT_EQ(Block_Grid[8][4]->Text, u"+");
      EXPECT_EQ(Block_Grid[8][4]->Menu, 49);
      EXPECT_EQ(Block_Grid[3][5]->Text, u"");
      EXPECT_EQ(Block_Grid[3][5]->Menu, 48);
      EXPECT_EQ(Block_Grid[4][6]->Menu, 49);
    }
  }
}

TEST_F(MenuEngine, MinusAtTheSmallestSizeReopensTheMenuWithoutTouchingTheDisplay) {
  Wanted_Resolution_X = 640;
  Wanted_Resolution_Y = 448;
  Wanted_Block_Size = 56;
  // Different from the wanted size: a reopened display would take the wanted one.
  Resolution_X = 804;
  Resolution_Y = 592;
  SetCurrentScreen(Screen_Screen_Setup);
  GotoScreen(48);
  EXPECT_EQ(Current_Screen, Screen_Screen_Setup);
  EXPECT_EQ(Previous_Screen, 48);
  EXPECT_EQ(Wanted_Resolution_Y, 448);
  EXPECT_EQ(Resolution_X, 804);
  EXPECT_EQ(Picture()[4], ".0.000045.");
}

TEST_F(MenuEngine, TheFourWaysToChooseAndNotToChoose) {
  struct Case {
    const char* Name;
    int X, Y;
    int Hold;      // ms between press and release
    int Chosen;    // Pending_Screen afterwards
  };
  const Case cases[] = {
      {"quick click on the caption", 4, 5, 100, Screen_Options},
      {"quick click on a continuation block", 7, 5, 100, Screen_Options},
      {"long press on the bar", 5, 5, 400, 0},
      {"quick click on the loose block", 2, 5, 100, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    GotoScreen(Screen_MainMenu);
    Pending_Screen = 0;
    MouseFrame(c.X, c.Y, 1, 1);
    Now += c.Hold;
    MouseFrame(c.X, c.Y, 0, 0);
    EXPECT_EQ(Pending_Screen, c.Chosen);
    EXPECT_EQ(!FX_List.empty(), c.Chosen != 0);
    FX_List.clear();
  }

  // While a choice explodes, another quick click chooses nothing.
  GotoScreen(Screen_MainMenu);
  Pending_Screen = 0;
  QuickClick(5, 5);
  ASSERT_EQ(Pending_Screen, Screen_Options);
  QuickClick(6, 6);
  EXPECT_EQ(Pending_Screen, Screen_Options);
  EXPECT_EQ(Block_Grid[6][6]->Timer, 0);
  FX_List.clear();

  // Dragging the loose block of "Play" onto its bar completes the colour.
  GotoScreen(Screen_MainMenu);
  Pending_Screen = 0;
  MouseFrame(2, 3, 1, 1);
  MouseFrame(3, 3, 0, 1);
  EXPECT_EQ(Pending_Screen, 19);
  EXPECT_EQ(Picture()[3], "...*****..");
  EXPECT_EQ(Pop_Text, u"Play");
  Pending_Screen = 0;
  FX_List.clear();
}

TEST_F(MenuEngine, ThePopUpCentresOnAOneBlockCaptionOrTheMiddleOfTheBar) {
  GotoScreen(Screen_MainMenu);
  QuickClick(6, 5);
  EXPECT_EQ(Pop_Text, u"Options");
  EXPECT_EQ(Pop_Text_X, 4 * Block_Size + 2 * Block_Size);
  EXPECT_EQ(Pop_Text_Y, 5 * Block_Size + Half_Block);
  EXPECT_EQ(Pop_Text_Start, Now - 16 + 300);
  Pending_Screen = 0;
  FX_List.clear();

  GotoScreen(Screen_Screen_Setup);
  QuickClick(7, 4);
  EXPECT_EQ(Pending_Screen, 48);
  EXPECT_EQ(Pop_Text, u"-");
  EXPECT_EQ(Pop_Text_X, 7 * Block_Size + Half_Block);
  EXPECT_EQ(Pop_Text_Y, 4 * Block_Size + Half_Block);
  Pending_Screen = 0;
  FX_List.clear();

  // A one-character caption of a four-block bar (Chinese "high") pops up over its bar, not over
  // its first block: the bar's shape decides, not the caption's length.
  GotoScreen(Screen_MainMenu);
  T_BLOCK* caption = BlockAt(4, 5);
  ASSERT_NE(caption, nullptr);
  ASSERT_EQ(caption->Text, u"Options");
  const String high(1, u'\u9AD8');
  caption->Text = high;
  QuickClick(6, 5);
  EXPECT_EQ(Pop_Text, high);
  EXPECT_EQ(Pop_Text_X, 4 * Block_Size + 2 * Block_Size);
  Pending_Screen = 0;
  FX_List.clear();
}

TEST_F(MenuEngine, HoveringACaptionSoundsOncePerEntry) {
  SoundProbe probe;
  if (!probe.Start()) GTEST_SKIP() << "no audio device, not even the dummy one";
  Sound* saved = Sfx_Mouse_Over;
  Sfx_Mouse_Over = SoundProbe::TestSound();
  Sound_Flag = 1;
  GotoScreen(Screen_MainMenu);
  probe.Played();
  struct Step {
    int X, Y, Sounds;
  };
  const Step steps[] = {
      {4, 3, 1}, {5, 3, 0}, {6, 3, 0}, {7, 3, 0},   // along the "Play" bar: once
      {6, 4, 1},                                    // onto "Rules"
      {2, 3, 0},                                    // a loose block sounds nothing
      {5, 3, 1},                                    // back onto "Play"
      {0, 0, 0}, {5, 3, 1},                         // off to empty board and back
  };
  for (const Step& s : steps) {
    MouseFrame(s.X, s.Y, 0, 0);
    EXPECT_EQ(probe.Played(), s.Sounds) << s.X << "," << s.Y;
  }
  Sfx_Mouse_Over = saved;
  Sound_Flag = 0;
}

TEST_F(MenuEngine, TheLevelListOpensOnItsBankWithItsLabels) {
  ByteBuffer* small = CreateBuffer(3 * Level_Record_Size + 100);   // a partial record does not count
  ShowLevelList(small);
  EXPECT_EQ(Level_Bank, small);
  EXPECT_EQ(Official_Level_Count, 3);
  EXPECT_EQ(Text_Last_Time, u"Time");
  EXPECT_EQ(Text_Best_Time, u"Best");
  EXPECT_EQ(Current_Screen, Screen_Level_List);
  EXPECT_EQ(Return_Screen, Screen_MainMenu);
  EXPECT_EQ(IconIndexes(), Icons_Menu_Row);

  // "Play" opens the official levels again.
  GotoScreen(19);
  EXPECT_EQ(Level_Bank, Official_Bank);
  EXPECT_EQ(Official_Level_Count, BufferSize(Official_Bank) / Level_Record_Size);
  delete small;
}

}  // namespace

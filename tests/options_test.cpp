// The options screens without a frame loop: the style screen's layout (slots and the spiral
// round the board), styles dragged into and out of the slots with the profile written at the
// step that changes a colour, shared and unknown styles; and the display options reached
// through the screen switch.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/sidebar.h"
#include "board/undo.h"
#include "platform/headless.h"
#include "tests/board_fixture.h"
#include "tests/driver_session.h"
#include "tests/level_solutions.h"
#include "tests/flat_images.h"
#include "tests/shot_pixels.h"
#include "tests/scratch_folder.h"
#include "ui/menu.h"
#include "ui/style_screen.h"

namespace {

class StyleScreen : public BoardTest {
 protected:
  static void SetUpTestSuite() { EnterHeadlessMode(); }
  void SetUp() override {
    BoardTest::SetUp();
    InitIcons();
    Style_Count = Style_Sheet_Count;
    Saved_Profile = Profile_File;
    Profile_Path = Scratch.Name("options_test_profile.txt");
    std::filesystem::remove(Profile_Path);
    Profile_File = FromLatin1(Profile_Path);
    Sound_Flag = 1;
  }
  void TearDown() override {
    std::filesystem::remove(Profile_Path);
    Profile_File = Saved_Profile;
    BoardTest::TearDown();
  }

  static void Open(std::initializer_list<int> styles) {
    int k = 0;
    for (int s : styles) User_Style[k++] = s;
    ShowStyleScreen();
    SetCurrentScreen(Screen_Style);
  }

  // The style shown in a cell, -1 when empty.
  static int StyleAt(int x, int y) { return Kind_Grid[x][y] < 0 ? -1 : Kind_Grid[x][y] - 6; }

  // Presses on a block, drags the pointer cell by cell along the path, lets go. After each
  // step `each` is called with the step's number.
  template <typename F>
  static void Drag(int x, int y, std::initializer_list<std::pair<int, int>> path, F each) {
    MouseFrame(x, y, 1, 1);
    int n = 0;
    for (auto [cx, cy] : path) {
      MouseFrame(cx, cy, 0, 1);
      each(n++);
    }
    MouseFrame(x, y, 0, 0);
  }
  static void Drag(int x, int y, std::initializer_list<std::pair<int, int>> path) {
    Drag(x, y, path, [](int) {});
  }

  std::string Profile() const {
    std::ifstream in(Profile_Path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool ProfileWritten() const { return std::filesystem::exists(Profile_Path); }

  std::string Profile_Path;
  String Saved_Profile;
  ScratchFolder Scratch;
};

TEST_F(StyleScreen, DefaultLayoutPutsTheSixStylesInTheSlotsAndTheRestRoundTheBorder) {
  Open({0, 1, 2, 3, 4, 5});
  for (int k = 0; k < 6; k++) EXPECT_EQ(StyleAt(k + 2, 4), k) << "slot " << k;
  struct Cell {
    int x, y, style;
  } cells[] = {{0, 0, 6}, {9, 0, 15}, {9, 1, 16}, {9, 7, 22}, {8, 7, 23}, {0, 7, 31}, {0, 6, 32}, {0, 1, 37}};
  for (const Cell& c : cells) EXPECT_EQ(StyleAt(c.x, c.y), c.style) << c.x << "," << c.y;
  // The 32 other styles fill the border ring exactly; the inside is empty but for the slots.
  int ring = 0, inside = 0;
  for (int x = 0; x < 10; x++) {
    for (int y = 0; y < 8; y++) {
      bool edge = x == 0 || x == 9 || y == 0 || y == 7;
      if (StyleAt(x, y) >= 0) (edge ? ring : inside)++;
    }
  }
  EXPECT_EQ(ring, 32);
  EXPECT_EQ(inside, 6);
  EXPECT_EQ(Return_Screen, Screen_Options);
  EXPECT_EQ(Icons[0]->Index, 9);
  EXPECT_EQ(Icons[7]->Index, 3);
}

TEST_F(StyleScreen, AStyleDraggedIntoAnEmptiedSlotIsTakenAndWrittenAtThatStep) {
  Open({0, 1, 2, 3, 4, 5});
  // Style 0 out of colour 0's slot: the slot is empty, colour 0 keeps its style, nothing written.
  Drag(2, 4, {{2, 5}});
  EXPECT_EQ(StyleAt(2, 5), 0);
  EXPECT_EQ(StyleAt(2, 4), -1);
  EXPECT_EQ(User_Style[0], 0);
  EXPECT_FALSE(ProfileWritten());

  // Style 8 from the top row down into the slot; the profile is written at the step into it.
  int clicks = Effects_Started[Effect_Other] + Effects_Started[Effect_Click];
  Drag(2, 0, {{2, 1}, {2, 2}, {2, 3}, {2, 4}, {1, 4}}, [&](int step) {
    if (step == 2) {
      EXPECT_EQ(User_Style[0], 0);
      EXPECT_FALSE(ProfileWritten());
    }
    if (step == 3) {
      EXPECT_EQ(User_Style[0], 8);
      ASSERT_TRUE(ProfileWritten());
      EXPECT_NE(Profile().find("\"User Style\" = 8,1,2,3,4,5"), std::string::npos) << Profile();
      std::filesystem::remove(Profile_Path);
    }
  });
  // On beyond the slot: the colour keeps style 8 and nothing more is written.
  EXPECT_EQ(StyleAt(1, 4), 8);
  EXPECT_EQ(User_Style[0], 8);
  EXPECT_FALSE(ProfileWritten());
  EXPECT_EQ(Effects_Started[Effect_Other] + Effects_Started[Effect_Click], clicks + 1) << "one click for one colour";
}

TEST_F(StyleScreen, TwoColoursSharingAStyleShowItInTheLowerSlot) {
  Open({3, 1, 2, 3, 4, 5});
  EXPECT_EQ(StyleAt(2, 4), 3);
  EXPECT_EQ(StyleAt(5, 4), -1) << "colour 3's slot is empty";
  EXPECT_EQ(StyleAt(0, 0), 0) << "style 0 is free and starts the spiral";
  EXPECT_EQ(StyleAt(1, 1), 37) << "33 free styles: one more than the ring holds";
  // A move elsewhere leaves colour 3 as it is; a block moved into its slot gives it a style.
  Drag(6, 4, {{6, 5}});
  EXPECT_EQ(User_Style[3], 3);
  EXPECT_EQ(User_Style[4], 4);
  Drag(4, 4, {{5, 4}});
  EXPECT_EQ((std::vector<int>(User_Style, User_Style + 6)), (std::vector<int>{3, 1, 2, 2, 4, 5}));
}

TEST_F(StyleScreen, AStyleNumberOutsideTheTableGetsNoBlock) {
  for (int bad : {-1, 38, 1000}) {
    Open({bad, 1, 2, 3, 4, 5});
    EXPECT_EQ(StyleAt(2, 4), -1) << bad;
    EXPECT_EQ(StyleAt(0, 0), 0) << bad;
    EXPECT_EQ(Block_List.size(), 38u) << bad;
    for (auto& b : Block_List) EXPECT_LT(b->Kind - 6, Style_Sheet_Count);
  }
}

// The display options through the screen switch, with a real (headless) display.
class DisplayOptions : public BoardTest {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
  }
  void SetUp() override {
    BoardTest::SetUp();
    InitIcons();
    Desktop_Width = 1920;
    Desktop_Height = 1080;
    Wanted_Resolution_X = 640;
    Wanted_Resolution_Y = 448;
    Wanted_Block_Size = 56;
    ApplyDisplayMode();
  }
  void TearDown() override {
    BoardTest::TearDown();
  }
  static int BlocksLeadingTo(int action) {
    int n = 0;
    for (auto& b : Block_List) n += b->Menu == action;
    return n;
  }
};

TEST_F(DisplayOptions, LowThenHighSwitchTheDetailsAndStayInTheQualityMenu) {
  struct Step {
    int id, quality, details;
  } steps[] = {{27, 1, 0}, {28, 2, 1}, {27, 1, 0}};
  for (const Step& s : steps) {
    GotoScreen(s.id);
    EXPECT_EQ(Current_Screen, Screen_Quality) << s.id;
    EXPECT_EQ(Display_Quality, s.quality) << s.id;
    EXPECT_EQ(Detail_Shadows, s.details) << s.id;
    EXPECT_EQ(Detail_Particles, s.details) << s.id;
    EXPECT_EQ(Detail_Previews, s.details) << s.id;
    EXPECT_EQ(BlocksLeadingTo(28), 5) << "the menu is built again";
  }
}

TEST_F(DisplayOptions, WindowedRebuildsTheScreenMenuWithItsSizeOptions) {
  Screen_Mode = 2;
  GotoScreen(Screen_Screen_Setup);
  EXPECT_EQ(BlocksLeadingTo(48) + BlocksLeadingTo(49), 0) << "best fit has no size to step";
  GotoScreen(21);
  EXPECT_EQ(Screen_Mode, 0);
  EXPECT_EQ(Current_Screen, Screen_Screen_Setup);
  EXPECT_EQ(BlocksLeadingTo(48), 2);
  EXPECT_EQ(BlocksLeadingTo(49), 2);
  // "-" at the smallest size changes nothing but opens the menu again; "+" grows the window.
  GotoScreen(48);
  EXPECT_EQ(Current_Screen, Screen_Screen_Setup);
  EXPECT_EQ(Resolution_Y, 448);
  GotoScreen(49);
  EXPECT_EQ(Current_Screen, Screen_Screen_Setup);
  EXPECT_EQ(Resolution_Y, 592);
  EXPECT_EQ(Block_Size, 74);
}

// Through quark-driver on the 804 x 592 board: quick clicks on the captions open the options,
// the credits page with its text, back to the options by the side bar, and the style screen.
TEST(OptionsSession, CreditsAndStylesFromTheOptionsMenu) {
  DriverSession s;
  ASSERT_EQ(s.Run("wait 1\n"), 0);   // exports the language files
  s.WriteEnglishProfile();
  const int B = Default_Display_Size.Cell;
  auto cell = [&](int x, int y) { return CellCentre(x, y, B); };
  std::string script = "wait 2\nclick " + cell(5, 5) + "\nwait 150\nstate {dir}/options\n" +
                       "click " + cell(5, 6) + "\nwait 150\nstate {dir}/credits\n" +
                       "click " + IconCentre(0, B) + "\nwait 2\nstate {dir}/back\n" +   // BACK
                       "click " + cell(6, 3) + "\nwait 150\nstate {dir}/style\n" +
                       "key Escape\nwait 2\nstate {dir}/menu\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("options", "Current_Screen"), Screen_Options);

  auto credits = s.State("credits");
  EXPECT_EQ(credits["Current_Screen"], IdText(Screen_Credits));
  EXPECT_EQ(credits["Return_Screen"], IdText(Screen_Options));
  EXPECT_EQ(credits["Info_Text"], "qUaRk @2026 - the qUaRk team @ @Game des");
  EXPECT_EQ(credits["Icon_Row"], "9 0 11 0 0 0 0 3");

  EXPECT_EQ(s.StateInt("back", "Current_Screen"), Screen_Options);

  auto style = s.State("style");
  EXPECT_EQ(style["Current_Screen"], IdText(Screen_Style));
  EXPECT_EQ(style["Return_Screen"], IdText(Screen_Options));
  // Styles 6.. as letters from 'g': the top row, the slots, the bottom row right to left.
  EXPECT_EQ(style["Board"],
            "ghijklmnop/L........q/K........r/J........s/I.abcdef.t/H........u/G........v/FEDCBAzyxw");
  EXPECT_EQ(s.StateInt("menu", "Current_Screen"), Screen_MainMenu);
  // Three captions chosen by a quick click (a click and a burst each) and the BACK icon.
  EXPECT_EQ(s.StateInt("style", "Effect_Click"), 4);
  EXPECT_EQ(s.StateInt("style", "Effect_Disappear"), 3);
}

// The colour-blind aid through the real interface: Options, Display, Symbols, On; every block of
// the six colours then carries its symbol on the board and in the level map's thumbnails, the
// choice is saved, and Off takes the symbols away again.
TEST(OptionsSession, ColourSymbolsAreChosenInTheMenusAndShownOnBoardAndMap) {
  auto cell = [](int x, int y) { return std::to_string(x * 74 + 37) + " " + std::to_string(y * 74 + 37); };
  auto choose = [&](int x, int y) { return "click " + cell(x, y) + "\nwait 150\n"; };
  // Level 1 has a block of colour 5 (a cross) in column 2 of the top row, and the map shows it
  // in the first thumbnail's mini cell at (20 + 2 * 20, 20).
  const std::string look = "level 1\nwait 2\nshot {dir}/board.png\nkey Escape\nwait 2\n" + choose(5, 3) +
                           "wait 300\nshot {dir}/map.png\nkey Escape\nwait 2\n";
  auto white = [](int c) { return ((c >> 16) & 255) > 200 && ((c >> 8) & 255) > 200 && (c & 255) > 200; };
  struct Shown {
    bool board, map;
  };
  auto shown = [&](const std::string& root) {
    Shown s{};
    if (!ShowShot(root + "/board.png")) return s;
    s.board = white(ReadPixel(2 * 74 + 37, 37));
    if (!ShowShot(root + "/map.png")) return s;
    s.map = white(ReadPixel(20 + 2 * 20 + 10, 20 + 10));
    return s;
  };

  DriverSession s;
  s.WriteEnglishProfile();
  std::string script = "wait 2\n" + choose(5, 5) + choose(4, 5) + choose(5, 6) + "state {dir}/menu\n" +
                       choose(6, 4) + "state {dir}/on\n" + look + "close\nwait 1\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("menu", "Current_Screen"), Screen_Symbols);
  EXPECT_EQ(s.StateInt("menu", "Colour_Symbols"), 0);
  EXPECT_EQ(s.StateInt("on", "Current_Screen"), Screen_Symbols) << "the choice returns to its menu";
  EXPECT_EQ(s.StateInt("on", "Colour_Symbols"), 1);
  Shown on = shown(s.Root);
  EXPECT_TRUE(on.board) << "the cross on the blue block";
  EXPECT_TRUE(on.map) << "the cross in the thumbnail";
  std::string profile = DriverSession::ReadFile(s.UserFile("qUaRk_User_Profile.txt"));
  EXPECT_NE(profile.find("\"Colour Symbols\" = 1"), std::string::npos) << profile;

  // The next start keeps them; Off takes them away.
  ASSERT_EQ(s.Run("wait 2\nstate {dir}/again\n" + choose(5, 5) + choose(4, 5) + choose(5, 6) + choose(5, 5) +
                  "state {dir}/off\n" + look + "close\nwait 1\n"),
            0)
      << s.Stderr();
  EXPECT_EQ(s.StateInt("again", "Colour_Symbols"), 1);
  EXPECT_EQ(s.StateInt("off", "Colour_Symbols"), 0);
  Shown off = shown(s.Root);
  EXPECT_FALSE(off.board);
  EXPECT_FALSE(off.map);
  profile = DriverSession::ReadFile(s.UserFile("qUaRk_User_Profile.txt"));
  EXPECT_NE(profile.find("\"Colour Symbols\" = 0"), std::string::npos) << profile;
}


// The dead-end watch through the options: Options, Dead Ends, On; kept in the profile for the
// next start, where "d" in a level still switches it.
TEST(OptionsSession, TheDeadEndWatchIsChosenInTheOptionsAndKept) {
  auto choose = [](int x, int y) {
    return "click " + std::to_string(x * 74 + 37) + " " + std::to_string(y * 74 + 37) + "\nwait 150\n";
  };
  DriverSession s;
  s.WriteEnglishProfile();
  ASSERT_EQ(s.Run("wait 2\nstate {dir}/start\n" + choose(5, 5) + choose(6, 7) + "state {dir}/menu\n" + choose(6, 4) +
                  "state {dir}/on\nclose\nwait 1\n"),
            0)
      << s.Stderr();
  EXPECT_EQ(s.StateInt("start", "Dead_End_Watch"), 0) << "off for a new player";
  EXPECT_EQ(s.StateInt("menu", "Current_Screen"), Screen_Dead_End);
  EXPECT_EQ(s.StateInt("on", "Current_Screen"), Screen_Dead_End) << "the choice returns to its menu";
  EXPECT_EQ(s.StateInt("on", "Dead_End_Watch"), 1);
  std::string profile = DriverSession::ReadFile(s.UserFile("qUaRk_User_Profile.txt"));
  EXPECT_NE(profile.find("\"Dead End Watch\" = 1"), std::string::npos) << profile;

  ASSERT_EQ(s.Run("wait 2\nstate {dir}/again\nlevel 1\nwait 2\ntext d\nwait 2\nstate {dir}/key\nclose\nwait 1\n"), 0)
      << s.Stderr();
  EXPECT_EQ(s.StateInt("again", "Dead_End_Watch"), 1);
  EXPECT_EQ(s.StateInt("key", "Dead_End_Watch"), 0);
  profile = DriverSession::ReadFile(s.UserFile("qUaRk_User_Profile.txt"));
  EXPECT_NE(profile.find("\"Dead End Watch\" = 0"), std::string::npos) << profile;
}

}  // namespace

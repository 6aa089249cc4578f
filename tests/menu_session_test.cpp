// The menus, the side bar and the level map through quark-driver, by the real interface only:
// "Play" by a quick click, the map, level 1's thumbnail, the zoom, the level left by the MENU
// icon and resumed by LAST, the win and the map showing level 1 solved; the keyboard's way into
// levels and over the map; "Options" → "Display" → "Screen" → "+"; Esc from every screen; and
// every menu's board in the state dump cell for cell as the menu table has it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "driver_session.h"
#include "flat_images.h"
#include "level_solutions.h"
#include "shot_pixels.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "ui/menu_table.h"

namespace {

// The board of a menu record as the state dump writes it: rows of ten cells joined by '/'.
std::string TableBoard(MenuLabel label, bool size_options = false) {
  std::string cells(80, '.');
  auto put = [&](int x, int y, int kind) { cells[y * 10 + x] = static_cast<char>('0' + kind); };
  RestoreTable(label);
  ReadTableString();
  int options = ReadTableInt();
  for (int kind = 0; kind < options; kind++) {
    int lx = ReadTableInt(), ly = ReadTableInt(), bx = ReadTableInt(), by = ReadTableInt();
    ReadTableString();
    ReadTableInt();
    put(lx, ly, kind);
    for (int x = bx; x < bx + 4; x++) put(x, by, kind);
  }
  for (int left = ReadTableInt(); left > 0;) {
    int x0 = ReadTableInt(), y = ReadTableInt(), length = ReadTableInt();
    for (int x = x0; x < x0 + length; x++) put(x, y, ReadTableInt());
    left -= length;
  }
  if (size_options) {   // "-" and "+": a loose block and a one-block caption each
    put(3, 5, 4);
    put(7, 4, 4);
    put(4, 6, 5);
    put(8, 4, 5);
  }
  std::string board;
  for (int y = 0; y < 8; y++) board += (y ? "/" : "") + cells.substr(y * 10, 10);
  return board;
}

// Near-white pixels of the picture shown, in a rectangle.
int Whites(int x0, int y0, int x1, int y1) {
  int count = 0;
  for (int y = y0; y < y1; y++) {
    for (int x = x0; x < x1; x++) {
      int p = ReadPixel(x, y);
      if (((p >> 16) & 255) > 230 && ((p >> 8) & 255) > 230 && (p & 255) > 230) count++;
    }
  }
  return count;
}

// A cell of catalogue level 1 in its first or last column that is empty, -1 for none.
int EmptyEdgeCellOfLevelOne() {
  std::string bytes = DriverSession::ReadFile(std::string(QUARK_SOURCE_DIR) + "/Data/full2.lvl");
  if (bytes.size() < 404) return -1;
  for (int r = 0; r < 8; r++) {
    for (int q : {0, 9}) {
      if (bytes[4 + r * 10 + q] == 0) return r * 10 + q;
    }
  }
  return -1;
}

std::string At(int x, int y, int cell) { return CellCentre(x, y, cell); }

TEST(MenuSession, PlayByMouseLeaveByMenuResumeByLastWinAndSeeItSolvedOnTheMap) {
  std::vector<SolutionStep> steps = ShippedSolution(0);
  if (steps.size() < 2) GTEST_SKIP() << "no shipped solution for level 1";
  std::vector<SolutionStep> first(steps.begin(), steps.end() - 1), last(steps.end() - 1, steps.end());
  const int B = Default_Display_Size.Cell;
  DriverSession s;
  s.WriteEnglishProfile();
  std::string script =
      "wait 2\nstate {dir}/menu\n"
      "click " + At(5, 3, B) + "\nwait 150\nstate {dir}/map\n"   // "Play" by a quick click on its bar
      "wait 400\nstate {dir}/settled\nshot {dir}/fresh.png\n"
      "click 120 100\nwait 2\nstate {dir}/zooming\n"              // level 1's thumbnail
      "wait 70\nstate {dir}/playing\n" +
      MouseSolutionScript(first, B) +
      "state {dir}/partial\n"
      "click " + IconCentre(6, B) + "\nwait 2\nstate {dir}/left\n"   // the MENU icon
      "click " + At(5, 3, B) + "\nwait 150\nwait 30\nshot {dir}/before.png\n"
      "key Escape\nwait 2\nsleep 600000\nwait 1\n"
      "click " + IconCentre(2, B) + "\nwait 2\nstate {dir}/resumed\n" +   // LAST
      MouseSolutionScript(last, B) +
      "wait 400\nstate {dir}/won\n"
      "click 370 296\nwait 2\nstate {dir}/back\n"                  // anywhere on the board
      "wait 30\nshot {dir}/after.png\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();

  EXPECT_EQ(s.State("menu")["Icon_Row"], "0 0 11 0 0 0 0 3");
  EXPECT_EQ(s.State("menu")["Icon_States"].substr(4, 1), "0") << "LAST without a saved game";

  auto map = s.State("map");
  EXPECT_EQ(map["Current_Screen"], IdText(Screen_Level_List));
  EXPECT_EQ(map["Return_Screen"], IdText(Screen_MainMenu));
  EXPECT_EQ(map["Icon_Row"], "9 0 11 0 0 0 0 3");
  EXPECT_EQ(map["Official_Level_Count"], "553");
  // The grid comes up from below and rests at the top.
  EXPECT_EQ(s.State("menu")["Level_List_Scroll"], "592");
  EXPECT_EQ(s.State("settled")["Level_List_Scroll"], "0");
  EXPECT_EQ(s.StateInt("settled", "Hover_Level"), 4);   // the pointer stayed where "Play" was

  auto zooming = s.State("zooming");
  EXPECT_EQ(zooming["Current_Screen"], IdText(Screen_Level_List));
  EXPECT_EQ(zooming["Level_Index"], "0");
  EXPECT_NE(zooming["Zoom_Until"], "0");
  EXPECT_EQ(zooming["Return_Screen"], IdText(Screen_Level_List));

  auto playing = s.State("playing");
  EXPECT_EQ(playing["Current_Screen"], IdText(Screen_Game));
  EXPECT_EQ(playing["Zoom_Until"], "0");
  EXPECT_EQ(playing["Icon_Row"], "6 0 8 0 7 0 1 3");
  EXPECT_LT(s.StateInt("playing", "Level_Elapsed"), 500);

  auto partial = s.State("partial");
  ASSERT_EQ(partial["Current_Screen"], IdText(Screen_Game));
  EXPECT_EQ(s.StateInt("partial", "Undo_Count"), static_cast<int>(first.size()) + 1);
  auto left = s.State("left");
  EXPECT_EQ(left["Current_Screen"], IdText(Screen_MainMenu));
  EXPECT_EQ(left["Icon_States"].substr(4, 1), "1") << "LAST with a saved game";

  // LAST lays the level out as it was left, its clock going on from there: ten minutes away
  // do not count.
  auto resumed = s.State("resumed");
  EXPECT_EQ(resumed["Current_Screen"], IdText(Screen_Game));
  EXPECT_EQ(resumed["Level_Index"], "0");
  EXPECT_EQ(resumed["Board"], partial["Board"]);
  EXPECT_EQ(resumed["Undo_Count"], partial["Undo_Count"]);
  EXPECT_LT(s.StateInt("resumed", "Level_Elapsed"), s.StateInt("partial", "Level_Elapsed") + 2000);

  EXPECT_EQ(s.State("won")["Current_Screen"], IdText(Screen_Victory));
  auto back = s.State("back");
  EXPECT_EQ(back["Current_Screen"], IdText(Screen_Level_List));
  EXPECT_EQ(back["Best_Count"], "1");
  EXPECT_EQ(back["Level_List_Scroll"], "0");

  // The best scores hold level 1's time, which the map shows.
  std::string scores = DriverSession::ReadFile(s.UserFile("qUaRk_Best_Scores.bin"));
  ASSERT_EQ(scores.size(), 16u);
  std::string catalogue = DriverSession::ReadFile(std::string(QUARK_SOURCE_DIR) + "/Data/full2.lvl");
  EXPECT_EQ(scores.substr(4, 2), catalogue.substr(0, 2));
  auto u32 = [&](size_t at) {
    return static_cast<int>(static_cast<uint8_t>(scores[at]) | static_cast<uint8_t>(scores[at + 1]) << 8 |
                            static_cast<uint8_t>(scores[at + 2]) << 16 | static_cast<uint8_t>(scores[at + 3]) << 24);
  };
  EXPECT_EQ(u32(8), s.StateInt("won", "Level_Final_Time") / 1000);

  // On the map level 1's thumbnail is darkened where its board is empty, and carries labels
  // in its upper half where before there were none.
  int cell = EmptyEdgeCellOfLevelOne();
  ASSERT_GE(cell, 0);
  int px = 20 + 20 * (cell % 10) + 10, py = 20 + 20 * (cell / 10) + 10;
  ASSERT_TRUE(ShowShot(s.Root + "/before.png"));
  int before = ReadPixel(px, py);
  int labels_before = Whites(20, 22, 220, 52);
  int level_two_before = ReadPixel(262, 22);
  ASSERT_TRUE(ShowShot(s.Root + "/after.png"));
  int after = ReadPixel(px, py);
  int labels_after = Whites(20, 22, 220, 52);
  for (int shift : {16, 8, 0}) {
    EXPECT_NEAR((after >> shift) & 255, ((before >> shift) & 255) / 2, 3) << std::hex << before << " " << after;
  }
  EXPECT_GT(labels_after, labels_before + 30);
  // Level 2, never solved, looks as it did.
  EXPECT_EQ(ReadPixel(262, 22), level_two_before);
}

TEST(MenuSession, TheKeyboardEntersLevelsAndScrollsTheMap) {
  std::vector<SolutionStep> steps = ShippedSolution(0);
  if (steps.empty()) GTEST_SKIP() << "no shipped solution for level 1";
  for (const SolutionStep& st : steps) {
    if (st.dir == 'G') GTEST_SKIP() << "level 1 starts with a colour already whole";
  }
  int kx = 0, ky = 0;
  DriverSession s;
  s.WriteEnglishProfile();
  std::string script =
      "wait 2\nkey Return\nwait 2\nstate {dir}/first\n" +   // Enter on the menu: the first unsolved level
      KeyboardSolutionScript(steps, &kx, &ky) +
      "wait 400\nstate {dir}/won\n"
      "key Escape\nwait 2\nstate {dir}/menu\n"
      "key Return\nwait 2\nstate {dir}/next\n"
      "key Escape\nwait 2\nstate {dir}/menu2\n"
      "click " + At(5, 3, 74) + "\nwait 150\nstate {dir}/map\nshot {dir}/map.png\n"
      "keydown End\nwait 1\nkeyup End\nwait 1\nstate {dir}/end\n"
      "keydown PageDown\nwait 30\nkeyup PageDown\nwait 1\nstate {dir}/beyond\n"
      "key Home\nwait 1\nstate {dir}/home\n"
      "wheel -3\nwait 1\nstate {dir}/wheel\n"
      // Picking a level: two steps right, one down, Enter.
      "key Right\nkey Right\nwait 1\nkey Down\nwait 1\nstate {dir}/picked\nshot {dir}/picked.png\n"
      "key Return\nwait 2\nstate {dir}/zoom\nwait 70\nstate {dir}/started\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();

  auto first = s.State("first");
  EXPECT_EQ(first["Current_Screen"], IdText(Screen_Game));
  EXPECT_EQ(first["Level_Index"], "0");
  EXPECT_EQ(first["Key_Cursor_Mode"], "1");
  EXPECT_EQ(s.State("won")["Current_Screen"], IdText(Screen_Victory));
  EXPECT_EQ(s.State("won")["Key_Cursor_Mode"], "1");
  EXPECT_EQ(s.State("menu")["Current_Screen"], IdText(Screen_MainMenu));   // Esc on the victory screen
  auto next = s.State("next");
  EXPECT_EQ(next["Current_Screen"], IdText(Screen_Game));
  EXPECT_EQ(next["Level_Index"], "1");                 // level 1 is solved: level 2 is next
  EXPECT_EQ(s.State("menu2")["Current_Screen"], IdText(Screen_MainMenu));  // Esc in play
  EXPECT_EQ(s.State("map")["Current_Screen"], IdText(Screen_Level_List));

  // The selection starts on the current level (level 2 after the win) and stays hidden until
  // a key moves it; End and Home go to the ends of the list, and the map follows.
  EXPECT_EQ(s.StateInt("map", "Map_Selection"), 1);
  EXPECT_EQ(s.StateInt("map", "Map_Selection_Shown"), 0);
  EXPECT_EQ(s.StateInt("end", "Map_Selection"), 552);
  EXPECT_EQ(s.StateInt("end", "Map_Selection_Shown"), 1);
  EXPECT_EQ(s.State("end")["Level_List_Scroll"], "-36408");
  EXPECT_EQ(s.StateInt("beyond", "Map_Selection"), 552) << "a held key steps once";
  EXPECT_EQ(s.State("beyond")["Level_List_Scroll"], "-36408");
  EXPECT_EQ(s.StateInt("home", "Map_Selection"), 0);
  EXPECT_EQ(s.State("home")["Level_List_Scroll"], "0");
  EXPECT_NEAR(std::stof(s.State("wheel")["Level_List_Scroll"]), -120, 1);
  // Right, right, down: level 6; the first step scrolled the wheel's 120 pixels back to show
  // the top row whole. Enter starts it.
  auto picked = s.State("picked");
  EXPECT_EQ(picked["Map_Selection"], "5");
  EXPECT_EQ(picked["Level_Index"], "1") << "moving the selection starts nothing";
  EXPECT_EQ(picked["Level_List_Scroll"], "0");
  EXPECT_EQ(s.State("zoom")["Level_Index"], "5");
  EXPECT_NE(s.State("zoom")["Zoom_Until"], "0");
  EXPECT_EQ(s.State("started")["Current_Screen"], "0");
  EXPECT_EQ(s.State("started")["Level_Index"], "5");
  // The selected thumbnail wears a bright frame, which no thumbnail has before a key is pressed.
  constexpr int Frame_Colour = 0xFFD640;
  auto framed = [] {
    int count = 0;
    for (int y = 0; y < 592; y += 3) {
      for (int x = 0; x < 740; x += 3) count += ReadPixel(x, y) == Frame_Colour;
    }
    return count;
  };
  ASSERT_TRUE(ShowShot(s.Root + "/picked.png"));
  EXPECT_EQ(ReadPixel(20 + 2 * 240 - 8, 20 + 200 + 80), Frame_Colour) << "left of level 6";
  EXPECT_GT(framed(), 100);
  ASSERT_TRUE(ShowShot(s.Root + "/map.png"));
  EXPECT_EQ(framed(), 0);
}

// A keyboard script played on the game controller instead: the arrows on the d-pad, Enter on A.
std::string OnTheController(std::string script) {
  const std::pair<const char*, const char*> buttons[] = {
      {"key Right", "pad tap dpright"}, {"key Left", "pad tap dpleft"}, {"key Down", "pad tap dpdown"},
      {"key Up", "pad tap dpup"},       {"key Return", "pad tap a"},
  };
  for (const auto& [key, button] : buttons) {
    for (size_t at = script.find(key); at != std::string::npos; at = script.find(key, at)) {
      script.replace(at, std::strlen(key), button);
    }
  }
  return script;
}

// SDL's virtual game controller, plugged in while the game runs: A starts play from the menu,
// the shoulders resize, B undoes, X restarts, the stick moves the hand like the d-pad, level 1
// is played to the win on the d-pad and A, the controller is pulled out and plugged in again,
// Start goes to the menu, and on the level map the shoulders page and A picks.
TEST(MenuSession, AGameControllerPlaysLevelOneToTheWin) {
  std::vector<SolutionStep> steps = ShippedSolution(0);
  if (steps.size() < 2) GTEST_SKIP() << "no shipped solution for level 1";
  for (const SolutionStep& st : steps) {
    if (st.dir == 'G') GTEST_SKIP() << "level 1 starts with a colour already whole";
  }
  std::vector<SolutionStep> first(steps.begin(), steps.begin() + 1);
  int kx = 0, ky = 0;
  DriverSession s;
  s.WriteEnglishProfile();
  // One statement per piece: the hand's place carries from each to the next.
  std::string script =
      "wait 2\npad connect\nwait 1\npad tap a\nwait 2\nstate {dir}/first\n"
      "pad tap rightshoulder\nwait 1\nstate {dir}/grown\npad tap leftshoulder\nwait 1\n";
  script += OnTheController(KeyboardSolutionScript(first, &kx, &ky)) + "state {dir}/stepped\n";
  script += "pad tap b\nwait 2\nstate {dir}/undone\n";
  script += OnTheController(KeyboardSolutionScript(first, &kx, &ky));
  script += "pad tap x\nwait 2\nstate {dir}/restarted\n"
            "pad axis leftx 30000\nwait 1\npad axis leftx 20000\nwait 1\nstate {dir}/stick\n"
            "pad axis leftx 0\nwait 1\npad axis leftx -30000\nwait 1\npad axis leftx 0\nwait 1\n"
            "pad disconnect\nwait 1\npad connect\nwait 1\n";
  script += OnTheController(KeyboardSolutionScript(steps, &kx, &ky)) +
            "wait 400\nstate {dir}/won\n"
            "pad tap start\nwait 2\nstate {dir}/menu\n"
            "click " + At(5, 3, 74) + "\nwait 150\n"
            "pad tap rightshoulder\nwait 1\npad tap dpright\nwait 1\nstate {dir}/map\n"
            "pad tap a\nwait 80\nstate {dir}/picked\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();

  auto first_state = s.State("first");
  EXPECT_EQ(first_state["Current_Screen"], "0");
  EXPECT_EQ(first_state["Level_Index"], "0");
  EXPECT_EQ(first_state["Key_Cursor_Mode"], "1");
  EXPECT_EQ(s.StateInt("grown", "Resolution_X"), 1024);
  EXPECT_EQ(s.StateInt("stepped", "Undo_Count"), 2);
  EXPECT_EQ(s.StateInt("undone", "Undo_Count"), 1);
  EXPECT_EQ(s.State("undone")["Board"], first_state["Board"]);
  EXPECT_EQ(s.StateInt("restarted", "Undo_Count"), 1);
  EXPECT_EQ(s.State("restarted")["Board"], first_state["Board"]);
  EXPECT_EQ(s.StateInt("stick", "Key_Cursor_X"), s.StateInt("restarted", "Key_Cursor_X") + 1)
      << "the stick held right moves the hand once";
  auto won = s.State("won");
  EXPECT_EQ(won["Current_Screen"], "43");
  EXPECT_EQ(won["Blocks"], "0");
  EXPECT_EQ(s.State("menu")["Current_Screen"], "1");
  auto map = s.State("map");
  EXPECT_EQ(map["Current_Screen"], "9");
  EXPECT_EQ(map["Map_Selection"], "7") << "from level 1, the one just won: a page of six down, one right";
  EXPECT_EQ(map["Resolution_X"], "804") << "on the map the shoulders page, not resize";
  EXPECT_EQ(s.State("picked")["Current_Screen"], "0");
  EXPECT_EQ(s.State("picked")["Level_Index"], "7");
}

TEST(MenuSession, DisplaySizePlusEscFromEveryScreenAndTheBoardsOfTheTable) {
  const int B = Default_Display_Size.Cell, C = Display_Sizes[Default_Size_Row - 1].Cell;   // before and after "+"
  DriverSession s;
  s.WriteEnglishProfile();
  auto choose = [](int x, int y, int cell) { return "click " + At(x, y, cell) + "\nwait 150\n"; };
  auto esc = [](const std::string& name) { return "key Escape\nwait 2\nstate {dir}/" + name + "\n"; };
  std::string script = "wait 2\nstate {dir}/main\n" +
                       choose(5, 5, B) + "state {dir}/options\n" + esc("esc_options") +
                       choose(5, 5, B) + choose(4, 5, B) + "state {dir}/display\n" + esc("esc_display") +
                       choose(5, 5, B) + choose(4, 5, B) + choose(5, 4, B) + "state {dir}/quality\n" +
                       esc("esc_quality") +
                       choose(5, 5, B) + choose(4, 5, B) + choose(6, 5, B) + "state {dir}/screen\n" +
                       choose(8, 4, B) + "state {dir}/plus\n" + esc("esc_screen") +
                       // From here on the cells are 96 pixels.
                       choose(4, 4, C) + "state {dir}/tutorial\n" + esc("esc_tutorial") +
                       choose(5, 5, C) + choose(5, 4, C) + "state {dir}/language\n" + esc("esc_language") +
                       choose(6, 3, C) + "state {dir}/style\n" + esc("esc_style") +
                       choose(5, 5, C) + choose(5, 6, C) + "state {dir}/credits\n" + esc("esc_credits") +
                       choose(5, 3, C) + "state {dir}/map\n" + esc("esc_map") +
                       choose(6, 6, C) + "state {dir}/never\n";   // "Quit"
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();

  struct Menu {
    const char* Name;
    int Screen;
    std::string Board;
    int Back;
  };
  const Menu menus[] = {
      {"main", Screen_MainMenu, TableBoard(Label_MainMenu), Screen_MainMenu},
      {"options", Screen_Options, TableBoard(Label_Options), Screen_MainMenu},
      {"display", Screen_Display, TableBoard(Label_Display), Screen_Options},
      {"quality", Screen_Quality, TableBoard(Label_Quality), Screen_Display},
      {"screen", Screen_Screen_Setup, TableBoard(Label_Screen, true), Screen_Display},
      {"plus", Screen_Screen_Setup, TableBoard(Label_Screen, true), Screen_Display},
      {"tutorial", Screen_Tutorial, TableBoard(Label_Tutorial), Screen_MainMenu},
  };
  for (const Menu& m : menus) {
    SCOPED_TRACE(m.Name);
    auto state = s.State(m.Name);
    EXPECT_EQ(state["Current_Screen"], std::to_string(m.Screen));
    EXPECT_EQ(state["Board"], m.Board);
    EXPECT_EQ(state["Return_Screen"], std::to_string(m.Back));
  }

  // "+" reopened the display one size up and rebuilt the menu there.
  EXPECT_EQ(s.State("screen")["Resolution_X"], "804");
  auto plus = s.State("plus");
  EXPECT_EQ(plus["Resolution_X"], "1024");
  EXPECT_EQ(plus["Resolution_Y"], "768");
  EXPECT_EQ(plus["Block_Size"], "96");
  EXPECT_EQ(plus["Previous_Screen"], IdText(Action_Bigger));

  EXPECT_EQ(s.State("language")["Current_Screen"], IdText(Screen_Language));
  EXPECT_EQ(s.State("style")["Current_Screen"], IdText(Screen_Style));
  EXPECT_EQ(s.State("credits")["Current_Screen"], IdText(Screen_Credits));
  EXPECT_EQ(s.State("map")["Current_Screen"], IdText(Screen_Level_List));
  // Esc leads to the main menu, from the language screen back to the options.
  for (const char* name : {"esc_options", "esc_display", "esc_quality", "esc_screen", "esc_tutorial", "esc_style",
                           "esc_credits", "esc_map"}) {
    EXPECT_EQ(s.State(name)["Current_Screen"], IdText(Screen_MainMenu)) << name;
    EXPECT_EQ(s.State(name)["Board"], TableBoard(Label_MainMenu)) << name;
  }
  EXPECT_EQ(s.State("esc_language")["Current_Screen"], IdText(Screen_Options));

  // "Quit" ends the game and keeps the new size.
  EXPECT_TRUE(s.State("never").empty());
  std::string profile = DriverSession::ReadFile(s.UserFile("qUaRk_User_Profile.txt"));
  EXPECT_NE(profile.find("\"Resolution X\" = 1024"), std::string::npos) << profile;
}

}  // namespace

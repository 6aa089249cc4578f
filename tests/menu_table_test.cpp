// The menu table: the game's own table passes its check, broken tables of every kind are caught,
// the cursor reads items in order and never reads past a record, the display sizes come from
// the table, and the icon rows are those of their screens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/display.h"
#include "ui/menu_table.h"

namespace {

constexpr MenuItem I(int value) { return TableInt(value); }
constexpr MenuItem S(const char16_t* text) { return TableString(text); }
constexpr MenuItem L(MenuLabel label) { return TableLabel(label); }

// A small but complete table: every label once, each record well formed. The cases below break
// one thing in it at a time.
std::vector<MenuItem> SoundTable() {
  std::vector<MenuItem> t;
  auto add = [&](std::initializer_list<MenuItem> items) { t.insert(t.end(), items); };
  auto icons = [&] { add({I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3)}); };
  for (MenuLabel label : {Label_MainMenu, Label_Options, Label_Display, Label_Quality, Label_Screen, Label_Symbols,
                          Label_Random, Label_Dead_End}) {
    add({L(label), S(u"Menu"), I(1), I(2), I(3), I(4), I(3), S(u"Play"), I(19), I(0), I(1)});
    icons();
  }
  add({L(Label_Tutorial), S(u"Tutorial"), I(0), I(3), I(1), I(1), I(2), I(0), I(1), I(5), I(1), I(1), I(5), I(1)});
  icons();
  for (MenuLabel label : {Icons_Game, Icons_LevelList, Icons_Style, Icons_Credits, Icons_Victory,
                          Icons_FirstLanguage, Icons_Language, Icons_Making}) {
    add({L(label)});
    icons();
  }
  add({L(Label_Display_Sizes), I(1564), I(1200), I(150), I(1344), I(1024), I(128), I(1024), I(768), I(96),
       I(804), I(592), I(74), I(640), I(448), I(56)});
  add({L(Tutorial_Script), I(Step_Move), I(9), I(6), I(0), I(Step_Hint), S(u"Tuto0"), I(Step_Jump), I(8), I(3), I(7),
       I(3), I(Step_Release_Icon), I(Step_End)});
  return t;
}

// The position of the item `offset` places after a label.
size_t After(const std::vector<MenuItem>& t, MenuLabel label, int offset) {
  for (size_t i = 0; i < t.size(); i++) {
    if (t[i].Type == Item_Label && t[i].Value == label) return i + 1 + offset;
  }
  ADD_FAILURE() << "no label " << MenuLabelName(label);
  return 0;
}

std::vector<std::string> Check(const std::vector<MenuItem>& t) {
  return CheckMenuTable(t.data(), static_cast<int>(t.size()));
}

std::string Joined(const std::vector<std::string>& problems) {
  std::string all;
  for (const std::string& p : problems) all += p + "\n";
  return all;
}

TEST(MenuTable, TheGamesTableReadsAsItsReadersExpect) {
  EXPECT_EQ(Joined(CheckMenuTable(Menu_Table, Menu_Table_Size)), "");
  EXPECT_EQ(Joined(Check(SoundTable())), "");
}

TEST(MenuTable, EveryKindOfBrokenTableIsCaught) {
  struct Case {
    const char* Name;
    void (*Break)(std::vector<MenuItem>&);
    const char* Expected;   // part of the problem text
  };
  const Case cases[] = {
      {"a decoration count larger than its runs",
       [](std::vector<MenuItem>& t) { t[After(t, Label_Tutorial, 2)] = I(4); }, "Tutorial: run y 9 outside"},
      {"a decoration count smaller than its runs",
       [](std::vector<MenuItem>& t) { t[After(t, Label_Tutorial, 2)] = I(2); }, "Tutorial: items left over"},
      {"a run longer than the count left",
       [](std::vector<MenuItem>& t) { t[After(t, Label_Tutorial, 2)] = I(1); }, "Tutorial: a run of 2 blocks with only 1"},
      {"a run of length 0, which would never use the count up",
       [](std::vector<MenuItem>& t) { t[After(t, Label_Tutorial, 5)] = I(0); }, "run length 0 outside"},
      {"a kind that is no colour",
       [](std::vector<MenuItem>& t) { t[After(t, Label_Tutorial, 6)] = I(6); }, "kind 6 outside 0..5"},
      {"an option without its action",
       [](std::vector<MenuItem>& t) { t.erase(t.begin() + static_cast<long>(After(t, Label_Options, 7))); },
       "Options: "},
      {"a string where a cell belongs",
       [](std::vector<MenuItem>& t) { t[After(t, Label_Display, 2)] = S(u"2"); }, "Display: a string where the integer 'loose x'"},
      {"a caption bar that leaves the board",
       [](std::vector<MenuItem>& t) { t[After(t, Label_Quality, 4)] = I(7); }, "Quality: bar x 7 outside"},
      {"two blocks on one cell",
       [](std::vector<MenuItem>& t) { t[After(t, Label_Screen, 2)] = I(4); }, "Screen: cell (4,3) taken twice"},
      {"an icon row one short",
       [](std::vector<MenuItem>& t) { t.erase(t.begin() + static_cast<long>(After(t, Icons_Victory, 0))); },
       "Icons_Victory: runs into the next label"},
      {"an icon row one too long",
       [](std::vector<MenuItem>& t) { t.insert(t.begin() + static_cast<long>(After(t, Icons_Game, 0)), I(3)); },
       "Icons_Game: items left over"},
      {"an icon that does not exist",
       [](std::vector<MenuItem>& t) { t[After(t, Icons_Credits, 0)] = I(12); }, "Icons_Credits: icon 12 outside"},
      {"a label given twice",
       [](std::vector<MenuItem>& t) { t[After(t, Icons_Style, -1)] = L(Icons_LevelList); }, "Icons_LevelList is given more than once"},
      {"a label missing",
       [](std::vector<MenuItem>& t) { t[After(t, Icons_Style, -1)] = L(Icons_LevelList); }, "label Icons_Style is missing"},
      {"display heights that do not fall",
       [](std::vector<MenuItem>& t) { t[After(t, Label_Display_Sizes, 4)] = I(1200); }, "heights do not fall"},
      {"a script step that does not exist",
       [](std::vector<MenuItem>& t) { t[After(t, Tutorial_Script, 4)] = I(7); }, "step code 7 outside"},
      {"a script without its end",
       [](std::vector<MenuItem>& t) { t.pop_back(); }, "Tutorial_Script: the table ends"},
      {"items before the first label",
       [](std::vector<MenuItem>& t) { t.insert(t.begin(), I(1)); }, "before the first label"},
  };
  for (const Case& c : cases) {
    std::vector<MenuItem> t = SoundTable();
    c.Break(t);
    std::string problems = Joined(Check(t));
    EXPECT_NE(problems.find(c.Expected), std::string::npos) << c.Name << ":\n" << problems;
  }
}

TEST(MenuTable, TheCursorReadsInOrderAndStopsAtWhatItCannotRead) {
  RestoreTable(Label_MainMenu);
  EXPECT_EQ(ReadTableString(), u"MainMenu");
  EXPECT_EQ(ReadTableInt(), 5);
  // An integer read where a string stands gives 0 and leaves the cursor: the string is next.
  EXPECT_EQ(ReadTableInt(), 2);
  EXPECT_EQ(ReadTableInt(), 3);
  EXPECT_EQ(ReadTableInt(), 4);
  EXPECT_EQ(ReadTableInt(), 3);
  EXPECT_EQ(ReadTableInt(), 0);
  EXPECT_EQ(ReadTableString(), u"Play");
  EXPECT_EQ(ReadTableString(), u"");
  EXPECT_EQ(ReadTableInt(), 19);

  // At the end of a record the next label stops the reader; restoring starts over.
  RestoreTable(Icons_Victory);
  for (int i = 0; i < 8; i++) ReadTableInt();
  int at = Menu_Table_Cursor;
  EXPECT_EQ(ReadTableInt(), 0);
  EXPECT_EQ(ReadTableString(), u"");
  EXPECT_EQ(Menu_Table_Cursor, at);

  // Past the end of the table there is nothing to read.
  Menu_Table_Cursor = Menu_Table_Size;
  EXPECT_EQ(ReadTableInt(), 0);
  EXPECT_EQ(ReadTableString(), u"");
  EXPECT_EQ(Menu_Table_Cursor, Menu_Table_Size);
}

std::vector<int> IconRow(MenuLabel label) {
  RestoreTable(label);
  std::vector<int> row;
  for (int i = 0; i < 8; i++) row.push_back(ReadTableInt());
  return row;
}

TEST(MenuTable, IconRowsAreThoseOfTheirScreens) {
  using Row = std::vector<int>;
  EXPECT_EQ(IconRow(Icons_Game), (Row{6, 0, 8, 0, 7, 0, 1, 3}));
  EXPECT_EQ(IconRow(Icons_Victory), (Row{0, 0, 0, 0, 0, 0, 1, 3}));
  EXPECT_EQ(IconRow(Icons_FirstLanguage), (Row{0, 0, 0, 0, 0, 0, 0, 3}));
  for (MenuLabel label : {Icons_LevelList, Icons_Style, Icons_Credits, Icons_Language}) {
    EXPECT_EQ(IconRow(label), (Row{9, 0, 11, 0, 0, 0, 0, 3})) << MenuLabelName(label);
  }
}

TEST(MenuTable, TheDisplaySizesAreTheTablesRows) {
  RestoreTable(Label_Display_Sizes);
  for (const DisplaySize& row : Display_Sizes) {
    EXPECT_EQ(row.Width, ReadTableInt());
    EXPECT_EQ(row.Height, ReadTableInt());
    EXPECT_EQ(row.Cell, ReadTableInt());
  }
  EXPECT_EQ(Display_Sizes[0].Width, 1564);
  EXPECT_EQ(Display_Sizes[4].Height, 448);
  // Every row but the smallest is ten cells and a 64-pixel side bar wide.
  for (int row = 0; row + 1 < Display_Size_Count; row++) {
    EXPECT_EQ(Display_Sizes[row].Width, 10 * Display_Sizes[row].Cell + 64);
    EXPECT_EQ(Display_Sizes[row].Height, 8 * Display_Sizes[row].Cell);
  }
  EXPECT_EQ(Display_Sizes[4].Width, 640);
  const DisplaySize& fresh = Display_Sizes[Default_Size_Row];
  EXPECT_EQ(fresh.Width, Default_Display_Size.Width);
  EXPECT_EQ(fresh.Height, Default_Display_Size.Height);
  EXPECT_EQ(fresh.Cell, Default_Display_Size.Cell);
}

}  // namespace

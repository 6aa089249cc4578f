// The constant menu table, its cursor, and the check that its records read as their readers
// expect.
#include "ui/menu_table.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "app/display.h"
#include "app/state.h"

namespace {
// Short names keep the records below readable as rows.
constexpr MenuItem I(int value) { return TableInt(value); }
constexpr MenuItem S(const char16_t* text) { return TableString(text); }
constexpr MenuItem L(MenuLabel label) { return TableLabel(label); }
// The tutorial's step codes as items of its script.
constexpr MenuItem Hand_To = I(Step_Move), Hand_Waits = I(Step_Wait), Show_Hint = I(Step_Hint),
                   Hand_Presses = I(Step_Press), Jump_Back = I(Step_Jump),
                   Undo_Icon_Off = I(Step_Release_Icon), Script_End = I(Step_End);
}  // namespace

// A menu record: title, option count, per option its loose cell, the first cell of its four-cell
// caption bar, the caption key and the screen it leads to; then the number of decoration blocks
// and their runs (x0, y, length, one kind per cell); then where "back" leads and the icon row.
// Option i is colour i. Icon numbers (IconNumber, app/sidebar.h): 1 MENU, 3 music, 6 UNDO,
// 7 TIME, 8 RESTART, 9 BACK, 11 LAST.
constexpr MenuItem Menu_Table[] = {
    L(Label_MainMenu), S(u"MainMenu"), I(5),
        I(2), I(3), I(4), I(3), S(u"Play"), I(Action_Play),
        I(1), I(4), I(3), I(4), S(u"Rules"), I(Screen_Tutorial),
        I(2), I(5), I(4), I(5), S(u"Options"), I(Screen_Options),
        I(3), I(6), I(5), I(6), S(u"Quit"), I(Screen_Quit),
        I(1), I(2), I(3), I(2), S(u"Random Level"), I(Screen_Difficulty),
        I(0),
        I(Screen_MainMenu),
        I(0), I(0), I(11), I(0), I(0), I(0), I(0), I(3),

    // A level made on demand at the difficulty chosen, or the level of the day.
    L(Label_Random), S(u"Random Level"), I(5),
        I(2), I(2), I(4), I(2), S(u"Easy"), I(Action_Random_Easy),
        I(1), I(3), I(3), I(3), S(u"Medium"), I(Action_Random_Medium),
        I(2), I(4), I(4), I(4), S(u"Hard"), I(Action_Random_Hard),
        I(1), I(5), I(3), I(5), S(u"Insane"), I(Action_Random_Expert),
        I(3), I(6), I(5), I(6), S(u"Daily Level"), I(Action_Level_Of_Day),
        I(0),
        I(Screen_MainMenu),
        I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),

    L(Label_Options), S(u"Options"), I(5),
        I(3), I(3), I(5), I(3), S(u"Style"), I(Screen_Style),
        I(2), I(4), I(4), I(4), S(u"Language"), I(Screen_Language),
        I(1), I(5), I(3), I(5), S(u"Display"), I(Screen_Display),
        I(2), I(6), I(4), I(6), S(u"Credits"), I(Screen_Credits),
        I(3), I(7), I(5), I(7), S(u"Dead Ends"), I(Screen_Dead_End),
        I(0),
        I(Screen_MainMenu),
        I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),

    L(Label_Display), S(u"Display"), I(3),
        I(2), I(4), I(4), I(4), S(u"Quality"), I(Screen_Quality),
        I(3), I(5), I(5), I(5), S(u"Screen"), I(Screen_Screen_Setup),
        I(2), I(6), I(4), I(6), S(u"Symbols"), I(Screen_Symbols),
        I(0),
        I(Screen_Options),
        I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),

    L(Label_Quality), S(u"Quality"), I(2),
        I(3), I(4), I(5), I(4), S(u"High"), I(Action_Details_High),
        I(2), I(5), I(4), I(5), S(u"Low"), I(Action_Details_Low),
        I(0),
        I(Screen_Display),
        I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),

    // The "-" and "+" entries are added by the screen set-up, outside best-fit full screen.
    L(Label_Screen), S(u"Screen"), I(3),
        I(1), I(4), I(3), I(4), S(u"Windowed"), I(Action_Windowed),
        I(3), I(6), I(4), I(5), S(u"Center"), I(Action_Full_Centred),
        I(2), I(5), I(5), I(6), S(u"Full"), I(Action_Full_Best_Fit),
        I(0),
        I(Screen_Display),
        I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),

    // The colour-blind aid: a symbol on every block of the six colours, or colours alone.
    L(Label_Symbols), S(u"Symbols"), I(2),
        I(3), I(4), I(5), I(4), S(u"On"), I(Action_Symbols_On),
        I(2), I(5), I(4), I(5), S(u"Off"), I(Action_Symbols_Off),
        I(0),
        I(20),
        I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),

    // The dead-end watch: a mark on the board as soon as a move leaves no way to an empty board.
    L(Label_Dead_End), S(u"Dead Ends"), I(2),
        I(3), I(4), I(5), I(4), S(u"On"), I(Action_Dead_End_On),
        I(2), I(5), I(4), I(5), S(u"Off"), I(Action_Dead_End_Off),
        I(0),
        I(Screen_Options),
        I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),

    // The tutorial's starting board: no options, eighteen blocks of colours 0, 1 and 5.
    L(Label_Tutorial), S(u"Tutorial"), I(0),
        I(18),
        I(1), I(1), I(3), I(0), I(1), I(5),
        I(5), I(1), I(4), I(1), I(0), I(1), I(5),
        I(2), I(2), I(1), I(5),
        I(5), I(2), I(4), I(5), I(1), I(1), I(0),
        I(1), I(3), I(3), I(1), I(5), I(0),
        I(6), I(3), I(1), I(0),
        I(2), I(4), I(1), I(0),
        I(5), I(4), I(1), I(5),
        I(Screen_MainMenu),
        I(6), I(0), I(11), I(0), I(0), I(0), I(1), I(3),

    // Icon rows of the screens that are not menus.
    L(Icons_Game),          I(6), I(0), I(8),  I(0), I(7), I(0), I(1), I(3),
    L(Icons_LevelList),     I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),
    L(Icons_Style),         I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),
    L(Icons_Credits),       I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),
    L(Icons_Victory),       I(0), I(0), I(0),  I(0), I(0), I(0), I(1), I(3),
    L(Icons_FirstLanguage), I(0), I(0), I(0),  I(0), I(0), I(0), I(0), I(3),
    L(Icons_Language),      I(9), I(0), I(11), I(0), I(0), I(0), I(0), I(3),
    L(Icons_Making),        I(9), I(0), I(0),  I(0), I(0), I(0), I(0), I(3),

    // The play-area sizes, largest first: width, height, cell. Every row but the last is ten
    // cells and a 64-pixel side bar wide; the last keeps 640 pixels, an 80-pixel side bar.
    L(Label_Display_Sizes),
        I(1564), I(1200), I(150),
        I(1344), I(1024), I(128),
        I(1024), I(768),  I(96),
        I(804),  I(592),  I(74),
        I(640),  I(448),  I(56),

    // The tutorial's demonstration lives with the tutorial, in its own file.
#include "ui/tutorial_script.inc"
};

const int Menu_Table_Size = static_cast<int>(std::size(Menu_Table));
int Menu_Table_Cursor = 0;

MenuRecordKind MenuLabelKind(MenuLabel label) {
  switch (label) {
    case Label_MainMenu: case Label_Options: case Label_Display: case Label_Quality:
    case Label_Screen: case Label_Symbols: case Label_Tutorial: case Label_Random: case Label_Dead_End:
      return Record_Menu;
    case Label_Display_Sizes: return Record_Display_Sizes;
    case Tutorial_Script: return Record_Tutorial_Script;
    default: return Record_Icon_Row;
  }
}

const char* MenuLabelName(MenuLabel label) {
  static const char* const Names[Menu_Label_Count] = {
      "MainMenu", "Options", "Display", "Quality", "Screen", "Symbols", "Tutorial", "Icons_Game",
      "Icons_LevelList", "Icons_Style", "Icons_Credits", "Icons_Victory", "Icons_FirstLanguage",
      "Icons_Language", "Display_Sizes", "Tutorial_Script", "Random", "Icons_Making", "Dead_End"};
  return label >= 0 && label < Menu_Label_Count ? Names[label] : "?";
}

void RestoreTable(MenuLabel label) {
  for (int i = 0; i < Menu_Table_Size; i++) {
    if (Menu_Table[i].Type == Item_Label && Menu_Table[i].Value == label) {
      Menu_Table_Cursor = i + 1;
      return;
    }
  }
  // A label the table lacks leaves nothing to read.
  Menu_Table_Cursor = Menu_Table_Size;
}

int ReadTableInt() {
  if (Menu_Table_Cursor < 0 || Menu_Table_Cursor >= Menu_Table_Size) return 0;
  const MenuItem& item = Menu_Table[Menu_Table_Cursor];
  if (item.Type != Item_Int) return 0;
  Menu_Table_Cursor++;
  return item.Value;
}

String ReadTableString() {
  if (Menu_Table_Cursor < 0 || Menu_Table_Cursor >= Menu_Table_Size) return String();
  const MenuItem& item = Menu_Table[Menu_Table_Cursor];
  if (item.Type != Item_String) return String();
  Menu_Table_Cursor++;
  return item.Text ? String(item.Text) : String();
}

// ---- The check ----
namespace {

constexpr int Max_Icon = 11;
constexpr int Last_Colour = 5;

// Reads one record the way its reader will, noting the first thing that does not fit.
class RecordCheck {
 public:
  RecordCheck(const MenuItem* items, int count, int at, const char* label, std::vector<std::string>& problems)
      : items_(items), count_(count), at_(at), label_(label), problems_(problems) {}

  bool Failed() const { return failed_; }
  void Fail(const std::string& why) {
    if (failed_) return;
    failed_ = true;
    problems_.push_back(std::string(label_) + ": " + why + " (item " + std::to_string(at_) + ")");
  }

  int Int(const char* what, int lo, int hi) {
    if (failed_) return 0;
    if (!Have(what)) return 0;
    if (items_[at_].Type != Item_Int) {
      Fail(std::string("a string where the integer '") + what + "' belongs");
      return 0;
    }
    int value = items_[at_].Value;
    if (value < lo || value > hi) {
      Fail(std::string(what) + " " + std::to_string(value) + " outside " + std::to_string(lo) + ".." +
           std::to_string(hi));
      return 0;
    }
    at_++;
    return value;
  }

  void Str(const char* what) {
    if (failed_) return;
    if (!Have(what)) return;
    if (items_[at_].Type != Item_String || !items_[at_].Text) {
      Fail(std::string("an integer where the string '") + what + "' belongs");
      return;
    }
    at_++;
  }

  // A record ends where the next label (or the table) begins.
  void End() {
    if (!failed_ && at_ < count_ && items_[at_].Type != Item_Label) Fail("items left over after the record");
  }

 private:
  bool Have(const char* what) {
    if (at_ >= count_) {
      Fail(std::string("the table ends before '") + what + "'");
      return false;
    }
    if (items_[at_].Type == Item_Label) {
      Fail(std::string("runs into the next label before '") + what + "'");
      return false;
    }
    return true;
  }

  const MenuItem* items_;
  int count_;
  int at_;
  const char* label_;
  std::vector<std::string>& problems_;
  bool failed_ = false;
};

void CheckIconRow(RecordCheck& r) {
  for (int slot = 0; slot < 8; slot++) r.Int("icon", 0, Max_Icon);
}

void CheckMenuRecord(RecordCheck& r) {
  bool taken[10][8] = {};
  auto place = [&](int x, int y) {
    if (r.Failed()) return;
    if (x < 0 || x > 9 || y < 0 || y > 7) {
      r.Fail("cell (" + std::to_string(x) + "," + std::to_string(y) + ") off the board");
    } else if (taken[x][y]) {
      r.Fail("cell (" + std::to_string(x) + "," + std::to_string(y) + ") taken twice");
    } else {
      taken[x][y] = true;
    }
  };
  r.Str("title");
  int options = r.Int("option count", 0, Last_Colour + 1);
  for (int i = 0; i < options && !r.Failed(); i++) {
    int lx = r.Int("loose x", 0, 9), ly = r.Int("loose y", 0, 7);
    int bx = r.Int("bar x", 0, 6), by = r.Int("bar y", 0, 7);
    place(lx, ly);
    for (int x = bx; x < bx + 4; x++) place(x, by);
    r.Str("caption key");
    r.Int("action", 1, 99);
  }
  int left = r.Int("decoration count", 0, 80);
  while (left != 0 && !r.Failed()) {
    int x0 = r.Int("run x", 0, 9), y = r.Int("run y", 0, 7);
    int length = r.Int("run length", 1, 10);
    if (r.Failed()) break;
    if (length > left) {
      r.Fail("a run of " + std::to_string(length) + " blocks with only " + std::to_string(left) + " counted");
      break;
    }
    for (int x = x0; x < x0 + length; x++) {
      r.Int("kind", 0, Last_Colour);
      place(x, y);
    }
    left -= length;
  }
  r.Int("back", 0, 99);
  CheckIconRow(r);
}

void CheckDisplaySizes(RecordCheck& r) {
  int previous_height = 1 << 30;
  for (int row = 0; row < Display_Size_Count && !r.Failed(); row++) {
    r.Int("width", 1, 1 << 15);
    int height = r.Int("height", 1, 1 << 15);
    r.Int("cell", 1, 1 << 12);
    // The size keys find the current row by its height, so heights must fall strictly.
    if (!r.Failed() && height >= previous_height) r.Fail("heights do not fall from row to row");
    previous_height = height;
  }
}

void CheckTutorialScript(RecordCheck& r) {
  for (;;) {
    int code = r.Int("step code", Step_End, Step_Release_Icon);
    if (r.Failed() || code == Step_End) return;
    switch (code) {
      case Step_Move: r.Int("x", -1, 10); r.Int("y", -1, 9); r.Int("pressed", 0, 1); break;
      case Step_Wait: r.Int("wait", 0, 60000); break;
      case Step_Hint: r.Str("hint key"); break;
      case Step_Press: r.Int("press", 0, 60000); break;
      case Step_Jump: r.Int("x1", 0, 9); r.Int("y1", 0, 7); r.Int("x2", 0, 9); r.Int("y2", 0, 7); break;
      default: break;   // Step_Release_Icon: no operands
    }
  }
}

}  // namespace

std::vector<std::string> CheckMenuTable(const MenuItem* items, int count) {
  std::vector<std::string> problems;
  int seen[Menu_Label_Count] = {};
  if (count > 0 && items[0].Type != Item_Label) problems.push_back("items before the first label can never be read");
  for (int i = 0; i < count; i++) {
    if (items[i].Type != Item_Label) continue;
    int value = items[i].Value;
    if (value < 0 || value >= Menu_Label_Count) {
      problems.push_back("unknown label " + std::to_string(value) + " (item " + std::to_string(i) + ")");
      continue;
    }
    MenuLabel label = static_cast<MenuLabel>(value);
    seen[label]++;
    RecordCheck r(items, count, i + 1, MenuLabelName(label), problems);
    switch (MenuLabelKind(label)) {
      case Record_Menu: CheckMenuRecord(r); break;
      case Record_Icon_Row: CheckIconRow(r); break;
      case Record_Display_Sizes: CheckDisplaySizes(r); break;
      case Record_Tutorial_Script: CheckTutorialScript(r); break;
    }
    r.End();
  }
  for (int label = 0; label < Menu_Label_Count; label++) {
    if (seen[label] != 1) {
      problems.push_back(std::string("label ") + MenuLabelName(static_cast<MenuLabel>(label)) +
                         (seen[label] == 0 ? " is missing" : " is given more than once"));
    }
  }
  return problems;
}

void VerifyMenuTable() {
  static bool checked = false;
  if (checked) return;
  checked = true;
  std::vector<std::string> problems = CheckMenuTable(Menu_Table, Menu_Table_Size);
  for (const std::string& p : problems) std::fprintf(stderr, "menu table: %s\n", p.c_str());
#ifndef NDEBUG
  // A table that reads wrongly would build menus from the wrong items; stop while developing.
  if (!problems.empty()) std::abort();
#endif
}

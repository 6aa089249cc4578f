// The language screen in-process: which files of the language folder are offered, the grid of
// flags, and the hover with its sound.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/frame_loop.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/state.h"
#include "i18n/language.h"
#include "i18n/language_select.h"
#include "platform/headless.h"
#include "tests/test_wav.h"

namespace {

const char* const Shipped[][2] = {
    {"FR", "French.png"},     {"EN", "English.png"},   {"NL", "Dutch.png"},   {"PT", "Portuguese.png"},
    {"ES", "Espanol.png"},    {"PL", "Polish.png"},    {"DE", "Deutsch.png"}, {"HU", "Hungarian.png"},
    {"IT", "Italiano.png"},   {"CN", "Chinese.png"},   {"HE", "Hebrew.png"},  {"BG", "Bulgarian.png"},
    {"SV", "Swedish.png"},    {"ZA", "Suid-Afrika.png"}, {"RO", "Romanian.png"},
};

std::set<std::string> OfferedCodes() {
  std::set<std::string> codes;
  for (const auto& lang : Language_List) codes.insert(ToUtf8(lang->code));
  return codes;
}

class LanguageScreen : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    SetFallbackFont(u"incbin::Data/cjk_fallback.ttf");
  }
  static void TearDownTestSuite() { SetFallbackFont(u""); }

  void SetUp() override {
    char pattern[] = "/tmp/quark-langdir-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Dir = pattern;
    Saved_Dir = Language_Dir;
    Language_Dir = FromLatin1(Dir);
    for (const auto& row : Shipped) {
      for (const std::string& name : {std::string("qUaRk_text_") + row[0] + ".txt", std::string(row[1])}) {
        std::filesystem::copy_file(std::string(QUARK_SOURCE_DIR) + "/Data/" + name, Dir + "/" + name);
      }
    }
  }
  void TearDown() override {
    Language_List.clear();
    Hovered_Language = nullptr;
    Language_Dir = Saved_Dir;
    std::filesystem::remove_all(Dir);
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Dir + "/" + name, std::ios::binary) << bytes;
  }
  static std::string Header(const std::string& code, const std::string& name, const std::string& flag) {
    return "\xEF\xBB\xBF{ language name " + code + "\r\n\"LCode\"\t=\t\"" + code + "\"\r\n\"LLanguage\"\t=\t\"" + name +
           "\"\r\n\"LFlagFile\"\t=\t\"" + flag + "\"\r\n";
  }

  std::string Dir;
  String Saved_Dir;
};

TEST_F(LanguageScreen, TheFifteenShippedLanguagesAreOffered) {
  EXPECT_EQ(ScanLanguages(), 0);
  ASSERT_EQ(Language_List.size(), 15u);
  std::set<std::string> expected;
  for (const auto& row : Shipped) expected.insert(row[0]);
  EXPECT_EQ(OfferedCodes(), expected);
  for (const auto& lang : Language_List) {
    EXPECT_NE(lang->bitmap, nullptr) << ToUtf8(lang->code);
    EXPECT_EQ(lang->file, Language_Dir + u"/qUaRk_text_" + lang->code + u".txt");
    EXPECT_FALSE(lang->name.empty());
  }
  // A second visit builds the list anew rather than adding to it.
  ScanLanguages();
  EXPECT_EQ(Language_List.size(), 15u);
}

TEST_F(LanguageScreen, FlagsComeInTheOrderOfTheirCodesOnEveryMachine) {
  // Files written in an order the folder need not keep: a player's second English file, and a
  // lower-case code that sorts with the capitals.
  Write("qUaRk_text_zz_mine.txt", Header("EN", "English (mine)", "English.png"));
  Write("qUaRk_text_aa.txt", Header("gr", "Greek", "French.png"));
  ScanLanguages();
  std::vector<std::string> codes;
  for (const auto& lang : Language_List) codes.push_back(ToUtf8(lang->code));
  EXPECT_EQ(codes, (std::vector<std::string>{"BG", "CN", "DE", "EN", "EN", "ES", "FR", "gr", "HE", "HU", "IT",
                                             "NL", "PL", "PT", "RO", "SV", "ZA"}));
  // One code twice: by the files' paths.
  ASSERT_EQ(codes.size(), 17u);
  EXPECT_EQ(Language_List[3]->file, Language_Dir + u"/qUaRk_text_EN.txt");
  EXPECT_EQ(Language_List[4]->file, Language_Dir + u"/qUaRk_text_zz_mine.txt");
}

TEST_F(LanguageScreen, OnlyCompleteLanguageFilesAreOffered) {
  const struct {
    const char* File;
    std::string Bytes;
    const char* Code;   // the code it would be offered under
    bool Offered;
  } cases[] = {
      {"qUaRk_text_UP.TXT", Header("UP", "Upper", "French.png"), "UP", true},
      {"my_qUaRk_text_MI.txt", Header("MI", "Middle", "French.png"), "MI", true},
      {"quark_text_LC.txt", Header("LC", "Lower", "French.png"), "LC", false},
      {"QUARK_TEXT_CA.txt", Header("CA", "Capitals", "French.png"), "CA", false},
      {"qUaRk_text_XX.dat", Header("XD", "Other extension", "French.png"), "XD", false},
      {"qUaRk_text_NF.txt", Header("NF", "No flag", "Nowhere.png"), "NF", false},
      {"qUaRk_text_FD.txt", Header("FD", "Folder as flag", ""), "FD", false},
      {"qUaRk_text_PU.txt", Header("PU", "\xEE\x80\x80", "French.png"), "PU", false},   // no glyph
      {"qUaRk_text_NC.txt", "\xEF\xBB\xBF{ x\r\n\"LLanguage\" = \"No code\"\r\n\"LFlagFile\" = \"French.png\"\r\n",
       "", false},
      // A later line overrides an earlier one: here an empty code is replaced.
      {"qUaRk_text_LT.txt", Header("", "Later", "French.png") + "\"lcode\" = \"LT\"\r\n", "LT", true},
      // Latin-1 without a mark: the first line is an entry like any other.
      {"qUaRk_text_L1.txt", "\"LCode\" = \"L1\"\r\n\"LLanguage\" = \"Fran\xE7" "ais\"\r\n\"LFlagFile\" = \"French.png\"",
       "L1", true},
  };
  for (const auto& c : cases) Write(c.File, c.Bytes);
  // An empty code next to a name and a flag.
  Write("qUaRk_text_EC.txt", Header("", "Empty code", "French.png"));
  ScanLanguages();
  const std::set<std::string> offered = OfferedCodes();
  for (const auto& c : cases) {
    EXPECT_EQ(offered.count(c.Code) == 1, c.Offered) << c.File;
  }
  EXPECT_EQ(offered.count(""), 0u);
  EXPECT_EQ(Language_List.size(), 15u + 4u);
}

TEST_F(LanguageScreen, AFlagThatCannotBeLoadedStillOffersTheLanguage) {
  Write("Broken.png", "not a picture");
  Write("qUaRk_text_BR.txt", Header("BR", "Broken flag", "Broken.png"));
  testing::internal::CaptureStderr();
  ScanLanguages();
  const std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_NE(messages.find("error loading flag bitmap: " + Dir + "/Broken.png"), std::string::npos) << messages;
  auto it = std::find_if(Language_List.begin(), Language_List.end(), [](const auto& l) { return l->code == u"BR"; });
  ASSERT_NE(it, Language_List.end());
  EXPECT_EQ((*it)->bitmap, nullptr);
}

TEST_F(LanguageScreen, AFlagNameWithAccentsFindsItsFileOnDisk) {
  // The name on disk is UTF-8; the language file spells it in UTF-8 here and in Latin-1 there.
  std::filesystem::copy_file(Dir + "/French.png", Dir + "/Espa\xC3\xB1olx.png");
  Write("qUaRk_text_X8.txt", Header("X8", "Espa\xC3\xB1ol", "Espa\xC3\xB1olx.png"));
  Write("qUaRk_text_X1.txt", "\"LCode\" = \"X1\"\r\n\"LLanguage\" = \"Espa\xF1ol\"\r\n"
                             "\"LFlagFile\" = \"Espa\xF1olx.png\"\r\n");
  ScanLanguages();
  for (const char16_t* code : {u"X8", u"X1"}) {
    auto it = std::find_if(Language_List.begin(), Language_List.end(),
                           [code](const auto& l) { return l->code == code; });
    ASSERT_NE(it, Language_List.end()) << ToUtf8(code);
    EXPECT_NE((*it)->bitmap, nullptr) << ToUtf8(code);
    EXPECT_EQ((*it)->name, u"Espa\u00F1ol") << ToUtf8(code);
  }
}

TEST_F(LanguageScreen, AFolderThatCannotBeReadOffersNothing) {
  ScanLanguages();
  ASSERT_FALSE(Language_List.empty());
  Language_Dir = FromLatin1(Dir + "/missing");
  testing::internal::CaptureStderr();
  ScanLanguages();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("failed to read Data/ directory"), std::string::npos);
  EXPECT_TRUE(Language_List.empty());
  EXPECT_EQ(Hovered_Language, nullptr);
}

TEST_F(LanguageScreen, FlagsAreLaidOutInCentredRows) {
  const struct {
    int Block, Resolution_Y, Count;
    std::vector<int> Row_Sizes;
  } cases[] = {
      {74, 592, 15, {7, 7, 1}},
      {96, 768, 15, {9, 6}},
      {56, 448, 15, {5, 5, 5}},
      {150, 1200, 3, {3}},
      {8, 64, 2, {1, 1}},   // a board narrower than a flag still gets one a row
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Block);
    Language_List.clear();
    for (int i = 0; i < c.Count; i++) T_LANG::AddLanguage(u"f", u"C", u"n", FromLatin1(Dir + "/French.png"));
    Block_Size = c.Block;
    Resolution_Y = c.Resolution_Y;
    T_LANG::InitFlagsSelection();
    const int rows = static_cast<int>(c.Row_Sizes.size());
    int y = (c.Resolution_Y - rows * 80 + 5) / 2 + 40;
    size_t index = 0;
    for (int in_row : c.Row_Sizes) {
      // The row is centred: as much room left of the first flag as right of the last.
      const int x = (10 * c.Block - in_row * 105 + 5) / 2;
      for (int k = 0; k < in_row; k++, index++) {
        const T_LANG& lang = *Language_List[index];
        EXPECT_EQ(lang.x0, x + 105 * k) << index;
        EXPECT_EQ(lang.x1, lang.x0 + 100) << index;
        EXPECT_EQ(lang.y0, y) << index;
        EXPECT_EQ(lang.y1, y + 75) << index;
      }
      y += 80;
    }
    EXPECT_EQ(index, Language_List.size());
  }
  // B = 74: the lone flag of the last row sits in the middle of the 740-pixel board.
  Language_List.clear();
  for (int i = 0; i < 15; i++) T_LANG::AddLanguage(u"f", u"C", u"n", FromLatin1(Dir + "/French.png"));
  Block_Size = 74;
  Resolution_Y = 592;
  T_LANG::InitFlagsSelection();
  EXPECT_EQ(Language_List[14]->x0 + Language_List[14]->x1, 740);
  EXPECT_EQ(Language_List[0]->y0, 218);
}

TEST_F(LanguageScreen, EveryFlagStaysOnTheBoardWhenThePlayAreaChangesSize) {
  const String saved_font = Font_Url;
  const int saved_screen = Current_Screen;
  Font_Url = u"incbin::Data/a2.ttf";
  Desktop_Width = 2560;
  Desktop_Height = 1600;
  Screen_Mode = 0;
  Wanted_Resolution_X = Display_Sizes[0].Width;
  Wanted_Resolution_Y = Display_Sizes[0].Height;
  Wanted_Block_Size = Display_Sizes[0].Cell;
  ApplyDisplayMode();
  SetCurrentScreen(Screen_First_Language);
  ScanLanguages();
  ASSERT_EQ(Language_List.size(), 15u);
  T_LANG::InitFlagsSelection();
  // All the way down the size table and back up, as "-" and "+" would go.
  const int steps[] = {-1, -1, -1, -1, 1, 1, 1, 1};
  for (int direction : steps) {
    ResizePlayArea(direction);
    SCOPED_TRACE(Block_Size);
    for (const auto& lang : Language_List) {
      EXPECT_GE(lang->x0, 0) << ToUtf8(lang->code);
      EXPECT_LT(lang->x1, 10 * Block_Size) << ToUtf8(lang->code);
      EXPECT_GE(lang->y0, 0) << ToUtf8(lang->code);
      EXPECT_LT(lang->y1, Resolution_Y) << ToUtf8(lang->code);
    }
  }
  EXPECT_EQ(Block_Size, Display_Sizes[0].Cell);
  SetCurrentScreen(saved_screen);
  Font_Url = saved_font;
}

TEST_F(LanguageScreen, HoverSoundsOncePerFlagAndAClickChooses) {
  static const std::string wav = MakeWav(200, 0);
  RegisterResource(u"Test/hover.wav", reinterpret_cast<const uint8_t*>(wav.data()), wav.size());
  Sound* hover = LoadSound(u"incbin::Test/hover.wav");
  ASSERT_NE(hover, nullptr);
  SetVirtualMillisecs(10000);
  // Channel ids only grow, so the ids handed out between two probes count the sounds played.
  auto probe = [hover] {
    const Channel c = CueSound(hover);
    StopChannel(c);
    return c;
  };
  Channel last = probe();
  if (!last) GTEST_SKIP() << "no audio device, not even the dummy one";
  auto played = [&] {
    const Channel now = probe();
    const int n = now - last - 1;
    last = now;
    return n;
  };
  Sound* saved_hover = Sfx_Mouse_Over;
  Sound* saved_click = Sfx_Click;
  Sfx_Mouse_Over = Sfx_Click = hover;
  Sound_Flag = 1;
  Touch_Mode = 0;
  Mouse_Hit = 0;
  Block_Size = 74;
  Resolution_Y = 592;
  ScanLanguages();
  T_LANG::InitFlagsSelection();
  T_LANG* first = Language_List[0].get();
  T_LANG* second = Language_List[1].get();
  const int gap_x = first->x1 + 2;
  const struct {
    const char* What;
    int X, Y, Touch;
    T_LANG* Hovered;
    int Sounds;
  } steps[] = {
      {"onto the first flag", first->x0 + 10, first->y0 + 10, 0, first, 1},
      {"along the same flag", first->x0 + 50, first->y0 + 40, 0, first, 0},
      {"onto its far corner", first->x1, first->y1, 0, first, 0},
      {"onto the next flag", second->x0 + 1, second->y0 + 1, 0, second, 1},
      {"into the gap", gap_x, first->y0 + 10, 0, nullptr, 0},
      {"back onto the same flag", first->x1 - 1, first->y0 + 10, 0, first, 1},
      {"over the side bar", 10 * 74 + 5, first->y0 + 10, 0, first, 0},
      {"off the flags", 5, 5, 0, nullptr, 0},
      {"a finger onto the flag", first->x0 + 10, first->y0 + 10, 1, first, 0},
  };
  for (const auto& s : steps) {
    Mouse_X = s.X;
    Mouse_Y = s.Y;
    Touch_Mode = s.Touch;
    T_LANG::DoFlagsSelection();
    EXPECT_EQ(Hovered_Language, s.Hovered) << s.What;
    EXPECT_EQ(played(), s.Sounds) << s.What;
  }
  // A click on a gap chooses nothing.
  const String before = Language_File;
  Mouse_X = gap_x;
  Mouse_Hit = 1;
  T_LANG::DoFlagsSelection();
  EXPECT_EQ(Language_File, before);

  // From the options: a click loads the language and goes back to the options menu.
  InitIcons();
  const String saved_language = Language_File;
  const int saved_screen = Current_Screen;
  Return_Screen = Screen_Options;
  Touch_Mode = 0;
  Mouse_X = second->x0 + 20;
  Mouse_Y = second->y0 + 20;
  Mouse_Hit = 1;
  const String chosen_file = second->file, chosen_code = second->code;
  T_LANG::DoFlagsSelection();
  EXPECT_EQ(Current_Screen, Screen_Options);
  EXPECT_EQ(Return_Screen, Screen_MainMenu);
  EXPECT_EQ(Language_File, chosen_file);
  EXPECT_EQ(Translate(u"LCode"), chosen_code);
  EXPECT_EQ(played(), 2) << "the hover and the click";
  Language_File = saved_language;
  SetCurrentScreen(saved_screen);
  Text_List.clear();
  Mouse_Hit = 0;
  Touch_Mode = 0;
  Sfx_Mouse_Over = saved_hover;
  Sfx_Click = saved_click;
}

}  // namespace

// The fifteen shipped language files as players see them: every character has a glyph in the
// game font or the CJK fallback, captions fit their bars at the smallest size, the wrapped
// pages fit the board, Hebrew is stored in display order, and UTF-16 copies made by iconv read
// the same as the UTF-8 files.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/sidebar.h"
#include "fx/text_layout.h"
#include "i18n/language.h"
#include "platform/headless.h"
#include "ui/credits.h"
#include "ui/style_screen.h"
#include "ui/tutorial.h"

namespace {

const char* const Codes[] = {"FR", "EN", "NL", "PT", "ES", "PL", "DE", "HU",
                             "IT", "CN", "HE", "BG", "SV", "ZA", "RO"};

std::string ShippedFile(const std::string& code) {
  return std::string(QUARK_SOURCE_DIR) + "/Data/qUaRk_text_" + code + ".txt";
}

// The smallest play area: 640 x 448 with 56-pixel cells, and the fonts it loads.
constexpr int Small_Block = 56;
constexpr int Small_Resolution_X = 640;
constexpr int Main_Size = Small_Resolution_X * 60 / 1024;    // Font_Main: captions, victory
constexpr int Text_Size = Small_Resolution_X * 45 / 1024;    // Font_Small: wrapped pages
constexpr int Label_Size = 30;                               // Font_30: level list labels

// Captions drawn in a 4-cell bar, and how far a squeeze may go before it looks broken.
const char* const Caption_Keys[] = {"Play",    "Rules",  "Options", "Quit",     "Style",
                                    "Language", "Display", "Credits", "Quality", "Screen",
                                    "High",    "Low",    "Windowed", "Center",  "Full"};
constexpr double Least_Squeeze = 0.6;
const char* const Wrapped_Keys[] = {"Tuto0", "Tuto1", "Tuto2", "Tuto3", "Tuto4", "Tuto6", "Tuto7",
                                    "Credits Text"};

std::vector<uint32_t> CodePoints(const String& text) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < text.size(); i++) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    out.push_back(c);
  }
  return out;
}

// The lines the game's wrapper makes of text at this width, without the closing empty one.
std::vector<String> Wrapped(const String& text, int width) {
  WrapText(text, width);
  return std::vector<String>(Text_Lines + 1, Text_Lines + Text_Line_Count - 1);
}

class ShippedTexts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    SetFallbackFont(u"incbin::Data/cjk_fallback.ttf");
    for (int size : {Main_Size, Text_Size, Label_Size}) Fonts.push_back(LoadFont(u"incbin::Data/a2.ttf", size));
  }
  static void TearDownTestSuite() {
    SetFont(nullptr);
    for (Font* f : Fonts) FreeFont(f);
    Fonts.clear();
    SetFallbackFont(u"");   // no fallback, as before
  }
  void TearDown() override {
    SetFont(nullptr);
    Text_List.clear();
  }
  static void Load(const std::string& code) { ASSERT_EQ(LoadLanguage(FromLatin1(ShippedFile(code))), 1) << code; }
  static Font* MainFont() { return Fonts[0]; }
  static Font* TextFont() { return Fonts[1]; }
  static Font* LabelFont() { return Fonts[2]; }
  static std::vector<Font*> Fonts;
};
std::vector<Font*> ShippedTexts::Fonts;

TEST_F(ShippedTexts, EveryCharacterHasAGlyph) {
  ASSERT_NE(MainFont(), nullptr);
  SetFont(MainFont());
  for (const char* code : Codes) {
    Load(code);
    ASSERT_EQ(Text_List.size(), 68u) << code;
    for (const T_LTEXT& entry : Text_List) {
      for (uint32_t c : CodePoints(entry.Text)) {
        EXPECT_EQ(GlyphAvailable(static_cast<int>(c)), 1)
            << code << " " << ToUtf8(entry.Key) << ": no glyph for U+" << std::hex << c;
      }
    }
    EXPECT_GT(TextWidth(Translate(u"LLanguage")), 0) << code;
  }
  // The probe itself: a private-use character is in neither face, a CJK one only in the fallback.
  EXPECT_EQ(GlyphAvailable(0xE000), 0);
  EXPECT_EQ(GlyphAvailable(0x4E2D), 1);
}

TEST_F(ShippedTexts, CaptionsFitTheirBarsAtTheSmallestSize) {
  SetFont(MainFont());
  const int available = 4 * Small_Block - 20;
  for (const char* code : Codes) {
    Load(code);
    for (const char* key : Caption_Keys) {
      const String caption = Translate(FromLatin1(key));
      const int w = TextWidth(caption);
      ASSERT_GT(w, 0) << code << " " << key;
      const double squeeze = w > available ? double(available) / w : 1.0;
      EXPECT_GE(squeeze, Least_Squeeze) << code << " " << key << " \"" << ToUtf8(caption) << "\" is " << w
                                        << " pixels for " << available;
    }
  }
}

TEST_F(ShippedTexts, LevelListLabelsAndVictoryLinesFit) {
  const int board = 10 * Small_Block;
  const int sway = Small_Resolution_X * 30 / 1024;   // the victory lines swing this far each way
  const String longest_time = u"99'59\"";
  for (const char* code : Codes) {
    Load(code);
    SetFont(LabelFont());
    for (const char* key : {"Best Time", "Last Time"}) {
      const int w = TextWidth(Translate(FromLatin1(key)));
      EXPECT_LE(w, 190 / Least_Squeeze) << code << " " << key;
    }
    SetFont(MainFont());
    for (const char* key : {"Random Level", "Congratulations", "New Record", "Can Do Better", "Well Done"}) {
      EXPECT_LE(TextWidth(Translate(FromLatin1(key))), board - 2 * sway) << code << " " << key;
    }
    for (const char* key : {"Time", "Record", "Old Record"}) {
      EXPECT_LE(TextWidth(Translate(FromLatin1(key)) + longest_time), board - 2 * sway) << code << " " << key;
    }
  }
}

TEST_F(ShippedTexts, WrappedPagesFitTheBoard) {
  SetFont(TextFont());
  const int width = 10 * Small_Block - 10;
  for (const char* code : Codes) {
    Load(code);
    // Chinese has no spaces to wrap at and Hebrew lines would come out in the wrong order, so
    // their own breaks must be enough.
    const bool own_breaks = std::string(code) == "CN" || std::string(code) == "HE";
    for (const char* key : Wrapped_Keys) {
      const String text = Translate(FromLatin1(key));
      const std::vector<String> lines = Wrapped(text, width);
      const bool credits = std::string(key) == "Credits Text";
      // The credits must end before the line table does, or their last lines would be cut.
      EXPECT_LE(lines.size(), credits ? 27u : 5u) << code << " " << key;
      for (const String& line : lines) EXPECT_LE(TextWidth(line), width) << code << " " << key << ": " << ToUtf8(line);
      if (own_breaks) {
        EXPECT_EQ(lines, Wrapped(text, 1 << 20)) << code << " " << key << " needs a break of its own";
      }
    }
  }
}

// At every size of the size table, in every language: the credits page ends on the board with
// lines no closer than the font's size, and the style screen's hint stays inside the ring of
// styles above the slots (rows 1 to 3, columns 1 to 8).
TEST_F(ShippedTexts, TheCreditsAndTheStyleHintFitTheBoardAtEverySize) {
  const int saved[] = {Block_Size, Resolution_X, Resolution_Y, Font_Size_Small, Font_Line_Height};
  Font* const saved_font = Font_Small;
  for (const DisplaySize& size : Display_Sizes) {
    Block_Size = size.Cell;
    Resolution_X = size.Width;
    Resolution_Y = size.Height;
    Font_Size_Small = Resolution_X * 45 / 1024;
    Font_Line_Height = Font_Size_Small + Resolution_Y / 100;
    Font_Small = LoadFont(u"incbin::Data/a2.ttf", Font_Size_Small);
    ASSERT_NE(Font_Small, nullptr);
    for (const char* code : Codes) {
      SCOPED_TRACE(std::string(code) + " at " + std::to_string(size.Width) + " x " + std::to_string(size.Height));
      Load(code);
      Info_Text = Translate(u"Credits Text");
      const int line_height = CreditsLineHeight();
      SetFont(Font_Small);
      const std::vector<String> lines = Wrapped(Info_Text, 10 * Block_Size - 10);
      const int page = Credits_Top + (static_cast<int>(lines.size()) - 1) * line_height + TextHeight(u"Ag") + 4;
      EXPECT_LE(page, 8 * Block_Size) << lines.size() << " lines " << line_height << " pixels apart";
      EXPECT_GE(line_height, Font_Size_Small) << "lines squeezed onto each other";

      const String hint = Translate(u"Style Hint");
      const HintBox box = StyleHintBox(hint);
      EXPECT_GE(box.Top, Block_Size);
      EXPECT_LE(box.Bottom, 4 * Block_Size);
      for (const String& line : Wrapped(hint, box.Right - box.Left)) {
        EXPECT_LE(TextWidth(line), box.Right - box.Left) << ToUtf8(line);
      }
      if (std::string(code) == "CN" || std::string(code) == "HE") {
        EXPECT_EQ(Wrapped(hint, box.Right - box.Left), Wrapped(hint, 1 << 20)) << "the hint needs a break of its own";
      }
      SetFont(nullptr);
    }
    FreeFont(Font_Small);
  }
  Font_Small = saved_font;
  Block_Size = saved[0], Resolution_X = saved[1], Resolution_Y = saved[2];
  Font_Size_Small = saved[3], Font_Line_Height = saved[4];
  Info_Text.clear();
}

// The words under the side-bar pictograms: each language's own, fitting the badge's inner
// width with at most a slight squeeze.
TEST_F(ShippedTexts, SideBarWordsFitTheirButtons) {
  Font* const font = LoadFont(u"incbin::Data/a2.ttf", Icon_Word_Size);
  ASSERT_NE(font, nullptr);
  SetFont(font);
  for (const char* code : Codes) {
    Load(code);
    for (int index = 1; index <= 11; index++) {
      const char16_t* key = IconWordKey(index);
      if (!key) continue;
      const String word = Translate(key);
      EXPECT_NE(word.substr(0, 1), u"@") << code << " " << ToUtf8(key);
      const int w = TextWidth(word);
      EXPECT_GE(std::min(1.0, double(Icon_Word_Room) / w), 0.7)
          << code << " \"" << ToUtf8(word) << "\" is " << w << " pixels for " << Icon_Word_Room;
    }
  }
  SetFont(nullptr);
  FreeFont(font);
}

TEST_F(ShippedTexts, CreditsPageHasItsShapeInEveryLanguage) {
  SetFont(TextFont());
  for (const char* code : Codes) {
    Load(code);
    // Wide enough that only the "@" breaks count.
    const std::vector<String> lines = Wrapped(Translate(u"Credits Text"), 1 << 20);
    ASSERT_EQ(lines.size(), 14u) << code;
    EXPECT_EQ(Trimmed(lines[0]), u"qUaRk") << code;
    EXPECT_NE(lines[1].find(u"2026"), String::npos) << code;
    for (size_t k : {2, 5, 8, 11}) EXPECT_EQ(Trimmed(lines[k]), u"") << code << " line " << k + 1;
    for (size_t k : {3, 4, 6, 7, 9, 10, 12, 13}) EXPECT_NE(Trimmed(lines[k]), u"") << code << " line " << k + 1;
    // The fonts we ship are named as they are, in every language.
    EXPECT_NE(lines[9].find(u"DejaVu Sans Bold"), String::npos) << code;
    EXPECT_NE(lines[12].find(u"Droid Sans Fallback"), String::npos) << code;
  }
}

TEST_F(ShippedTexts, HebrewIsStoredInDisplayOrder) {
  Load("HE");
  const struct {
    const char16_t* Key;
    const char16_t* Text;
  } rows[] = {
      // "Ivrit" and "Time:" read right to left; the number drawn after "Time" keeps its space.
      {u"LLanguage", u"\u05EA\u05D9\u05E8\u05D1\u05E2"},
      {u"Time", u":\u05DF\u05DE\u05D6 "},
      // A Latin name and brackets inside a right-to-left line: the name keeps its own order,
      // the brackets turn round, and each "@" line is turned on its own.
      {u"Tuto0", u"qUaRk \u05DC\u05D0 \u05DD\u05D9\u05D0\u05D1\u05D4 \u05DD\u05D9\u05DB\u05D5\u05E8\u05D1 "
                 u"@[\u05D4\u05DB\u05E8\u05D3\u05D4] @"},
  };
  for (const auto& row : rows) {
    const String text = Translate(row.Key);
    EXPECT_EQ(text.substr(0, std::char_traits<char16_t>::length(row.Text)), row.Text) << ToUtf8(row.Key);
  }
  // The year line: "2026 - the qUaRk team" read from the right.
  const std::vector<String> lines = Wrapped(Translate(u"Credits Text"), 1 << 20);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(Trimmed(lines[1]), u"qUaRk \u05EA\u05D5\u05D5\u05E6 - 2026");
}

TEST_F(ShippedTexts, Utf16CopiesMadeByIconvLoadTheSameTexts) {
  if (std::system("iconv --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no iconv";
  char pattern[] = "/tmp/quark-iconv-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  for (const char* code : Codes) {
    Load(code);
    std::vector<std::pair<String, String>> utf8;
    for (const T_LTEXT& e : Text_List) utf8.emplace_back(e.Key, e.Text);
    for (const char* target : {"UTF-16LE", "UTF-16BE"}) {
      // The byte-order mark of the UTF-8 file becomes the UTF-16 mark.
      const std::string out = dir + "/" + code + "_" + target + ".txt";
      const std::string command = std::string("iconv -f UTF-8 -t ") + target + " '" + ShippedFile(code) + "' > '" + out + "'";
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
      ASSERT_EQ(LoadLanguage(FromLatin1(out)), 1);
      std::vector<std::pair<String, String>> twin;
      for (const T_LTEXT& e : Text_List) twin.emplace_back(e.Key, e.Text);
      EXPECT_EQ(twin, utf8) << code << " " << target;
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace

// Wrapped text: where lines break, "@" and "@ @", the first word that is always taken, the
// 30-entry line table that a long text must not overrun; and the time format.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/assets.h"
#include "fx/text_layout.h"
#include "platform/headless.h"

namespace {

class WrappedText : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    Text_Font = LoadFont(u"incbin::Data/a2.ttf", 35);
  }
  static void TearDownTestSuite() {
    FreeFont(Text_Font);
    Text_Font = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(Text_Font, nullptr);
    SetFont(Text_Font);
  }
  void TearDown() override { SetFont(nullptr); }

  static std::vector<String> Lines() {
    return std::vector<String>(Text_Lines + 1, Text_Lines + Text_Line_Count);
  }
  static Font* Text_Font;
};
Font* WrappedText::Text_Font = nullptr;

TEST_F(WrappedText, LinesBreakAtTheWidthAndAtEachAt) {
  int wide = 100000;
  struct Case {
    String text;
    int width;
    std::vector<String> lines;   // the closing empty line included
  } cases[] = {
      {u"Hello world", wide, {u"Hello world ", u""}},
      {u"Hello world", 1, {u"Hello ", u"world ", u""}},          // each first word is taken
      {u"a @b @ @c", wide, {u"a ", u"b ", u" ", u"c ", u""}},   // "@ @" is an empty-looking line
      {u"@a b", wide, {u"@a b ", u""}},                          // "@" opening a line is a character
      {u"a @@b", wide, {u"a ", u"@b ", u""}},
      {u"x@y", wide, {u"x@y ", u""}},                            // "@" inside a word is no break
      {u"", wide, {u" ", u""}},
  };
  for (const Case& c : cases) {
    WrapText(c.text, c.width);
    EXPECT_EQ(Lines(), c.lines) << ToUtf8(c.text);
    EXPECT_EQ(Text_Line_Count, static_cast<int>(c.lines.size()) + 1);
  }
}

TEST_F(WrappedText, AWordGoesToTheNextLineWhenItWouldPassTheWidth) {
  String two = u"alpha beta ";
  int exact = TextWidth(two);
  WrapText(u"alpha beta", exact);
  EXPECT_EQ(Lines(), (std::vector<String>{u"alpha beta ", u""}));
  WrapText(u"alpha beta", exact - 1);
  EXPECT_EQ(Lines(), (std::vector<String>{u"alpha ", u"beta ", u""}));
}

TEST_F(WrappedText, TheCreditsBreakAtEveryAtAndShowAnEmptyLineForEachAtAt) {
  std::ifstream in(std::string(QUARK_SOURCE_DIR) + "/Data/qUaRk_text_EN.txt", std::ios::binary);
  std::string credits;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("\"Credits Text\"", 0) != 0) continue;
    size_t open = line.find('"', line.find('='));
    credits = line.substr(open + 1, line.rfind('"') - open - 1);
  }
  ASSERT_FALSE(credits.empty());
  String text = FromUtf8(credits);
  // Each piece between two "@" is one line when it fits the width of the board at this size.
  int width = 10 * 74 - 10;
  std::vector<String> pieces;
  String rest = text + u" ";
  for (size_t at; (at = rest.find(u'@')) != String::npos; rest.erase(0, at + 1)) pieces.push_back(rest.substr(0, at));
  pieces.push_back(rest);
  for (const String& p : pieces) ASSERT_LE(TextWidth(p), width) << ToUtf8(p);
  pieces.push_back(u"");
  WrapText(text, width);
  EXPECT_EQ(Lines(), pieces);
  int empty_looking = 0;
  for (const String& l : Lines()) empty_looking += l == u" ";
  size_t at_at = 0;
  for (size_t i = text.find(u"@ @"); i != String::npos; i = text.find(u"@ @", i + 3)) at_at++;
  EXPECT_EQ(empty_looking, static_cast<int>(at_at));
  EXPECT_GT(at_at, 0u);
}

TEST_F(WrappedText, ALongTextStopsAtTheEndOfTheLineTable) {
  std::ostringstream words;
  for (int i = 1; i <= 100; i++) words << "w" << i << " ";
  // One word per line: 100 lines asked for, 28 kept and the closing empty line.
  WrapText(FromUtf8(words.str()), 1);
  EXPECT_EQ(Text_Line_Count, Text_Line_Table);
  EXPECT_EQ(Text_Lines[1], u"w1 ");
  EXPECT_EQ(Text_Lines[28], u"w28 ");
  EXPECT_EQ(Text_Lines[29], u"");
  // Exactly 28 lines fit with nothing lost.
  std::ostringstream fit;
  for (int i = 1; i <= 28; i++) fit << "v" << i << " ";
  WrapText(FromUtf8(fit.str()), 1);
  EXPECT_EQ(Text_Line_Count, Text_Line_Table);
  EXPECT_EQ(Text_Lines[28], u"v28 ");
  // Forced breaks count the same way.
  String ats;
  for (int i = 0; i < 50; i++) ats += u"a @";
  WrapText(ats, 100000);
  EXPECT_EQ(Text_Line_Count, Text_Line_Table);
  EXPECT_EQ(Text_Lines[29], u"");
}

TEST(TimeFormat, MinutesApostropheTwoDigitSecondsQuote) {
  struct Case {
    int64_t seconds;
    String text;
  } cases[] = {
      {0, u"0'00\""},    {7, u"0'07\""},     {59, u"0'59\""},       {60, u"1'00\""},
      {754, u"12'34\""}, {5999, u"99'59\""}, {6000, u"100'00\""},   {6000000000LL, u"100000000'00\""},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatTime(c.seconds), c.text) << c.seconds;
}

}  // namespace

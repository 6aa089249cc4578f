// The credits page: the English page's first lines as the wrapper lays them out, a language
// without the credits, and the tutorial that empties the text the page left behind.
#include <gtest/gtest.h>

#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/sidebar.h"
#include "app/state.h"
#include "fx/text_layout.h"
#include "i18n/language.h"
#include "platform/headless.h"
#include "tests/scratch_folder.h"
#include "ui/credits.h"
#include "ui/menu.h"
#include "ui/tutorial.h"

namespace {

class Credits : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    // The small font of the 804 x 592 play area.
    Page_Font = LoadFont(u"incbin::Data/a2.ttf", 20);
  }
  static void TearDownTestSuite() {
    FreeFont(Page_Font);
    Page_Font = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(Page_Font, nullptr);
    InitIcons();
    ResetDisplay();
  }
  void TearDown() override {
    SetFont(nullptr);
    ResetTutorial();
  }
  static std::vector<String> PageLines() {
    SetFont(Page_Font);
    WrapText(Info_Text, 10 * Block_Size - 10);
    return std::vector<String>(Text_Lines + 1, Text_Lines + Text_Line_Count);
  }
  static Font* Page_Font;
};
Font* Credits::Page_Font = nullptr;

TEST_F(Credits, TheEnglishPageOpensWithTitleYearAndMakerAnEmptyLineAndTheFirstRole) {
  ASSERT_EQ(LoadLanguage(FromLatin1(std::string(QUARK_SOURCE_DIR) + "/Data/qUaRk_text_EN.txt")), 1);
  GotoScreen(Screen_Credits);
  EXPECT_EQ(Current_Screen, Screen_Credits);
  EXPECT_EQ(Return_Screen, Screen_Options);
  EXPECT_EQ(Icons[0]->Index, 9);
  EXPECT_EQ(Icons[2]->Index, 11);
  EXPECT_EQ(Icons[7]->Index, 3);
  std::vector<String> lines = PageLines();
  ASSERT_GE(lines.size(), 14u);
  EXPECT_LE(lines.size(), 29u) << "the wrapper's table holds 28 lines and the closing empty one";
  EXPECT_EQ(lines[0], u"qUaRk ");
  EXPECT_EQ(lines[1], u"2026 - the qUaRk team ");
  EXPECT_EQ(lines[2], u" ");
  EXPECT_EQ(lines[3], u"Game design and programming ");
  EXPECT_EQ(lines.back(), u"");
}

TEST_F(Credits, ALanguageWithoutCreditsShowsTheKeyOnOneLine) {
  ScratchFolder scratch;
  std::string path = scratch.Name("credits_test_xx.txt");
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("\"Play\" = \"Spielen\"\r\n", f);
  std::fclose(f);
  ASSERT_EQ(LoadLanguage(FromLatin1(path)), 1);
  ShowCredits();
  EXPECT_EQ(Info_Text, u"@CREDITS TEXT");
  EXPECT_EQ(PageLines(), (std::vector<String>{u"@CREDITS TEXT ", u""}));
}

TEST_F(Credits, TheTutorialAfterTheCreditsShowsNoCreditsText) {
  ShowCredits();
  ASSERT_FALSE(Info_Text.empty());
  GotoScreen(Screen_Tutorial);
  EXPECT_TRUE(Info_Text.empty());
  EXPECT_EQ(Tutorial_Active, 1);
}

}  // namespace

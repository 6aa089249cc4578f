// The language choice and the profile through whole runs of quark-driver: the first start
// offers the fifteen flags, a click switches the texts and opens the tutorial, the profile
// written on quit keeps the choice for the next start; a current level outside the catalogue
// is forgotten.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "driver_session.h"

namespace {

// The "Play" text of a language file, read without the game's own reader.
std::string PlayText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::regex entry("^\"Play\"\\s*=\\s*\"([^\"]*)\"");
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::smatch m;
    if (std::regex_search(line, m, entry)) return m[1];
  }
  return "";
}

TEST(LanguageChoice, FirstStartPicksAFlagThenTheProfileRemembersIt) {
  DriverSession s;
  // The default 804 x 592 window with 74-pixel cells: rows of 7 flags from y = 218, the first
  // row starting at x = 5.
  ASSERT_EQ(s.Run("wait 2\nstate {dir}/before\nclick 60 250\nwait 2\nstate {dir}/after\nclose\nwait 1\n"), 0)
      << s.Stderr();
  auto before = s.State("before");
  EXPECT_EQ(before["Current_Screen"], IdText(Screen_First_Language));
  EXPECT_EQ(before["Languages"], "15");
  EXPECT_EQ(before["Language_File"], "");
  EXPECT_EQ(before["Text_Play"], "Play") << "before a language is chosen, the game's English";

  auto after = s.State("after");
  EXPECT_EQ(after["Current_Screen"], IdText(Screen_Tutorial));
  // The flags follow their codes, so the first one is Bulgarian on every machine.
  const std::string chosen = after["Language_File"];
  ASSERT_EQ(chosen, s.UserDir + "/qUaRk_text_BG.txt");
  const std::string play = PlayText(chosen);
  ASSERT_FALSE(play.empty());
  EXPECT_EQ(after["Text_Play"], play);

  // Written on quit as its full path, read at the next start: the main menu in the same
  // language.
  const std::string profile = DriverSession::ReadFile(s.UserFile("qUaRk_User_Profile.txt"));
  EXPECT_NE(profile.find("\"Language\" = \"" + chosen + "\"\r\n"), std::string::npos) << profile;
  std::smatch total;
  ASSERT_TRUE(std::regex_search(profile, total, std::regex("\"Total Time\" = (\\d+) ")));

  ASSERT_EQ(s.Run("wait 2\nstate {dir}/next\n"), 0) << s.Stderr();
  auto next = s.State("next");
  EXPECT_EQ(next["Current_Screen"], IdText(Screen_MainMenu));
  EXPECT_EQ(next["Language_File"], chosen);
  EXPECT_EQ(next["Text_Play"], play);
  EXPECT_EQ(next["Total_Play_Time"], total[1].str());
  EXPECT_EQ(next["User_Style"], "0 1 2 3 4 5");
  EXPECT_EQ(next["Profile_Version"], "F1.4.0");
}

TEST(LanguageChoice, ACurrentLevelOutsideTheCatalogueIsForgotten) {
  const struct {
    const char* Line;
    const char* Why;
  } cases[] = {
      // Level index 8000 with 300 ms elapsed.
      {"\"Current Level Info\" = 4145452", "packed index beyond the catalogue"},
      {"\"Current Level Num\" = 4000000000", "older key, a number no catalogue reaches"},
  };
  for (const auto& c : cases) {
    DriverSession s;
    s.WriteUserFile("qUaRk_User_Profile.txt",
                    std::string("\"Version\" = \"F1.4.0\"\r\n\"User Style\" = 5,4,3,2,1,0\r\n") + c.Line + "\r\n");
    ASSERT_EQ(s.Run("wait 1\nstate {dir}/s\n"), 0) << s.Stderr();
    auto state = s.State("s");
    EXPECT_EQ(state["Level_Index"], "-1") << c.Why;
    EXPECT_EQ(state["Level_Elapsed"], "0") << c.Why;
    // The rest of the profile still counts.
    EXPECT_EQ(state["User_Style"], "5 4 3 2 1 0") << c.Why;
  }
}

}  // namespace

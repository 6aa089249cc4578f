// Whole starts of the game through quark-driver: the first screen, the exported files, the
// font choice, the version check, and the ways the program ends.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>

#include "driver_session.h"

namespace {

const char* const Exported[] = {
    "qUaRk_text_FR.txt", "French.png",  "qUaRk_text_EN.txt", "English.png",    "qUaRk_text_ES.txt",
    "Espanol.png",       "qUaRk_text_NL.txt", "Dutch.png",   "qUaRk_text_PL.txt", "Polish.png",
    "qUaRk_text_PT.txt", "Portuguese.png", "qUaRk_text_DE.txt", "Deutsch.png", "qUaRk_text_HU.txt",
    "Hungarian.png",     "qUaRk_text_IT.txt", "Italiano.png", "qUaRk_text_CN.txt", "Chinese.png",
    "qUaRk_text_HE.txt", "Hebrew.png",  "qUaRk_text_BG.txt", "Bulgarian.png",  "qUaRk_text_SV.txt",
    "Swedish.png",       "qUaRk_text_ZA.txt", "Suid-Afrika.png", "qUaRk_text_RO.txt", "Romanian.png",
};

void SetFileTime(const std::string& path, time_t when) {
  struct utimbuf times = {when, when};
  utime(path.c_str(), &times);
}

TEST(Startup, FirstStartAsksForALanguageThenLeadsToTheTutorial) {
  DriverSession s;
  ASSERT_EQ(s.Run("wait 2\nstate {dir}/s\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("s", "Current_Screen"), Screen_First_Language);
  EXPECT_EQ(s.StateInt("s", "Return_Screen"), Screen_Tutorial);
  EXPECT_EQ(s.State("s")["Window_Icon"], "64x64") << "the desktop icon marks the window";
  for (const char* name : Exported) EXPECT_TRUE(s.UserFileExists(name)) << name;
  // The exported copies are byte for byte the embedded files.
  std::string english = DriverSession::ReadFile(s.UserFile("qUaRk_text_EN.txt"));
  std::string shipped = DriverSession::ReadFile(std::string(QUARK_SOURCE_DIR) + "/Data/qUaRk_text_EN.txt");
  EXPECT_EQ(english, shipped);
  // The whole catalogue is read: one level per 404-byte record.
  const auto catalogue = std::filesystem::file_size(std::string(QUARK_SOURCE_DIR) + "/Data/full2.lvl");
  EXPECT_EQ(s.StateInt("s", "Official_Level_Count"), static_cast<int>(catalogue / 404));
}

TEST(Startup, EscapeDoesNothingOnTheFirstLanguageScreen) {
  DriverSession s;
  ASSERT_EQ(s.Run("wait 2\nkey Escape\nwait 2\nstate {dir}/s\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("s", "Current_Screen"), Screen_First_Language);
  // Nothing ended the program, so the profile was not written.
  EXPECT_FALSE(s.UserFileExists("qUaRk_User_Profile.txt"));
}

TEST(Startup, AChosenLanguageOpensTheMainMenu) {
  DriverSession s;
  ASSERT_EQ(s.Run("wait 1\n"), 0);   // exports the language files
  s.WriteEnglishProfile();
  ASSERT_EQ(s.Run("wait 2\nstate {dir}/s\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("s", "Current_Screen"), Screen_MainMenu);
}

TEST(Startup, TheChosenLanguageSurvivesAUserFolderWithABraceInItsPath) {
  DriverSession s;
  s.DataHome = s.Root + "/my{data";
  s.UserDir = s.DataHome + "/qUaRk";
  std::filesystem::create_directories(s.UserDir);
  // First start at 804x592: three rows of flags from (5, 218); the first flag is picked, and
  // closing the window writes the profile.
  ASSERT_EQ(s.Run("wait 2\nstate {dir}/first\nclick 30 240\nwait 1\nstate {dir}/chosen\nclose\nwait 1\n"), 0)
      << s.Stderr();
  ASSERT_EQ(s.StateInt("first", "Block_Size"), 74);
  ASSERT_EQ(s.StateInt("chosen", "Current_Screen"), Screen_Tutorial);
  const std::string chosen = s.State("chosen")["Language_File"];
  ASSERT_EQ(chosen.rfind(s.UserDir + "/qUaRk_text_", 0), 0u) << chosen;
  ASSERT_EQ(s.Run("wait 2\nstate {dir}/s\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("s", "Current_Screen"), Screen_MainMenu);
  EXPECT_EQ(s.State("s")["Language_File"], chosen);

  // A profile of an older version with the full path of a plain folder still works.
  DriverSession old;
  old.WriteEnglishProfile();
  ASSERT_EQ(old.Run("wait 2\nstate {dir}/s\n"), 0) << old.Stderr();
  EXPECT_EQ(old.StateInt("s", "Current_Screen"), Screen_MainMenu);
  EXPECT_EQ(old.State("s")["Language_File"], old.UserFile("qUaRk_text_EN.txt"));
}

TEST(Startup, MissingLanguageFileFallsBackToTheLanguageScreen) {
  DriverSession s;
  s.WriteUserFile("qUaRk_User_Profile.txt", "\"Language\" = \"/nowhere/qUaRk_text_XX.txt\"\r\n");
  ASSERT_EQ(s.Run("wait 1\nstate {dir}/s\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("s", "Current_Screen"), Screen_First_Language);
  EXPECT_EQ(s.StateInt("s", "Return_Screen"), Screen_Tutorial);
}

TEST(Startup, NewerCopiesInTheUserFolderSurviveOlderOnesAreRefreshed) {
  DriverSession s;
  s.WriteUserFile("qUaRk_text_FR.txt", "player's own translation");
  s.WriteUserFile("qUaRk_text_DE.txt", "stale copy");
  // Newer than any program file; and older than any.
  SetFileTime(s.UserFile("qUaRk_text_FR.txt"), time(nullptr) + 100000);
  SetFileTime(s.UserFile("qUaRk_text_DE.txt"), 1000);
  ASSERT_EQ(s.Run("wait 1\n"), 0) << s.Stderr();
  EXPECT_EQ(DriverSession::ReadFile(s.UserFile("qUaRk_text_FR.txt")), "player's own translation");
  EXPECT_NE(DriverSession::ReadFile(s.UserFile("qUaRk_text_DE.txt")), "stale copy");
}

TEST(Startup, ATrueTypeFileInTheUserFolderBecomesTheFont) {
  DriverSession s;
  std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", s.UserFile("Mine.TtF"));
  ASSERT_EQ(s.Run("wait 1\nstate {dir}/s\n"), 0) << s.Stderr();
  EXPECT_EQ(s.State("s")["Font_Url"], s.UserFile("Mine.TtF"));

  DriverSession plain;
  ASSERT_EQ(plain.Run("wait 1\nstate {dir}/s\n"), 0);
  EXPECT_EQ(plain.State("s")["Font_Url"], "incbin::Data/a2.ttf");
}

TEST(Startup, AFontFileThatCannotBeLoadedIsPassedOver) {
  DriverSession s;
  s.WriteUserFile("broken.ttf", "these bytes are no font at all");
  ASSERT_EQ(s.Run("wait 1\nstate {dir}/s\n"), 0) << s.Stderr();
  EXPECT_EQ(s.State("s")["Font_Url"], "incbin::Data/a2.ttf");
  // A good one beside it is still taken, whichever of the two the folder lists first.
  std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", s.UserFile("good.ttf"));
  ASSERT_EQ(s.Run("wait 1\nstate {dir}/s2\n"), 0) << s.Stderr();
  EXPECT_EQ(s.State("s2")["Font_Url"], s.UserFile("good.ttf"));
}

TEST(Startup, APlayersFontThatCannotShowTheLanguageAsksForOneAgain) {
  const struct {
    const char* Language;
    bool Own_Font;
    int Screen, Return_Screen;
  } cases[] = {
      {"CN", true, Screen_First_Language, Screen_Tutorial},   // a Latin-only face cannot show Chinese
      {"CN", false, Screen_MainMenu, Screen_MainMenu},        // the game's font shows it with its fallback
      {"EN", true, Screen_MainMenu, Screen_MainMenu},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Language) + (c.Own_Font ? " own font" : " game font"));
    DriverSession s;
    if (c.Own_Font) {
      std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", s.UserFile("mine.ttf"));
    }
    s.WriteUserFile("qUaRk_User_Profile.txt", "\"Version\" = \"F1.4.0\"\r\n\"Language\" = \"" +
                                                  s.UserFile(std::string("qUaRk_text_") + c.Language + ".txt") +
                                                  "\"\r\n");
    ASSERT_EQ(s.Run("wait 2\nstate {dir}/s\n"), 0) << s.Stderr();
    EXPECT_EQ(s.State("s")["Font_Url"], c.Own_Font ? s.UserFile("mine.ttf") : "incbin::Data/a2.ttf");
    EXPECT_EQ(s.StateInt("s", "Current_Screen"), c.Screen);
    EXPECT_EQ(s.StateInt("s", "Return_Screen"), c.Return_Screen);
  }
}

TEST(Startup, AnotherMajorVersionDropsTheUnfinishedLevel) {
  struct Case {
    const char* version;
    int undo_count;
    bool undo_kept;
  } cases[] = {{"G1.0.0", 0, false}, {"F9.9.9", 2, true}, {"F1.4.0", 2, true}};
  for (const Case& c : cases) {
    DriverSession s;
    s.WriteUserFile("qUaRk_User_Profile.txt",
                    std::string("\"Version\" = \"") + c.version + "\"\r\n\"Current Level Info\" = 1280\r\n");
    s.WriteUserFile("qUaRk_Undo.bin", std::string(160, '\0'));
    ASSERT_EQ(s.Run("wait 1\nstate {dir}/s\n"), 0) << s.Stderr();
    EXPECT_EQ(s.StateInt("s", "Undo_Count"), c.undo_count) << c.version;
    EXPECT_EQ(s.UserFileExists("qUaRk_Undo.bin"), c.undo_kept) << c.version;
    // 1280 packs level index 4; another version forgets it.
    EXPECT_EQ(s.StateInt("s", "Level_Index"), c.undo_kept ? 4 : -1) << c.version;
  }
}

TEST(Startup, EscapeOnTheMainMenuAndTheCloseRequestSaveAndQuit) {
  {
    DriverSession s;
    s.Run("wait 1\n");
    s.WriteEnglishProfile();
    // The game ends itself at the Escape: the `state` after it never runs.
    EXPECT_EQ(s.Run("wait 2\nkey Escape\nwait 2\nstate {dir}/after\n"), 0) << s.Stderr();
    EXPECT_FALSE(std::filesystem::exists(s.Root + "/after"));
    std::string profile = DriverSession::ReadFile(s.UserFile("qUaRk_User_Profile.txt"));
    EXPECT_NE(profile.find("{ QUARK user config"), std::string::npos);
  }
  {
    DriverSession s;
    EXPECT_EQ(s.Run("wait 2\nclose\nwait 2\nstate {dir}/after\n"), 0) << s.Stderr();
    EXPECT_FALSE(std::filesystem::exists(s.Root + "/after"));
    EXPECT_TRUE(s.UserFileExists("qUaRk_User_Profile.txt"));
  }
}

TEST(Startup, AUserFolderThatCannotBeCreatedEndsTheProgramWithTheMessage) {
  DriverSession s;
  // A file where the data folder should be: no folder can be made there.
  std::filesystem::remove_all(s.DataHome);
  std::ofstream(s.DataHome) << "not a folder";
  EXPECT_EQ(s.Run("wait 1\nstate {dir}/s\n"), 0);
  EXPECT_NE(s.Stderr().find("Error creating user data directory: " + s.DataHome + "/qUaRk"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(s.Root + "/s"));
}

TEST(Startup, ACopyThatCannotBeWrittenIsReportedAndTheGameGoesOn) {
  DriverSession s;
  // A folder in the way of the copy cannot be opened for writing, not even by root.
  std::filesystem::create_directory(s.UserFile("qUaRk_text_FR.txt"));
  SetFileTime(s.UserFile("qUaRk_text_FR.txt"), 1000);
  EXPECT_EQ(s.Run("wait 2\nstate {dir}/s\n"), 0);
  EXPECT_NE(s.Stderr().find("Error writing file: " + s.UserDir + "/qUaRk_text_FR.txt"), std::string::npos);
  EXPECT_EQ(s.StateInt("s", "Current_Screen"), Screen_First_Language);
  EXPECT_TRUE(s.UserFileExists("qUaRk_text_RO.txt"));
}

}  // namespace

// Whole starts of the game through quark-driver: the first screen, the exported files, the
// font choice, the version check, and the ways the program ends.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>

#include "app/assets.h"
#include "app/startup.h"
#include "app/state.h"
#include "driver_session.h"
#include "platform/headless.h"
#include "tests/file_faults.h"

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

// A language that cannot be read, among them a device that never ends and a pipe that nobody
// writes to: both would hold the start up for ever if they were read.
TEST(Startup, ALanguageFileThatCannotBeReadFallsBackToTheLanguageScreen) {
  for (const char* language : {"/nowhere/qUaRk_text_XX.txt", "/dev/zero", "{pipe}"}) {
    SCOPED_TRACE(language);
    DriverSession s;
    const std::string pipe = s.Root + "/qUaRk_text_PI.txt";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
    const std::string path = std::string(language) == "{pipe}" ? pipe : language;
    s.WriteUserFile("qUaRk_User_Profile.txt", "\"Language\" = \"" + path + "\"\r\n");
    ASSERT_EQ(s.Run("wait 1\nstate {dir}/s\n"), 0) << s.Stderr();
    EXPECT_EQ(s.StateInt("s", "Current_Screen"), Screen_First_Language);
    EXPECT_EQ(s.StateInt("s", "Return_Screen"), Screen_Tutorial);
  }
}

// A copy newer than the program is the player's edit and stays; one older than the program is
// refreshed, and so is one cut short (by a full disk or a crash), however new it is.
TEST(Startup, NewerCopiesInTheUserFolderSurviveOlderAndCutShortOnesAreRefreshed) {
  const auto shipped = [](const std::string& name) { return DriverSession::ReadFile(std::string(QUARK_SOURCE_DIR) + "/Data/" + name); };
  const time_t newer = time(nullptr) + 100000, older = 1000;
  const struct {
    const char* Name;
    std::string Bytes;
    time_t When;
    bool Refreshed;
  } cases[] = {
      {"qUaRk_text_FR.txt", "player's own translation", newer, false},
      {"qUaRk_text_NL.txt", shipped("qUaRk_text_NL.txt").substr(0, 300) + "\"Play\" = \"Spelen!\"\r\n", newer, false},
      {"qUaRk_text_DE.txt", "stale copy", older, true},
      {"qUaRk_text_IT.txt", "", newer, true},
      {"Italiano.png", shipped("Italiano.png").substr(0, 100), newer, true},
      {"Polish.png", shipped("Polish.png").substr(0, 100) + std::string(shipped("Polish.png").size() - 100, '\0'), newer,
       true},
  };
  DriverSession s;
  for (const auto& c : cases) {
    s.WriteUserFile(c.Name, c.Bytes);
    SetFileTime(s.UserFile(c.Name), c.When);
  }
  ASSERT_EQ(s.Run("wait 1\n"), 0) << s.Stderr();
  EXPECT_EQ(s.Stderr(), "");
  for (const auto& c : cases) {
    EXPECT_EQ(DriverSession::ReadFile(s.UserFile(c.Name)), c.Refreshed ? shipped(c.Name) : c.Bytes) << c.Name;
  }
}

// Copies a kill left beside the files they were to replace are removed at the next start; the
// player's own files with like names stay.
TEST(Startup, CopiesLeftByAKillAreRemoved) {
  DriverSession s;
  const char* const left[] = {"qUaRk_Undo.bin_t", "qUaRk_Best_Scores.bin_t", "qUaRk_User_Profile.txt_t",
                              "qUaRk_User_Profile.txt.tmp", "qUaRk_Win.bin_t", "English.png_t", "qUaRk_text_RO.txt_t"};
  for (const char* name : left) s.WriteUserFile(name, "half a copy");
  s.WriteUserFile("notes.tmp", "mine");
  s.WriteUserFile("backup_t", "mine too");
  ASSERT_EQ(s.Run("wait 1\n"), 0) << s.Stderr();
  for (const char* name : left) EXPECT_FALSE(s.UserFileExists(name)) << name;
  EXPECT_TRUE(s.UserFileExists("notes.tmp"));
  EXPECT_TRUE(s.UserFileExists("backup_t"));
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

// A damaged copy of a real font: it loads, but its character map lists no subtable and its
// glyphs have no names to rebuild one from, so it has no letter at all.
std::string FontWithoutLetters() {
  std::string font = DriverSession::ReadFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  auto be = [&font](size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; i++) v = v << 8 | static_cast<uint8_t>(font.at(at + i));
    return v;
  };
  const uint32_t tables = be(4, 2);
  for (uint32_t i = 0; i < tables; i++) {
    const size_t entry = 12 + 16 * i;
    const std::string tag = font.substr(entry, 4);
    const size_t at = be(entry + 8, 4);
    if (tag == "cmap") font.replace(at + 2, 2, std::string(2, '\0'));
    if (tag == "post") font.replace(at, 4, std::string("\0\3\0\0", 4));
  }
  return font;
}

TEST(Startup, AFontFileThatCannotBeLoadedOrHasNoLettersIsPassedOver) {
  for (const std::string& bytes : {std::string("these bytes are no font at all"), FontWithoutLetters()}) {
    DriverSession s;
    s.WriteEnglishProfile();
    s.WriteUserFile("broken.ttf", bytes);
    ASSERT_EQ(s.Run("wait 1\nstate {dir}/s\n"), 0) << s.Stderr();
    EXPECT_EQ(s.State("s")["Font_Url"], "incbin::Data/a2.ttf");
    EXPECT_EQ(s.StateInt("s", "Current_Screen"), 1) << "the English texts show";
    // A good one beside it is still taken, whichever of the two the folder lists first.
    std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", s.UserFile("good.ttf"));
    ASSERT_EQ(s.Run("wait 1\nstate {dir}/s2\n"), 0) << s.Stderr();
    EXPECT_EQ(s.State("s2")["Font_Url"], s.UserFile("good.ttf"));
  }
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
    s.WriteUserFile("qUaRk_Undo.bin", std::string(160, '\1'));
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
  EXPECT_NE(s.Run("wait 1\nstate {dir}/s\n"), 0) << "a fatal error ends the program with a failure status";
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

// A full disk at the first start: no copy is left half written (the language screen would offer
// it broken for good), and one message tells of all that failed.
TEST(StartupExports, AFullDiskLeavesNoCopyHalfWrittenAndSaysSoOnce) {
  EnterHeadlessMode();
  RegisterEmbeddedData();
  ScratchFolder folder;
  User_Data_Dir = FromLatin1(folder.Path);
  ::testing::internal::CaptureStderr();
  {
    WriteLimit limit(2000);   // room for the smaller files only
    ExportDataFiles();
  }
  const std::string said = ::testing::internal::GetCapturedStderr();
  int missing = 0;
  std::string first_missing;
  for (const char* name : Exported) {
    const std::string copy = folder.Name(name);
    if (!std::filesystem::exists(copy)) {
      if (missing++ == 0) first_missing = copy;
      continue;
    }
    EXPECT_EQ(DriverSession::ReadFile(copy), DriverSession::ReadFile(std::string(QUARK_SOURCE_DIR) + "/Data/" + name))
        << name;
  }
  ASSERT_GT(missing, 1);
  EXPECT_EQ(said, "Error writing file: " + first_missing + " (and " + std::to_string(missing - 1) + " more)\n");
}

}  // namespace

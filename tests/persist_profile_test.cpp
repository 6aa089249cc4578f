// The user profile: the exact file the game writes, reading it back, older and hand-edited
// profiles, and a write that fails without costing the player the old profile.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/state.h"
#include "board/hint_play.h"
#include "board/level_play.h"
#include "persist/profile.h"
#include "tests/scratch_folder.h"

namespace {

class PersistProfile : public ::testing::Test {
 protected:
  std::string Dir;

  void SetUp() override {
    char pattern[] = "/tmp/quark-profile-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Dir = pattern;
    Saved_Language_Dir = Language_Dir;
    ResetGlobals();
  }
  void TearDown() override {
    Language_Dir = Saved_Language_Dir;
    std::filesystem::remove_all(Dir);
  }
  String Saved_Language_Dir;

  // The values start-up gives before the profile is read.
  static void ResetGlobals() {
    Version_Label = u"F1.4.0";
    Profile_Version = Version_Label;
    Total_Play_Time = 0;
    Now = Start_Time = 0;
    SetDefaultStyles();
    ResetMusic();
    ResetDisplay();
    ResetLevelPlay();
    Language_File = u"";
    Language_Dir = u"/home/player/.local/share/qUaRk";
  }

  String Path(const char* name = "qUaRk_User_Profile.txt") const {
    return FromLatin1(Dir + "/" + name);
  }
  void WriteBytes(const std::string& bytes, const char* name = "qUaRk_User_Profile.txt") const {
    std::ofstream(Dir + "/" + name, std::ios::binary) << bytes;
  }
  std::string ReadBytes(const char* name = "qUaRk_User_Profile.txt") const {
    std::ifstream in(Dir + "/" + name, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  // Reads a profile made of `bytes`; returns what the message box received.
  std::string ReadProfileOf(const std::string& bytes) {
    WriteBytes(bytes);
    ::testing::internal::CaptureStderr();
    ReadProfile(Path());
    return ::testing::internal::GetCapturedStderr();
  }
  int FileCount() const {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Dir)) count++;
    return count;
  }
};

TEST_F(PersistProfile, WritesEveryLineByteForByte) {
  Start_Time = 5000;
  Now = 6000;
  Total_Play_Time = 90060000;   // 90061000 with this run's second: 1 day, 1 hour, 1 minute
  const int styles[6] = {3, 1, 4, 1, 5, 37};
  for (int k = 0; k < 6; k++) User_Style[k] = styles[k];
  Music_Volume = 0.3f;
  Music_Flag = 0;   // the written flag follows the volume
  Language_File = FromLatin1("/home/player/.local/share/qUaRk/qUaRk_text_FR.txt");
  Screen_Mode = 1;
  Wanted_Resolution_X = 1024, Wanted_Resolution_Y = 768, Wanted_Block_Size = 96;
  Resolution_X = 804, Resolution_Y = 592, Block_Size = 74;   // in use, not written
  Border_Fix = 1;
  Display_Quality = 2;
  Colour_Symbols = 1;
  Dead_End_Watch = 1;
  Level_Index = 0;
  Level_Elapsed = 123456;

  WriteProfile(Path());
  Colour_Symbols = 0;
  Dead_End_Watch = 0;

  const std::string expected =
      "{ QUARK user config\r\n"
      "\"Version\" = \"F1.4.0\"\r\n"
      "\r\n"
      "\"Total Time\" = 90061000     { 1 days, 1 hours and 1 minutes.\r\n"
      "\"User Style\" = 3,1,4,1,5,37\r\n"
      "\"Music Flag\" = 1 { 0/1\r\n"
      "\"Language\" = \"/home/player/.local/share/qUaRk/qUaRk_text_FR.txt\"\r\n"
      "\r\n"
      "\"Screen Mode\" = 1 { 0:windowed, 1:Full screen centered, 2:full screen best fit\r\n"
      "\r\n"
      "{ Good screen resolutions: 640x448:56, 804x592:74, 1024x768:96, 1344x1024:128, 1564x1200:150\r\n"
      "\r\n"
      "\"Resolution X\" = 1024 { 10 * Block_Size + 64(SideBar)\r\n"
      "\"Resolution Y\" = 768 { 8 * Block_Size\r\n"
      "\"Block Size\" = 96 { should be an even number\r\n"
      "\"Border Fix\" = 1 { 0:no fix, 1:if you have residual pixels around the screen in fullscreen modes\r\n"
      "\r\n"
      "\"Display Quality\" = 2 { 0:automatic, 1:Low details, 2:High details\r\n"
      "\"Colour Symbols\" = 1 { 0:colours only, 1:a symbol on each colour\r\n"
      "\"Dead End Watch\" = 1 { 0:off, 1:a mark as soon as a move leaves no way out\r\n"
      "\r\n"
      "{ Current game infos\r\n"
      "\"Current Level Info\" = 1010827584 { don't modify this\r\n"
      "\r\n";
  EXPECT_EQ(ReadBytes(), expected);
  EXPECT_EQ(FileCount(), 1) << "the temporary file must be gone";
}

TEST_F(PersistProfile, TotalTimeComment) {
  const struct {
    int64_t T;
    const char* Line;
  } cases[] = {
      {0, "\"Total Time\" = 0     { 0 days, 0 hours and 0 minutes.\r\n"},
      {90061000, "\"Total Time\" = 90061000     { 1 days, 1 hours and 1 minutes.\r\n"},
      {86399999, "\"Total Time\" = 86399999     { 0 days, 23 hours and 59 minutes.\r\n"},
      {59999, "\"Total Time\" = 59999     { 0 days, 0 hours and 0 minutes.\r\n"},
      {3000000000000, "\"Total Time\" = 3000000000000     { 34722 days, 5 hours and 20 minutes.\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.T);
    Total_Play_Time = c.T;
    WriteProfile(Path());
    EXPECT_NE(ReadBytes().find(c.Line), std::string::npos) << ReadBytes();
  }
}

TEST_F(PersistProfile, WriteThenReadRestoresEveryValue) {
  Start_Time = 1000;
  Now = 61000;
  Total_Play_Time = 7200000;
  const int styles[6] = {37, 0, 12, 12, 8, 21};
  for (int k = 0; k < 6; k++) User_Style[k] = styles[k];
  Music_Volume = 0;   // music off
  Language_File = FromLatin1("/data/\xE9t\xE9/qUaRk_text_DE.txt");   // 8-bit path bytes
  Screen_Mode = 2;
  Wanted_Resolution_X = 1344, Wanted_Resolution_Y = 1024, Wanted_Block_Size = 128;
  Border_Fix = 1;
  Display_Quality = 1;
  Colour_Symbols = 1;
  Level_Index = 552;
  Level_Elapsed = 987654321;
  WriteProfile(Path());

  // Everything back to the start-up defaults, then read.
  Version_Label = u"F9.9.9";
  const int64_t written_total = 7200000 + 60000;
  Total_Play_Time = 0;
  SetDefaultStyles();
  ResetMusic();
  ResetDisplay();
  ResetLevelPlay();
  Language_File = u"";
  EXPECT_EQ(ReadProfileOf(ReadBytes()), "");

  EXPECT_EQ(Profile_Version, u"F1.4.0");
  EXPECT_EQ(Total_Play_Time, written_total);
  for (int k = 0; k < 6; k++) EXPECT_EQ(User_Style[k], styles[k]) << k;
  EXPECT_EQ(Music_Flag, 0);
  EXPECT_EQ(Language_File, FromLatin1("/data/\xE9t\xE9/qUaRk_text_DE.txt"));
  EXPECT_EQ(Screen_Mode, 2);
  EXPECT_EQ(Wanted_Resolution_X, 1344);
  EXPECT_EQ(Resolution_X, 1344);
  EXPECT_EQ(Wanted_Resolution_Y, 1024);
  EXPECT_EQ(Resolution_Y, 1024);
  EXPECT_EQ(Wanted_Block_Size, 128);
  EXPECT_EQ(Block_Size, 128);
  EXPECT_EQ(Border_Fix, 1);
  EXPECT_EQ(Display_Quality, 1);
  EXPECT_EQ(Colour_Symbols, 1);
  EXPECT_EQ(Level_Index, 552);
  EXPECT_EQ(Level_Elapsed, 987654321);

  // Music on comes back as 1.
  Music_Volume = 0.3f;
  WriteProfile(Path());
  ReadProfileOf(ReadBytes());
  EXPECT_EQ(Music_Flag, 1);
}

TEST_F(PersistProfile, TheLanguageLineHoldsTheFullPathUnlessTheLineCannotCarryIt) {
  const struct {
    std::string File;
    std::string Written;
  } cases[] = {
      {"/home/player/.local/share/qUaRk/qUaRk_text_FR.txt", "/home/player/.local/share/qUaRk/qUaRk_text_FR.txt"},
      {"/elsewhere/qUaRk_text_FR.txt", "/elsewhere/qUaRk_text_FR.txt"},
      {"", ""},
      // A brace or a quote would cut the line: a file of the language folder keeps its name only.
      {"/my{games/qUaRk_text_DE.txt", "qUaRk_text_DE.txt"},
      {"/say \"hi\"/qUaRk_text_DE.txt", "qUaRk_text_DE.txt"},
      {"/{\"}/qUaRk_text_DE.txt", "qUaRk_text_DE.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    const size_t slash = c.File.rfind('/');
    Language_Dir = c.File.empty() ? u"" : FromLatin1(c.File.substr(0, slash));
    Language_File = FromLatin1(c.File);
    WriteProfile(Path());
    const std::string line = "\"Language\" = \"" + c.Written + "\"\r\n";
    EXPECT_NE(ReadBytes().find(line), std::string::npos);
    Language_File = u"";
    EXPECT_EQ(ReadProfileOf(ReadBytes()), "");
    // What start-up makes of the value read is the path the game had.
    EXPECT_EQ(LanguageFileFromProfile(Language_File), FromLatin1(c.File));
  }
}

TEST_F(PersistProfile, AProfileThatNamesItsLanguageByNameAloneStillFindsIt) {
  // Written by versions that kept every file of the language folder by its name.
  ReadProfileOf("\"Language\" = \"qUaRk_text_HU.txt\"\r\n");
  EXPECT_EQ(LanguageFileFromProfile(Language_File), u"/home/player/.local/share/qUaRk/qUaRk_text_HU.txt");
}

TEST_F(PersistProfile, PacksTheCurrentLevel) {
  const struct {
    int Index;
    int64_t Elapsed;
    int64_t Packed;
  } cases[] = {
      {0, 123456, 1010827584},
      {-1, 0, 0},
      {552, 255, (553 << 8) + 255},
      {8190, 256, (int64_t{1} << 21) + (8191 << 8)},
      {3, int64_t{1} << 40, int64_t{1} << 53 | (4 << 8)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Packed);
    EXPECT_EQ(PackLevelInfo(c.Index, c.Elapsed), c.Packed);
    int index = 99;
    int64_t elapsed = 99;
    UnpackLevelInfo(c.Packed, &index, &elapsed);
    EXPECT_EQ(index, c.Index);
    EXPECT_EQ(elapsed, c.Elapsed);
  }
}

TEST_F(PersistProfile, ReadsKeysAsWritten) {
  const std::string no_message;
  const struct {
    const char* Name;
    std::string File;
    int Styles[6];
    int Screen;
    const char* Version;
    int Index;
    int64_t Elapsed;
  } cases[] = {
      {"two styles, the rest 0", "\"User Style\" = 7,8\r\n", {7, 8, 0, 0, 0, 0}, 0, "F1.4.0", -1, 0},
      {"no sign in screen mode", "\"Screen Mode\" = -1\r\n", {0, 1, 2, 3, 4, 5}, 0, "F1.4.0", -1, 0},
      {"version with a comment", "\"Version\" = \"E1.2\"    { older one\r\n", {0, 1, 2, 3, 4, 5}, 0, "E1.2",
       -1, 0},
      {"no current level", "\"Current Level Info\" = 0\r\n", {0, 1, 2, 3, 4, 5}, 0, "F1.4.0", -1, 0},
      {"packed level", "\"Current Level Info\" = 1010827584 { don't\r\n", {0, 1, 2, 3, 4, 5}, 0, "F1.4.0",
       0, 123456},
      {"older level keys", "\"Current Level Num\" = 12\n\"Current Level Timer\" = 65000\n"
       "\"Current Game Type\" = 1\n", {0, 1, 2, 3, 4, 5}, 0, "F1.4.0", 11, 65000},
      {"later key wins", "\"Screen Mode\" = 1\r\n\"Screen Mode\" = 2\r\n", {0, 1, 2, 3, 4, 5}, 2,
       "F1.4.0", -1, 0},
      {"keys are case-sensitive", "\"screen mode\" = 1\r\n\"Unknown\" = 5\r\n", {0, 1, 2, 3, 4, 5}, 0,
       "F1.4.0", -1, 0},
      {"LF lines, CR anywhere, no end", "\"Screen\r Mode\" = 1\n\"User Style\" = 1,1,1,1,1,1", {1, 1, 1, 1, 1, 1},
       1, "F1.4.0", -1, 0},
      {"a zero byte ends a line", std::string("\"Screen Mode\" = 2", 17) + '\0' + "\"User Style\" = 9",
       {9, 0, 0, 0, 0, 0}, 2, "F1.4.0", -1, 0},
      {"unquoted key skipped", "Screen Mode = 2\r\n", {0, 1, 2, 3, 4, 5}, 0, "F1.4.0", -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    ResetGlobals();
    EXPECT_EQ(ReadProfileOf(c.File), no_message);
    for (int k = 0; k < 6; k++) EXPECT_EQ(User_Style[k], c.Styles[k]) << k;
    EXPECT_EQ(Screen_Mode, c.Screen);
    EXPECT_EQ(Profile_Version, FromLatin1(c.Version));
    EXPECT_EQ(Level_Index, c.Index);
    EXPECT_EQ(Level_Elapsed, c.Elapsed);
  }
}

TEST_F(PersistProfile, HandEditedValuesFallBackToDefaults) {
  // A style outside the 38 sheets would index outside the style tables; a mode outside 0..2
  // does not exist. Sizes are left to the display code, which knows what the desktop allows.
  ReadProfileOf(
      "\"User Style\" = 38,37,4294967297,99999,0,50\r\n"
      "\"Screen Mode\" = 3\r\n"
      "\"Display Quality\" = 7\r\n"
      "\"Colour Symbols\" = 2\r\n"
      "\"Resolution X\" = 100\r\n"
      "\"Block Size\" = 13\r\n");
  const int expected[6] = {0, 37, 1, 3, 0, 5};   // 2^32 + 1 keeps its low 32 bits: 1
  for (int k = 0; k < 6; k++) EXPECT_EQ(User_Style[k], expected[k]) << k;
  EXPECT_EQ(Screen_Mode, 0);
  EXPECT_EQ(Display_Quality, 0);
  EXPECT_EQ(Colour_Symbols, 0) << "only 1 switches the symbols on";
  EXPECT_EQ(Resolution_X, 100);
  EXPECT_EQ(Wanted_Block_Size, 13);
}

TEST_F(PersistProfile, DamagedProfileKeepsStylesAndModesUsable) {
  // Lines built from the profile's own alphabet, so that many of them parse as real keys.
  const char* const pieces[] = {"\"User Style\"", "\"Screen Mode\"", "\"Display Quality\"",
                                "\"Language\"", "\"Current Level Info\"", " = ", "=", ",", "-",
                                "{", "\"", "99999999999999999999", "37", "38", "\r\n", "\n",
                                "" /* a zero byte */, "\xFF"};
  std::string bytes;
  uint32_t state = 2024;
  for (int i = 0; i < 60000; i++) {
    state = state * 1103515245u + 12345u;
    const size_t piece = (state >> 16) % (sizeof pieces / sizeof pieces[0]);
    bytes += piece == 16 ? std::string(1, '\0') : std::string(pieces[piece]);
  }
  ReadProfileOf(bytes);
  for (int k = 0; k < 6; k++) {
    EXPECT_GE(User_Style[k], 0);
    EXPECT_LT(User_Style[k], Style_Sheet_Count);
  }
  EXPECT_GE(Screen_Mode, 0);
  EXPECT_LE(Screen_Mode, 2);
  EXPECT_GE(Display_Quality, 0);
  EXPECT_LE(Display_Quality, 2);
}

// However many lines lack their "=", one message names the first of them and counts them:
// a damaged profile must not open a box per line.
TEST_F(PersistProfile, MissingEqualsShowsOneMessageAndGoesOn) {
  std::string thousand;
  for (int i = 0; i < 1000; i++) thousand += "\"Music Flag\" 0\r\n";
  const struct {
    const char* Name;
    std::string Bytes;
    std::string Message;   // the whole line the message box receives
  } cases[] = {
      {"one", "\"Screen Mode\" = 2\r\n\"Music Flag\" 0\r\n",
       "Missing '=' in user profile ! Line 2: \"Music Flag\" 0\n"},
      {"two", "\"Music Flag\" 0\r\n\"Border Fix\" : 1\r\n\"Screen Mode\" = 2\r\n",
       "Missing '=' in user profile ! Line 1: \"Music Flag\" 0 (2 such lines)\n"},
      {"a thousand", "\"Screen Mode\" = 2\r\n{ comment\r\n" + thousand,
       "Missing '=' in user profile ! Line 3: \"Music Flag\" 0 (1000 such lines)\n"},
      {"a long one", "\"Music Flag\"\t" + std::string(200, 'x') + "\r\n\"Screen Mode\" = 2",
       "Missing '=' in user profile ! Line 1: \"Music Flag\" " + std::string(47, 'x') + "...\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    ResetGlobals();
    EXPECT_EQ(ReadProfileOf(c.Bytes), c.Message);
    EXPECT_EQ(Music_Flag, 1);
    EXPECT_EQ(Border_Fix, 0);
    EXPECT_EQ(Screen_Mode, 2);
  }
}

TEST_F(PersistProfile, OnlyLanguageLeavesTheRest) {
  ReadProfileOf("\"Language\" = \"/x/qUaRk_text_EN.txt\"");
  EXPECT_EQ(Language_File, u"/x/qUaRk_text_EN.txt");
  EXPECT_EQ(Profile_Version, u"F1.4.0");
  EXPECT_EQ(Total_Play_Time, 0);
  for (int k = 0; k < 6; k++) EXPECT_EQ(User_Style[k], k);
  EXPECT_EQ(Music_Flag, 1);
  EXPECT_EQ(Screen_Mode, 0);
  EXPECT_EQ(Wanted_Resolution_X, 804);
  EXPECT_EQ(Wanted_Resolution_Y, 592);
  EXPECT_EQ(Wanted_Block_Size, 74);
  EXPECT_EQ(Border_Fix, 0);
  EXPECT_EQ(Display_Quality, 0);
  EXPECT_EQ(Level_Index, -1);
  EXPECT_EQ(Level_Elapsed, 0);
}

TEST_F(PersistProfile, MissingFileChangesNothing) {
  Screen_Mode = 1;
  Language_File = u"keep";
  ReadProfile(Path("no_such_profile.txt"));
  EXPECT_EQ(Screen_Mode, 1);
  EXPECT_EQ(Language_File, u"keep");
}

TEST_F(PersistProfile, FailedWriteKeepsTheOldProfile) {
  WriteBytes("\"Screen Mode\" = 2\r\n");
  // A folder where the temporary file must go makes the write fail, whoever runs the test.
  std::filesystem::create_directory(Dir + "/qUaRk_User_Profile.txt_t");
  ::testing::internal::CaptureStderr();
  WriteProfile(Path());
  const std::string messages = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(messages.find(ToUtf8(u"Error writing profile: " + Path())), std::string::npos) << messages;
  EXPECT_EQ(ReadBytes(), "\"Screen Mode\" = 2\r\n");

  ::testing::internal::CaptureStderr();
  WriteProfile(Path("missing_folder/qUaRk_User_Profile.txt"));
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Error writing profile: "), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Dir + "/missing_folder"));
}

// The mode bits decide whether a profile is read-only, not what the system would allow: root
// may write any file, yet a profile its owner made read-only stays as it is, for root too.
TEST_F(PersistProfile, AReadOnlyProfileIsLeftAloneWhoeverRunsTheGame) {
  WriteBytes("\"Screen Mode\" = 2\r\n");
  ASSERT_EQ(chmod((Dir + "/qUaRk_User_Profile.txt").c_str(), 0444), 0);
  EXPECT_EQ(FileWritable(Path()), 0);
  ::testing::internal::CaptureStderr();
  WriteProfile(Path());
  const std::string messages = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(messages.find(ToUtf8(u"Error writing profile: " + Path())), std::string::npos) << messages;
  EXPECT_EQ(ReadBytes(), "\"Screen Mode\" = 2\r\n");
}

// A read-only profile as a player sees it. Root may write any file, so a root run first gives
// the folder to an unprivileged user and becomes that user; the profile stays root's, readable
// only. Returns 0 when the profile was left alone, else the number of the check that failed.
int WriteOverAReadOnlyProfile() {
  ScratchFolder folder;
  if (folder.Path.empty()) return 1;
  const std::string profile = folder.Name("qUaRk_User_Profile.txt");
  const std::string old_bytes = "\"Screen Mode\" = 2\r\n";
  std::ofstream(profile, std::ios::binary) << old_bytes;
  std::ofstream(folder.Name("open.txt")) << "anyone may write here";
  if (chmod(profile.c_str(), 0444) != 0) return 2;
  if (geteuid() == 0) {
    const uid_t nobody = 65534;
    if (chown(folder.Path.c_str(), nobody, nobody) != 0 || chown(folder.Name("open.txt").c_str(), nobody, nobody) != 0 ||
        setgid(nobody) != 0 || setuid(nobody) != 0) {
      return 3;
    }
  }
  if (FileWritable(FromLatin1(profile)) != 0) return 4;
  if (FileWritable(folder.File("open.txt")) != 1) return 5;
  if (FileWritable(folder.File("missing.txt")) != 0) return 6;
  WriteProfile(FromLatin1(profile));
  std::ifstream in(profile, std::ios::binary);
  std::stringstream now;
  now << in.rdbuf();
  if (now.str() != old_bytes) return 7;
  if (std::filesystem::exists(profile + "_t")) return 8;
  return 0;
}

TEST(PersistProfileAccess, AReadOnlyProfileIsNotReplaced) {
  // The check runs in a fresh process of its own, which may give up root for good.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(WriteOverAReadOnlyProfile()), ::testing::ExitedWithCode(0), "Error writing profile: /");
}

}  // namespace

// The fuzz corpus of the player-file readers, replayed on every test run: each kept input
// must still satisfy what the fuzz targets check, whatever compiler built the game.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/music.h"
#include "platform/headless.h"
#include "tools/fuzz/player_file_checks.h"
#include "tools/fuzz/reader_checks.h"

namespace {

std::vector<std::filesystem::path> CorpusFiles(const std::string& name) {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(std::string(QUARK_SOURCE_DIR) + "/tools/fuzz/corpus/" + name)) {
    files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const uint8_t* Data(const std::string& bytes) { return reinterpret_cast<const uint8_t*>(bytes.data()); }

// Reading profiles changes the settings globals; later tests get them back as they were.
class ReaderCorpus : public ::testing::Test {
 protected:
  void SetUp() override {
    EnterHeadlessMode();
    char pattern[] = "/tmp/quark-corpus-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Dir = pattern;
    std::copy(User_Style, User_Style + 6, Saved_Styles);
    Saved_Ints = {Screen_Mode, Display_Quality, Border_Fix, Music_Flag, Resolution_X, Resolution_Y, Block_Size,
                  Wanted_Resolution_X, Wanted_Resolution_Y, Wanted_Block_Size, Level_Index};
    Saved_Elapsed = Level_Elapsed;
    Saved_Total = Total_Play_Time;
    Saved_Language = Language_File;
    Saved_Version = Profile_Version;
  }
  void TearDown() override {
    std::copy(Saved_Styles, Saved_Styles + 6, User_Style);
    int* ints[] = {&Screen_Mode, &Display_Quality, &Border_Fix, &Music_Flag, &Resolution_X, &Resolution_Y, &Block_Size,
                   &Wanted_Resolution_X, &Wanted_Resolution_Y, &Wanted_Block_Size, &Level_Index};
    for (size_t i = 0; i < Saved_Ints.size(); i++) *ints[i] = Saved_Ints[i];
    SetDetailLevel(Display_Quality);
    Level_Elapsed = Saved_Elapsed;
    Total_Play_Time = Saved_Total;
    Language_File = Saved_Language;
    Profile_Version = Saved_Version;
    Text_List.clear();
    std::filesystem::remove_all(Dir);
  }
  String Scratch() const { return FromLatin1(Dir + "/profile.txt"); }

  std::string Dir;
  int Saved_Styles[6];
  std::vector<int> Saved_Ints;
  int64_t Saved_Elapsed = 0, Saved_Total = 0;
  String Saved_Language, Saved_Version;
};

TEST_F(ReaderCorpus, EveryKeptProfileReadsSoundly) {
  const auto files = CorpusFiles("profile");
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    const std::string bytes = Bytes(path);
    EXPECT_TRUE(reader_checks::ProfileReadIsSound(Data(bytes), bytes.size(), Scratch())) << path;
  }
}

TEST_F(ReaderCorpus, AnOldLevelNumberWrapsInThirtyTwoBits) {
  // Found by the fuzzer: a number whose low 32 bits are the smallest int, minus one.
  const struct {
    const char* Value;
    int Level_Index;
  } rows[] = {{"0", -1}, {"12", 11}, {"2147483648", INT_MAX}, {"4294967296", -1}, {"4294967295", -2}};
  for (const auto& row : rows) {
    const std::string bytes = std::string("\"Current Level Num\" = ") + row.Value + "\r\n";
    std::ofstream(Dir + "/old.txt", std::ios::binary) << bytes;
    Level_Index = 99;
    ReadProfile(FromLatin1(Dir + "/old.txt"));
    EXPECT_EQ(Level_Index, row.Level_Index) << row.Value;
  }
}

TEST_F(ReaderCorpus, EveryKeptLanguageFileLoadsSoundly) {
  const auto files = CorpusFiles("language");
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    const std::string bytes = Bytes(path);
    EXPECT_TRUE(reader_checks::LanguageLoadIsSound(Data(bytes), bytes.size())) << path;
    EXPECT_FALSE(Text_List.empty()) << path;
  }
}

TEST_F(ReaderCorpus, EveryKeptPictureLoadsSoundly) {
  const auto files = CorpusFiles("picture");
  ASSERT_FALSE(files.empty());
  int loaded = 0;
  for (const auto& path : files) {
    const std::string bytes = Bytes(path);
    EXPECT_TRUE(player_file_checks::PlayerPictureIsSound(Data(bytes), bytes.size(), FromLatin1(Dir + "/picture")))
        << path;
    Image* img = LoadImage(FromLatin1(Dir + "/picture"));
    loaded += img != nullptr;
    FreeImage(img);
  }
  EXPECT_GE(loaded, 3) << "the PNG and JPEG seeds load";
}

TEST_F(ReaderCorpus, EveryKeptLanguageFolderScansSoundly) {
  const auto files = CorpusFiles("language_scan");
  ASSERT_FALSE(files.empty());
  RegisterEmbeddedData();
  SetFallbackFont(u"incbin::Data/cjk_fallback.ttf");
  const String saved_dir = Language_Dir;
  const int saved_block = Block_Size;
  Block_Size = 74;
  // Deep enough that a flag named "../../dev/zero" and the like reaches outside it.
  const std::string folder = Dir + "/a/b";
  std::filesystem::create_directories(folder);
  int with_flag = 0, without_flag = 0;
  for (const auto& path : files) {
    const std::string bytes = Bytes(path);
    player_file_checks::WriteLanguageFolder(Data(bytes), bytes.size(), folder);
    Language_Dir = FromLatin1(folder);
    ScanLanguages();
    for (const auto& lang : Language_List) (lang->bitmap ? with_flag : without_flag)++;
    EXPECT_TRUE(player_file_checks::LanguageScanIsSound(Data(bytes), bytes.size(), folder)) << path;
  }
  Language_List.clear();
  Language_Dir = saved_dir;
  Block_Size = saved_block;
  SetFallbackFont(u"");
  EXPECT_GE(with_flag, 2);
  EXPECT_GE(without_flag, 2) << "a device and a picture too wide are no flags";
}

}  // namespace

// The fuzz corpus of the undo history and best-scores readers, replayed on every test run: each
// kept input must still satisfy what the fuzz targets check, whatever compiler built the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/assets.h"
#include "board/moves.h"
#include "platform/headless.h"
#include "tests/file_faults.h"
#include "tools/fuzz/progress_checks.h"

namespace {

std::vector<std::filesystem::path> CorpusFiles(const std::string& name) {
  std::vector<std::filesystem::path> files;
  for (const auto& e :
       std::filesystem::directory_iterator(std::string(QUARK_SOURCE_DIR) + "/tools/fuzz/corpus/" + name)) {
    files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

const uint8_t* Data(const std::string& bytes) { return reinterpret_cast<const uint8_t*>(bytes.data()); }

class ProgressCorpus : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    if (!Official_Bank) LoadCatalogue(u"incbin::Data/full2.lvl");
  }
  void SetUp() override {
    Saved_Files[0] = Undo_File;
    Saved_Files[1] = Best_Scores_File;
    Saved_Now = Now;
  }
  void TearDown() override {
    // No links, no history and no level left behind for the tests that follow.
    Best_Scores_File = Folder.File("none");
    LinkBestScores();
    Undo_File = Saved_Files[0];
    Best_Scores_File = Saved_Files[1];
    ResetBoardState();
    ResetLevelPlay();
    Prev_Best_Time = 0;
    Now = Saved_Now;
  }

  ScratchFolder Folder;
  String Saved_Files[2];
  int64_t Saved_Now = 0;
};

TEST_F(ProgressCorpus, EveryKeptUndoHistoryIsReadSoundly) {
  const auto files = CorpusFiles("undo");
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    const std::string bytes = ReadWhole(FromLatin1(path.string()));
    EXPECT_TRUE(progress_checks::UndoHistoryIsSound(Data(bytes), bytes.size(), Folder.File("undo.bin"))) << path;
  }
}

TEST_F(ProgressCorpus, EveryKeptBestScoresFileIsReadSoundly) {
  const auto files = CorpusFiles("best_scores");
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    const std::string bytes = ReadWhole(FromLatin1(path.string()));
    EXPECT_TRUE(progress_checks::BestScoresAreSound(Data(bytes), bytes.size(), Folder.File("scores.bin"))) << path;
  }
}

}  // namespace

// Progress and best scores: the sequence of times of one level, links rebuilt at a restart,
// damaged and hand-edited files, levels the catalogue does not have, and writes that fail.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "app/assets.h"
#include "app/state.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "persist/profile.h"
#include "platform/headless.h"
#include "tests/file_faults.h"

namespace {

struct Record {
  int Id, Moves, Last, Best;
  bool operator==(const Record&) const = default;
};

std::string Le16(int v) { return {static_cast<char>(v & 255), static_cast<char>((v >> 8) & 255)}; }
std::string Le32(int v) { return Le16(v & 0xffff) + Le16((v >> 16) & 0xffff); }
std::string RecordBytes(const Record& r) { return Le16(r.Id) + Le16(r.Moves) + Le32(r.Last) + Le32(r.Best); }
const std::string Header = Le16(1) + Le16(0);

int IdOf(int level) { return PeekShort(Official_Bank, level * Level_Record_Size + Level_Id_Offset); }

Record RecordAt(int link) {
  return {PeekShort(Best_Scores, link), PeekShort(Best_Scores, link + 2), PeekInt(Best_Scores, link + 4),
          PeekInt(Best_Scores, link + 8)};
}

class BestScores : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    if (!Official_Bank) LoadCatalogue(u"incbin::Data/full2.lvl");
  }
  void SetUp() override {
    ASSERT_GE(Official_Level_Count, 10);
    Saved_File = Best_Scores_File;
    Best_Scores_File = Folder.File("qUaRk_Best_Scores.bin");
    LinkBestScores();
    Level_Index = 0;
    Prev_Best_Time = 0;
  }
  void TearDown() override {
    // Leave the catalogue without links for the tests that follow.
    Best_Scores_File = Folder.File("none");
    LinkBestScores();
    Best_Scores_File = Saved_File;
    Level_Index = -1;
    Undo_Count = 0;
    Prev_Best_Time = 0;
  }

  // A win of the current level as CheckLevelWon enters it.
  static int Win(int64_t ms, int moves) {
    Level_Final_Time = ms;
    Undo_Count = moves + 1;
    Prev_Best_Time = 0;
    return RecordLevelTime();
  }
  // Every link of the catalogue reaches a whole record inside the buffer.
  static void ExpectLinksInside() {
    for (int i = 0; i < Official_Level_Count; i++) {
      int link = BestScoreLink(i);
      if (link == 0) continue;
      EXPECT_EQ((link - 4) % 12, 0) << "level " << i;
      EXPECT_LE(link + 12, BufferSize(Best_Scores)) << "level " << i;
    }
  }
  std::string FileBytes() const { return ReadWhole(Best_Scores_File); }

  ScratchFolder Folder;
  String Saved_File;
};

TEST_F(BestScores, OneLevelSolvedFourTimes) {
  const struct {
    int64_t Ms;
    int Moves;
    int Result;
    int64_t Prev;
    Record After;
  } wins[] = {
      {95000, 12, 1, 0, {0, 12, 95, 0}},        // first solution: best unset
      {80000, 9, 1, 95000, {0, 9, 80, 80}},     // the old last becomes the best, then beaten
      {90000, 20, 0, 80000, {0, 9, 90, 80}},    // slower: only the last time changes
      {80999, 5, 0, 80000, {0, 9, 80, 80}},     // the same second is not a new best
  };
  for (const auto& w : wins) {
    SCOPED_TRACE(w.Ms);
    EXPECT_EQ(Win(w.Ms, w.Moves), w.Result);
    EXPECT_EQ(Prev_Best_Time, w.Prev);
    EXPECT_EQ(Best_Count, 1);
    ASSERT_EQ(BestScoreLink(0), 4);
    Record expected = w.After;
    expected.Id = IdOf(0);
    EXPECT_EQ(RecordAt(4), expected);
  }
  LoadBestTime();
  EXPECT_EQ(Prev_Best_Time, 80000);
}

TEST_F(BestScores, AfterARestartTheLinksComeBackFromTheFile) {
  Level_Index = 6;
  Win(42000, 7);
  Level_Index = 0;
  Win(95000, 12);
  SaveBestScores();
  EXPECT_EQ(FileBytes(), Header + RecordBytes({IdOf(6), 7, 42, 0}) + RecordBytes({IdOf(0), 12, 95, 0}));
  EXPECT_FALSE(Exists(Best_Scores_File + u"_t"));

  LinkBestScores();
  EXPECT_EQ(Best_Count, 2);
  EXPECT_EQ(BestScoreLink(6), 4);
  EXPECT_EQ(BestScoreLink(0), 16);
  EXPECT_EQ(BestScoreLink(1), 0);
  Level_Index = 6;
  LoadBestTime();
  EXPECT_EQ(Prev_Best_Time, 42000);
  // Without a file the links go too.
  DeleteFile(Best_Scores_File);
  LinkBestScores();
  EXPECT_EQ(Best_Count, 0);
  EXPECT_EQ(BestScoreLink(6), 0);
}

TEST_F(BestScores, DamagedOrEditedFilesAreReadWithoutReachingOutside) {
  const struct {
    const char* Name;
    std::string File;
    int Count;
    int Linked_Level, Link;   // one level that must be linked there (-1: none)
    int Written_Size;         // the file after a win of level 3 (a level no row links)
  } cases[] = {
      {"an empty file", "", 0, -1, 0, 16},
      {"less than a header", "\x01", 0, -1, 0, 16},
      {"a record and a part", Header + RecordBytes({IdOf(0), 3, 60, 0}) + "\x05\x05\x05\x05\x05", 1, 0, 4, 28},
      {"identifiers of no level", Header + RecordBytes({0, 1, 1, 0}) + RecordBytes({60000, 1, 1, 0}) +
                                       RecordBytes({IdOf(2), 1, 1, 0}), 3, 2, 28, 52},
      {"the same level twice", Header + RecordBytes({IdOf(1), 1, 50, 0}) + RecordBytes({IdOf(1), 1, 70, 0}), 2, 1,
       16, 40},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteWhole(Best_Scores_File, c.File);
    LinkBestScores();
    EXPECT_EQ(Best_Count, c.Count);
    if (c.Linked_Level >= 0) {
      EXPECT_EQ(BestScoreLink(c.Linked_Level), c.Link);
    }
    ExpectLinksInside();

    Level_Index = 3;
    EXPECT_EQ(Win(30000, 4), 1);
    SaveBestScores();
    std::string written = FileBytes();
    ASSERT_EQ(static_cast<int>(written.size()), c.Written_Size);
    EXPECT_EQ(written.substr(0, 4), Header);
    EXPECT_EQ(written.substr(written.size() - 12), RecordBytes({IdOf(3), 4, 30, 0}));
    // Records of no level are written back as they were.
    if (c.File.size() >= 16) {
      EXPECT_EQ(written.substr(4, 12), c.File.substr(4, 12));
    }
    ExpectLinksInside();
  }
}

TEST_F(BestScores, LinksAreNeverTakenOnTrust) {
  // A catalogue carrying values in its link fields: rebuilt from nothing.
  PokeShort(Official_Bank, 3 * Level_Record_Size + Level_Link_Offset, 65535);
  PokeShort(Official_Bank, 4 * Level_Record_Size + Level_Link_Offset, 7);
  WriteWhole(Best_Scores_File, Header + RecordBytes({IdOf(0), 1, 10, 0}));
  LinkBestScores();
  EXPECT_EQ(PeekShort(Official_Bank, 3 * Level_Record_Size + Level_Link_Offset), 0);
  EXPECT_EQ(PeekShort(Official_Bank, 4 * Level_Record_Size + Level_Link_Offset), 0);

  // A link changed while running, past the records or off their grid, reads as none, and a
  // win then makes a record of its own.
  for (int bad : {4000, 5, 65535, 2}) {
    SCOPED_TRACE(bad);
    PokeShort(Level_Bank, 3 * Level_Record_Size + Level_Link_Offset, bad);
    Level_Index = 3;
    Prev_Best_Time = 123;
    LoadBestTime();
    EXPECT_EQ(Prev_Best_Time, 0);
    int count = Best_Count;
    EXPECT_EQ(Win(20000, 2), 1);
    EXPECT_EQ(Best_Count, count + 1);
    EXPECT_EQ(BufferSize(Best_Scores), 4 + 12 * Best_Count);
    EXPECT_EQ(RecordAt(4), (Record{IdOf(0), 1, 10, 0}));
  }
}

TEST_F(BestScores, RecordsBeyondTheReachOfALinkStayUnlinked) {
  // A link is 16 bits: record 5459 (offset 65512) is the last one it can name.
  std::string file = Header;
  for (int j = 0; j < 5461; j++) {
    int id = j == 5459 ? IdOf(0) : j == 5460 ? IdOf(1) : 60000;
    file += RecordBytes({id, 1, 1, 0});
  }
  WriteWhole(Best_Scores_File, file);
  LinkBestScores();
  EXPECT_EQ(Best_Count, 5461);
  EXPECT_EQ(BestScoreLink(0), 65512);
  EXPECT_EQ(BestScoreLink(1), 0);
  // Its win cannot be linked either: nothing is recorded rather than a wrapped link.
  Level_Index = 1;
  EXPECT_EQ(Win(20000, 2), 0);
  EXPECT_EQ(Best_Count, 5461);
  EXPECT_EQ(BestScoreLink(1), 0);
  EXPECT_EQ(BufferSize(Best_Scores), static_cast<int>(file.size()));
}

TEST_F(BestScores, LevelsTheCatalogueDoesNotHaveAreNeverRecorded) {
  Win(50000, 3);   // level 0 has a record
  const std::vector<uint8_t> before = Best_Scores->Bytes;
  for (int index : {-1, Official_Level_Count, 8190, INT_MAX, INT_MIN}) {
    SCOPED_TRACE(index);
    Level_Index = index;
    Prev_Best_Time = 777;
    LoadBestTime();
    EXPECT_EQ(Prev_Best_Time, 0);
    EXPECT_EQ(Win(20000, 2), 0);
    EXPECT_EQ(BestScoreLink(index), 0);
  }
  EXPECT_EQ(Best_Scores->Bytes, before);
  EXPECT_EQ(Best_Count, 1);
}

// A save that fails leaves the old file as it was, keeps the new record for the next save, and
// tells the player once: a retry that fails again says nothing more.
TEST_F(BestScores, AWriteThatFailsKeepsTheOldFileAndTheBufferAndSaysSoOnce) {
  const struct {
    const char* Name;
    int Fault;   // 0 the copy cannot be created, 1 the disk stops after 20 bytes, 2 a full disk
  } cases[] = {{"no copy", 0}, {"stopped midway", 1}, {"full disk", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    DeleteFile(Best_Scores_File);
    LinkBestScores();
    Level_Index = 0;
    Win(95000, 12);
    ASSERT_EQ(SaveBestScores(), 1);
    const std::string old_file = FileBytes();
    ASSERT_EQ(old_file.size(), 16u);

    Level_Index = 5;
    Win(61000, 8);
    const String temporary = Best_Scores_File + u"_t";
    if (c.Fault == 0) std::filesystem::create_directories(ToLatin1(temporary) + "/in the way");
    if (c.Fault == 0) {
      // (Captured output goes to a file, which a write limit would cut short.)
      ::testing::internal::CaptureStderr();
      EXPECT_EQ(SaveBestScores(), 0);
      EXPECT_EQ(SaveBestScores(), 0);
      EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Can't write " + ToLatin1(Best_Scores_File) + "\n");
    } else {
      WriteLimit limit(c.Fault == 1 ? 20 : 0);
      EXPECT_EQ(SaveBestScores(), 0);
    }
    EXPECT_EQ(FileBytes(), old_file);
    if (c.Fault != 0) {
      EXPECT_FALSE(Exists(temporary));
    }
    std::filesystem::remove_all(ToLatin1(temporary));

    // The buffer kept the new record: the next save writes both.
    EXPECT_EQ(Best_Count, 2);
    EXPECT_EQ(SaveBestScores(), 1);
    EXPECT_EQ(FileBytes(), old_file + RecordBytes({IdOf(5), 8, 61, 0}));
  }
}

TEST_F(BestScores, AFileThatCannotBeReadIsReportedAndNeverWrittenOver) {
  // Reading the process's own memory file fails even for root, yet the file is there.
  std::filesystem::create_symlink("/proc/self/mem", ToLatin1(Best_Scores_File));
  ::testing::internal::CaptureStderr();
  LinkBestScores();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Can't read " + ToLatin1(Best_Scores_File)), std::string::npos) << said;
  EXPECT_EQ(Best_Count, 0);
  Level_Index = 0;
  EXPECT_EQ(Win(95000, 12), 1);   // the run goes on and counts the win
  EXPECT_EQ(SaveBestScores(), 0);
  EXPECT_TRUE(std::filesystem::is_symlink(ToLatin1(Best_Scores_File)));
  EXPECT_FALSE(Exists(Best_Scores_File + u"_t"));

  // Once the file reads again, saving works as before.
  std::filesystem::remove(ToLatin1(Best_Scores_File));
  LinkBestScores();
  Win(95000, 12);
  SaveBestScores();
  EXPECT_EQ(FileBytes().size(), 16u);
}

TEST(CurrentLevelInfo, PacksLevelFiveAtThirtySeconds) {
  EXPECT_EQ(PackLevelInfo(4, 30000), 245368112);
  int index = 0;
  int64_t elapsed = 0;
  UnpackLevelInfo(245368112, &index, &elapsed);
  EXPECT_EQ(index, 4);
  EXPECT_EQ(elapsed, 30000);
}

}  // namespace

// Wins waiting to reach the best-scores file, kept in Win_File until they do.
//
// Why entering a win twice is harmless: a record's best time is never above its last time, so
// a win whose seconds equal the record's last time changes nothing that shows (WinRecorded).
// The entries are therefore entered again, in order, whenever it is unclear whether the file
// has them, and the time in Win_File is always the time the record gets.
#include "levels/pending_wins.h"

#include <climits>
#include <vector>

#include "app/state.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"

namespace {

struct PendingWin {
  int Level;
  int Moves;
  int64_t Ms;
  bool Recorded;   // in the best-scores buffer (not yet necessarily in the file)
};

constexpr int Entry_Size = 8;
// A file the game wrote holds a handful of entries; anything much longer was not written by it.
constexpr int64_t Max_Entries = 4096;

std::vector<PendingWin> Pending;
// The last entry is the winning step of the level in play, whose entry has not come yet.
bool Step_Open = false;

int IdOf(int level) { return PeekShort(Level_Bank, level * Level_Record_Size + Level_Id_Offset); }

int LevelWithId(int id) {
  for (int i = 0; i < Official_Level_Count; i++) {
    if (IdOf(i) == id) return i;
  }
  return -1;
}

// Win_File as the entries stand; removed when none waits. Not reported when it fails: the
// best scores' own write, which follows, tells the player about a disk that refuses files.
void WriteWinFile() {
  if (Pending.empty()) {
    DeleteFile(Win_File);
    return;
  }
  std::vector<uint8_t> bytes;
  for (const PendingWin& w : Pending) {
    const int moves = w.Moves < 0 ? 0 : w.Moves > 65535 ? 65535 : w.Moves;
    const int ms = w.Ms < 0 ? 0 : w.Ms > INT32_MAX ? INT32_MAX : static_cast<int>(w.Ms);
    const int id = IdOf(w.Level);
    const uint32_t time = static_cast<uint32_t>(ms);
    bytes.insert(bytes.end(), {static_cast<uint8_t>(id), static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(moves),
                               static_cast<uint8_t>(moves >> 8), static_cast<uint8_t>(time), static_cast<uint8_t>(time >> 8),
                               static_cast<uint8_t>(time >> 16), static_cast<uint8_t>(time >> 24)});
  }
  ReplaceFile(Win_File, bytes.data(), bytes.size());
}

// Enters the waiting wins that the buffer does not hold yet, in the order they were won, all
// but the last when `but_last` is set.
void RecordWaitingWins(bool but_last) {
  const size_t count = but_last && !Pending.empty() ? Pending.size() - 1 : Pending.size();
  for (size_t i = 0; i < count; i++) {
    PendingWin& w = Pending[i];
    if (w.Recorded) continue;
    int64_t ignored = 0;
    if (!WinRecorded(w.Level, w.Ms)) RecordWin(w.Level, w.Ms, w.Moves, &ignored);
    w.Recorded = true;
  }
}

// Writes the best scores; once they are on disk nothing waits any more.
int WriteRecordedWins() {
  if (SaveBestScores()) {
    Pending.clear();
    DeleteFile(Win_File);
    return 1;
  }
  // Still waiting: Win_File may have missed an entry that the disk refused before.
  WriteWinFile();
  return 0;
}

}  // namespace

void NoteWinningStep(int level_index, int moves, int64_t ms) {
  if (level_index < 0 || level_index >= Official_Level_Count) return;
  if (Step_Open && !Pending.empty()) Pending.pop_back();
  Pending.push_back({level_index, moves, ms, false});
  Step_Open = true;
  WriteWinFile();
}

void TakeBackWinningStep() {
  if (!Step_Open) return;
  Step_Open = false;
  if (!Pending.empty()) Pending.pop_back();
  WriteWinFile();
}

int EnterLevelWin() {
  if (Step_Open && !Pending.empty()) Pending.pop_back();
  Step_Open = false;
  RecordWaitingWins(false);
  Pending.push_back({Level_Index, Undo_Count - 1, Level_Final_Time, false});
  // The entry holds the time the record is about to get: a kill before the record is written
  // enters this time at the next start, and one after it finds the record holding it.
  WriteWinFile();
  RecordLevelTime();
  Pending.back().Recorded = true;
  return WriteRecordedWins();
}

int SettlePendingWins() {
  if (Pending.empty()) {
    Step_Open = false;
    return 1;
  }
  // A winning step whose entry never came (play left while the last fragments flew) is a win
  // all the same, with the time of the move that won it.
  Step_Open = false;
  RecordWaitingWins(false);
  return WriteRecordedWins();
}

void LoadPendingWins() {
  Pending.clear();
  Step_Open = false;
  ByteBuffer* file = LoadBuffer(Win_File);
  if (!file) return;
  const int64_t size = BufferSize(file);
  for (int at = 0; size <= Max_Entries * Entry_Size && at + Entry_Size <= size; at += Entry_Size) {
    const int level = LevelWithId(PeekShort(file, at));
    const int moves = PeekShort(file, at + 2);
    const int64_t ms = PeekInt(file, at + 4);
    // An entry the game cannot have written (a level it does not have, a time past the
    // clock's cap) is passed over.
    if (level >= 0 && ms >= 0 && ms <= Level_Time_Cap) Pending.push_back({level, moves, ms, false});
  }
  delete file;
  if (Pending.empty()) DeleteFile(Win_File);
}

bool HavePendingWins() { return !Pending.empty(); }

void ResetPendingWins() {
  Pending.clear();
  Step_Open = false;
}

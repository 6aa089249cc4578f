// Progress and best scores: reading and linking the player's file, entering a won level's time,
// and writing the file back without ever leaving it half written.
#include "levels/best_scores.h"

#include <vector>

#include "app/state.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "levels/catalogue.h"

ByteBuffer* Best_Scores = nullptr;
int Best_Count = 0;
int64_t Prev_Best_Time = 0;

namespace {

// Set when the player's file is there but could not be read: it still holds their progress, so
// this run never writes over it.
bool Keep_Unread_File = false;
// Set once a failed save has been reported; the retries that follow stay quiet until a save
// goes through again, so a full disk brings one message, not one per retry.
bool Failure_Reported = false;

// Whole seconds of a win's time, as the records keep them.
int WholeSeconds(int64_t ms) {
  int64_t whole = ms / 1000;
  return whole < 0 ? 0 : whole > INT32_MAX ? INT32_MAX : static_cast<int>(whole);
}

// A link is an unsigned 16-bit value: records further in cannot be reached from the catalogue.
constexpr int Last_Linkable = 65535 - Best_Record_Size;

int RecordOffset(int j) { return Best_Header_Size + Best_Record_Size * j; }

// The start of catalogue record `index` in `bank`, -1 when the bank has no such record. A
// profile may name any index, so nothing reads a record without asking this first.
int CatalogueRecord(const ByteBuffer* bank, int index) {
  if (index < 0 || index >= Official_Level_Count) return -1;
  if (int64_t{index + 1} * Level_Record_Size > BufferSize(bank)) return -1;
  return index * Level_Record_Size;
}

// A fresh buffer: the header and room for the first record.
ByteBuffer* EmptyScores() {
  ByteBuffer* buf = CreateBuffer(16);
  PokeShort(buf, 0, 1);
  PokeShort(buf, 2, 0);
  return buf;
}

// Best time of a record in seconds: the best field, or the last time while that is unset.
int RecordBestSeconds(int link) {
  int best = PeekInt(Best_Scores, link + Best_Time_Offset);
  return best != 0 ? best : PeekInt(Best_Scores, link + Best_Last_Offset);
}

}  // namespace

void LinkBestScores() {
  delete Best_Scores;
  Best_Scores = LoadBuffer(Best_Scores_File);
  Best_Count = 0;
  // The links are ours to build: whatever a catalogue carries there is not a link.
  for (int i = 0; i < Official_Level_Count; i++) {
    int record = CatalogueRecord(Official_Bank, i);
    if (record >= 0) PokeShort(Official_Bank, record + Level_Link_Offset, 0);
  }
  Keep_Unread_File = false;
  Failure_Reported = false;
  if (!Best_Scores) {
    if (FileSize(Best_Scores_File) >= 0) {
      ShowMessage(u"Can't read " + Best_Scores_File, 0);
      Keep_Unread_File = true;
    }
    Best_Scores = EmptyScores();
    return;
  }
  int size = BufferSize(Best_Scores);
  if (size < Best_Header_Size) {
    // Too short to hold even the header: a file with no records, whose header the next
    // record's save writes anew.
    ResizeBuffer(Best_Scores, Best_Header_Size);
    PokeShort(Best_Scores, 0, 1);
    PokeShort(Best_Scores, 2, 0);
    return;
  }
  Best_Count = (size - Best_Header_Size) / Best_Record_Size;

  // First catalogue position of every identifier, so that linking takes one pass however
  // many records a file holds.
  std::vector<int> first_level(65536, -1);
  for (int i = Official_Level_Count - 1; i >= 0; i--) {
    int record = CatalogueRecord(Official_Bank, i);
    if (record >= 0) first_level[PeekShort(Official_Bank, record + Level_Id_Offset)] = i;
  }
  for (int j = 0; j < Best_Count && RecordOffset(j) <= Last_Linkable; j++) {
    int level = first_level[PeekShort(Best_Scores, RecordOffset(j) + Best_Id_Offset)];
    // A record of a level the catalogue does not have stays in the buffer, unlinked, and is
    // written back with it.
    if (level >= 0) PokeShort(Official_Bank, level * Level_Record_Size + Level_Link_Offset, RecordOffset(j));
  }
}

int BestScoreLink(int level_index) {
  int record = CatalogueRecord(Level_Bank, level_index);
  if (record < 0 || !Best_Scores) return 0;
  int link = PeekShort(Level_Bank, record + Level_Link_Offset);
  bool whole_record = link >= Best_Header_Size && (link - Best_Header_Size) % Best_Record_Size == 0 &&
                      link + Best_Record_Size <= RecordOffset(Best_Count) &&
                      link + Best_Record_Size <= BufferSize(Best_Scores);
  return whole_record ? link : 0;
}

void LoadBestTime() {
  Prev_Best_Time = 0;
  int link = BestScoreLink(Level_Index);
  if (link == 0) return;
  Prev_Best_Time = int64_t{RecordBestSeconds(link)} * 1000;
}

int RecordWin(int level_index, int64_t ms, int moves, int64_t* prev_best) {
  int record = CatalogueRecord(Level_Bank, level_index);
  // A board won without a catalogue level has no record to enter the time in.
  if (record < 0) return 0;
  if (!Best_Scores) Best_Scores = EmptyScores();
  const int seconds = WholeSeconds(ms);
  if (moves < 0) moves = 0;
  if (moves > 65535) moves = 65535;

  int link = BestScoreLink(level_index);
  if (link > 0) {
    if (PeekInt(Best_Scores, link + Best_Time_Offset) == 0) {
      PokeInt(Best_Scores, link + Best_Time_Offset, PeekInt(Best_Scores, link + Best_Last_Offset));
    }
    PokeInt(Best_Scores, link + Best_Last_Offset, seconds);
    const int best = PeekInt(Best_Scores, link + Best_Time_Offset);
    *prev_best = int64_t{best} * 1000;
    // An equal time is not a new best: the record keeps the moves of the first solution.
    if (seconds < best) {
      PokeInt(Best_Scores, link + Best_Time_Offset, seconds);
      PokeShort(Best_Scores, link + Best_Moves_Offset, moves);
      return 1;
    }
    return 0;
  }

  *prev_best = 0;
  link = RecordOffset(Best_Count);
  // Only a file edited to thousands of records gets here; the time then stays unrecorded
  // rather than linked to somebody else's record.
  if (link > Last_Linkable) return 0;
  PokeShort(Level_Bank, record + Level_Link_Offset, link);
  // Bytes of a part record after the last whole one are written over.
  if (BufferSize(Best_Scores) < link + Best_Record_Size) ResizeBuffer(Best_Scores, link + Best_Record_Size);
  PokeShort(Best_Scores, link + Best_Id_Offset, PeekShort(Level_Bank, record + Level_Id_Offset));
  PokeShort(Best_Scores, link + Best_Moves_Offset, moves);
  PokeInt(Best_Scores, link + Best_Last_Offset, seconds);
  PokeInt(Best_Scores, link + Best_Time_Offset, 0);
  Best_Count++;
  return 1;
}

int RecordLevelTime() { return RecordWin(Level_Index, Level_Final_Time, Undo_Count - 1, &Prev_Best_Time); }

bool WinRecorded(int level_index, int64_t ms) {
  // Entering a time equal to the record's last one again would change nothing the game shows:
  // the best stays, and the moves change only with a better time.
  int link = BestScoreLink(level_index);
  return link > 0 && PeekInt(Best_Scores, link + Best_Last_Offset) == WholeSeconds(ms);
}

int SaveBestScores() {
  if (!Best_Scores) return 1;
  // The unread file was reported when it was read; it is the player's, so it stays.
  if (Keep_Unread_File) return 0;
  if (!ReplaceFile(Best_Scores_File, Best_Scores->Bytes.data(), Best_Scores->Bytes.size())) {
    // The buffer stays; the next win, the next level or the quit writes it again.
    if (!Failure_Reported) ShowMessage(u"Can't write " + Best_Scores_File, 0);
    Failure_Reported = true;
    return 0;
  }
  Failure_Reported = false;
  return 1;
}

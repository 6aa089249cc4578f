// What the readers of the undo history and of the best scores promise for any bytes at all.
// The fuzz targets call these on every input; the test suite replays the corpus through them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/state.h"
#include "board/block.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "fx/victory.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "platform/platform.h"

namespace progress_checks {

// Every block is one of the six colours: nothing read from a file became a style block.
inline bool OnlyColours() {
  for (const auto& b : Block_List) {
    if (b->Kind < 0 || b->Kind > 5) return false;
  }
  return true;
}

inline bool StepIsColours(const uint8_t* step) {
  for (int c = 0; c < Board_Cells; c++) {
    if (step[c] > 6) return false;
  }
  return true;
}

inline bool BoardIs(const uint8_t* step) {
  uint8_t cells[Board_Cells];
  GetBoardCells(cells);
  return std::memcmp(cells, step, Board_Cells) == 0;
}

inline bool WriteFile(const String& path, const uint8_t* data, size_t size) {
  Stream* out = OpenWrite(path);
  if (!out) return false;
  bool ok = size == 0 || WriteBytes(out, data, static_cast<int>(size)) == static_cast<int>(size);
  CloseStream(out);
  return ok;
}

// Any undo file, at `path`: resuming lays out its last whole step or refuses it; every undo
// takes the history back one whole step or changes nothing; the next step is appended after
// the last whole one; the replay of the same bytes shows only colours and only its own steps.
inline bool UndoHistoryIsSound(const uint8_t* data, size_t size, const String& path) {
  Undo_File = path;
  ClearBoard();
  Undo_Count = 0;
  if (!WriteFile(path, data, size)) return false;
  const int64_t steps = static_cast<int64_t>(size) / Board_Cells;

  const int resumed = ResumeSavedGame();
  if (steps == 0 && resumed != 0) return false;
  if (resumed == 0) {
    // Refused only when the last whole step holds what no move writes, or is an empty board:
    // a won level is never won again, and its history goes.
    if (steps > 0) {
      const uint8_t* last = data + (steps - 1) * Board_Cells;
      const bool empty = std::count(last, last + Board_Cells, 0) == Board_Cells;
      if (StepIsColours(last) && !empty) return false;
      if (empty && FileSize(path) != -1) return false;
    }
    if (Undo_Count != 0 || !Block_List.empty()) return false;
  } else {
    if (Undo_Count != steps || !OnlyColours() || !BoardIs(data + (steps - 1) * Board_Cells)) return false;
    while (Undo_Count >= 2) {
      const int before = Undo_Count;
      if (UndoStep() == 0) {
        // Refused only for a step no move writes; then nothing changed.
        if (Undo_Count != before || StepIsColours(data + static_cast<size_t>(before - 2) * Board_Cells)) return false;
        break;
      }
      if (Undo_Count != before - 1 || FileSize(path) != int64_t{Undo_Count} * Board_Cells) return false;
      if (!OnlyColours() || !BoardIs(data + static_cast<size_t>(Undo_Count - 1) * Board_Cells)) return false;
    }
    const int count = Undo_Count;
    SaveUndoStep();
    if (Undo_Count != count + 1) return false;
    // The file keeps whole steps only: a part-written tail is overwritten, never counted.
    const int64_t length = FileSize(path);
    if (length < int64_t{Undo_Count} * Board_Cells || length >= (int64_t{Undo_Count} + 1) * Board_Cells) return false;
  }

  ByteBuffer* replay = CreateBuffer(static_cast<int>(size));
  if (size > 0) std::memcpy(replay->Bytes.data(), data, size);
  delete Replay_Buffer;
  Replay_Buffer = replay;
  Replay_Count = static_cast<int>(steps);
  Replay_Index = Replay_Count - 1;
  Replay_Direction = 0;
  Replay_Deadline = 0;
  for (int i = -1; i <= Replay_Count; i++) {
    ShowReplayStep(i);
    if (!OnlyColours()) return false;
    if ((i < 0 || i >= Replay_Count) && !Block_List.empty()) return false;
  }
  // Two whole passes of the loop, due steps only.
  Mouse_Hit = 0;
  Key_Char = 0;
  for (int k = 0; k < 2 * Replay_Count + 6 && k < 200; k++) {
    Now = Replay_Deadline + 1;
    UpdateVictory();
    if (!OnlyColours() || Replay_Index < -1 || Replay_Index > Replay_Count) return false;
  }
  ClearBoard();
  return true;
}

inline bool LinksInside() {
  for (int i = 0; i < Official_Level_Count; i++) {
    const int link = BestScoreLink(i);
    if (link == 0) continue;
    if ((link - Best_Header_Size) % Best_Record_Size != 0 || link + Best_Record_Size > BufferSize(Best_Scores)) {
      return false;
    }
    // A link names the record of its own level.
    if (PeekShort(Best_Scores, link) != PeekShort(Level_Bank, i * Level_Record_Size + Level_Id_Offset)) return false;
  }
  return true;
}

// Any best-scores file, at `path`, with the catalogue loaded: the count is what the size
// allows, every link reaches a whole record of its own level, wins of levels inside and
// outside the catalogue keep that so, and what is saved reads back the same.
inline bool BestScoresAreSound(const uint8_t* data, size_t size, const String& path) {
  Best_Scores_File = path;
  if (!WriteFile(path, data, size)) return false;
  LinkBestScores();
  const int expected = size < 4 ? 0 : static_cast<int>((size - 4) / 12);
  if (Best_Count != expected || !LinksInside()) return false;

  const int derived = size >= 2 ? data[0] | data[1] << 8 : 0;
  const int levels[] = {0, Official_Level_Count - 1, derived % (Official_Level_Count + 2) - 1, -1,
                        Official_Level_Count, 1 << 20};
  for (int level : levels) {
    Level_Index = level;
    LoadBestTime();
    Level_Final_Time = size >= 4 ? (data[2] | data[3] << 8) * 997 : 61000;
    Undo_Count = size >= 5 ? data[4] : 3;
    const int count = Best_Count;
    const int result = RecordLevelTime();
    const bool inside = level >= 0 && level < Official_Level_Count;
    if (!inside && (result != 0 || Best_Count != count)) return false;
    if (Best_Count < count || Best_Count > count + 1 || !LinksInside()) return false;
  }
  const std::vector<uint8_t> kept = Best_Scores->Bytes;
  SaveBestScores();
  ByteBuffer* back = LoadBuffer(path);
  const bool same = back && back->Bytes == kept;
  delete back;
  if (!same) return false;
  const int count = Best_Count;
  LinkBestScores();
  return Best_Count == count && LinksInside();
}

}  // namespace progress_checks

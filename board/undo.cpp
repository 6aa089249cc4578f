// The undo history on disk: appended after every move, shortened by an undo through a
// temporary copy, read back to resume a level.
//
// The file is the player's unfinished game, so every operation keeps one rule: after any
// failure the file still holds whole steps that the game recorded, and Undo_Count never
// counts a step the file does not hold. Nothing here ever writes past the last whole step, so
// no gap of zero bytes (which would read as an empty, already won board) can appear.
#include "board/undo.h"

#include <climits>
#include <cstdint>
#include <vector>

#include "board/block.h"
#include "board/board_events.h"

String Undo_File;
int Undo_Count = 0;
std::vector<std::array<uint8_t, 80>> Redo_Steps;

namespace {

constexpr int Step_Size = Board_Cells;

// Counts above this cannot grow by one more step without overflowing.
int StepCount(int64_t steps) { return steps > INT_MAX - 1 ? INT_MAX - 1 : static_cast<int>(steps); }

// Whole steps in the file; 0 when it is missing.
int64_t StepsOnDisk() {
  int64_t size = FileSize(Undo_File);
  return size < 0 ? 0 : size / Step_Size;
}

// The game writes only empty cells and the six colours; a higher byte would become a block of
// a tile style, or of a kind with no style at all, in the middle of a level.
bool StepIsSound(const uint8_t* cells) {
  for (int i = 0; i < Step_Size; i++) {
    if (cells[i] > 6) return false;
  }
  return true;
}

// Appends the board as it stands to the history; false, announced, when it could not be written.
bool AppendBoardStep();

int ReadStepCells(Stream* stream, uint8_t* cells) {
  return ReadBytes(stream, cells, Step_Size) == Step_Size && StepIsSound(cells) ? 1 : 0;
}

bool BoardIsEmpty(const uint8_t* cells) {
  for (int i = 0; i < Step_Size; i++) {
    if (cells[i] != 0) return false;
  }
  return true;
}

// Replaces the history by its first `steps` steps, then `extra` when given, in one step
// (ReplaceFile): on any failure it stays as it was.
bool RewriteHistory(int64_t steps, const uint8_t* extra) {
  std::vector<uint8_t> bytes(static_cast<size_t>(steps) * Step_Size);
  if (steps > 0) {
    Stream* in = OpenRead(Undo_File);
    if (!in) return false;
    bool read = true;
    for (size_t at = 0; read && at < bytes.size();) {
      const size_t count = bytes.size() - at < (size_t{1} << 20) ? bytes.size() - at : size_t{1} << 20;
      read = ReadBytes(in, bytes.data() + at, static_cast<int>(count)) == static_cast<int>(count);
      at += count;
    }
    CloseStream(in);
    if (!read) return false;
  }
  if (extra) bytes.insert(bytes.end(), extra, extra + Step_Size);
  return ReplaceFile(Undo_File, bytes.data(), bytes.size()) == 1;
}

// The cells of the last whole step and how many whole steps there are; false when the file
// holds no whole step, or a damaged one, at its end.
bool ReadLastStep(uint8_t* cells, int64_t* steps) {
  Stream* s = OpenRead(Undo_File);
  if (!s) return false;
  // Bytes after the last whole step are a step whose writing failed, and a board read across
  // the boundary would mix two positions.
  *steps = StreamSize(s) / Step_Size;
  bool read = false;
  if (*steps > 0) {
    StreamSeek(s, (*steps - 1) * Step_Size);
    read = ReadStepCells(s, cells) == 1;
  }
  CloseStream(s);
  return read;
}

}  // namespace

int InitUndoCount() {
  Stream* s = OpenRead(Undo_File);
  if (!s) return 0;
  int64_t size = StreamSize(s);
  CloseStream(s);
  if (size < Step_Size) return 0;
  Undo_Count = StepCount(size / Step_Size);
  return 1;
}

int ReadBoardStep(Stream* stream) {
  uint8_t cells[Step_Size];
  if (!ReadStepCells(stream, cells)) return 0;
  SetBoardCells(cells);
  return 1;
}

void StartUndoHistory() {
  // A won level left before its win was entered (the game left while the last fragments
  // flew) is entered before its history goes.
  Announce(Board_Events.History_Ending);
  Undo_Count = 0;
  DeleteFile(Undo_File);
  SaveUndoStep();
}

void SaveUndoStep() {
  DropRedoSteps();
  AppendBoardStep();
}

void DropRedoSteps() { Redo_Steps.clear(); }

int RedoStep() {
  if (Redo_Steps.empty()) return 0;
  uint8_t before[Step_Size];
  GetBoardCells(before);
  SetBoardCells(Redo_Steps.back().data());
  // Written as any step played, so the history's file cannot tell a redone step from it.
  if (!AppendBoardStep()) {
    SetBoardCells(before);
    return 0;
  }
  Redo_Steps.pop_back();
  Announce(Board_Events.Step_Redone);
  return 1;
}

namespace {

bool AppendBoardStep() {
  uint8_t cells[Step_Size];
  GetBoardCells(cells);

  int64_t on_disk = StepsOnDisk();
  // Steps lost outside the game (the file deleted or cut short): go on after what the file
  // still holds.
  if (on_disk < Undo_Count) Undo_Count = StepCount(on_disk);
  // The move that empties the board won the level: the win is on disk before the step that
  // shows it, so no history ever ends on an empty board that nothing on disk explains.
  if (Undo_Count > 0 && BoardIsEmpty(cells)) Announce(Board_Events.Winning_Step, Undo_Count);
  if (on_disk > Undo_Count) {
    // Whole steps beyond the count (left by another game) would outlive this step and be
    // what a resume finds, so the history is rewritten without them.
    if (RewriteHistory(Undo_Count, cells)) {
      Undo_Count++;
      return true;
    }
    Announce(Board_Events.File_Problem, u"Can't write " + Undo_File);
    return false;
  }

  Stream* s = OpenReadWrite(Undo_File);
  // Created only when it is missing: a file that exists but will not open for reading and
  // writing must not be truncated.
  if (!s && FileSize(Undo_File) < 0) s = OpenWrite(Undo_File);
  if (!s) {
    Announce(Board_Events.File_Problem, u"Can't write " + Undo_File);
    return false;
  }
  // A step is appended in place rather than through ReplaceFile: it never touches the steps
  // already recorded, and copying the whole history to disk at every cell of a drag (with two
  // waits for the disk each time) would cost a frame on a slow disk. A step cut short by a
  // kill or a full disk is no whole step, so nothing reads it, and the next one goes over it.
  StreamSeek(s, int64_t{Undo_Count} * Step_Size);
  bool ok = WriteBytes(s, cells, Step_Size) == Step_Size;
  // The bytes leave the stream's buffer only when it closes, where a full disk shows.
  ok = CloseStream(s) == 1 && ok;
  ok = ok && FileSize(Undo_File) >= (int64_t{Undo_Count} + 1) * Step_Size;
  if (!ok) {
    // A part of the step may be on disk; it is no whole step, so nothing reads it.
    Announce(Board_Events.File_Problem, u"Can't write " + Undo_File);
    return false;
  }
  Undo_Count++;
  return true;
}

}  // namespace

int UndoStep() {
  if (Undo_Count < 2) return 0;
  const int kept = Undo_Count - 1;   // steps left afterwards; the last of them is the new board

  Stream* s = OpenRead(Undo_File);
  if (!s) {
    Announce(Board_Events.File_Problem, u"Can't read " + Undo_File);
    return 0;
  }
  int64_t size = StreamSize(s);
  if (size < int64_t{kept} * Step_Size) {
    CloseStream(s);
    Announce(Board_Events.File_Problem, Undo_File + u" size error !");
    // Count what the file really holds, so the next undo takes back a step that exists.
    Undo_Count = StepCount(size / Step_Size);
    return 0;
  }
  uint8_t cells[Step_Size];
  StreamSeek(s, int64_t{kept - 1} * Step_Size);
  int read = ReadStepCells(s, cells);
  CloseStream(s);
  // A damaged step is refused: the board and the history stay as they are.
  if (!read) return 0;

  // Taking back the winning step takes back the win, first: a kill in between must not leave
  // a win that the player undid.
  Announce(Board_Events.Winning_Step_Undone);
  // The history is shortened before the board changes, so the two never disagree.
  if (!RewriteHistory(kept, nullptr)) {
    Announce(Board_Events.File_Problem, u"Can't write " + TemporaryFileOf(Undo_File));
    return 0;
  }
  std::array<uint8_t, Step_Size> undone;
  GetBoardCells(undone.data());
  Redo_Steps.push_back(undone);
  SetBoardCells(cells);
  Undo_Count = kept;
  Announce(Board_Events.Step_Undone);
  return 1;
}

int LayOutFirstStep() {
  Stream* s = OpenRead(Undo_File);
  if (!s) return 0;
  int done = ReadBoardStep(s);
  CloseStream(s);
  return done;
}

int ResumeSavedGame() {
  uint8_t cells[Step_Size];
  int64_t steps = 0;
  if (!ReadLastStep(cells, &steps)) return 0;
  if (BoardIsEmpty(cells)) {
    // The level was won (a kill came before its history went) or the file was damaged: an
    // empty board is never won a second time. A win still waiting is entered with its own
    // time, and the history goes once nothing waits for it.
    Announce(Board_Events.History_Ending);
    DropWonHistory();
    return 0;
  }
  SetBoardCells(cells);
  Undo_Count = StepCount(steps);
  return 1;
}

void DropWonHistory() {
  uint8_t cells[Step_Size];
  int64_t steps = 0;
  // Without anyone to keep wins (the rules alone), none waits.
  const bool win_waits = Board_Events.Win_Waiting && Board_Events.Win_Waiting();
  if (win_waits || !ReadLastStep(cells, &steps) || !BoardIsEmpty(cells)) return;
  DeleteFile(Undo_File);
  Undo_Count = 0;
}

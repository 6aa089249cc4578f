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

#include "board/block.h"
#include "board/board_events.h"

String Undo_File;
int Undo_Count = 0;
std::vector<std::array<uint8_t, 80>> Redo_Steps;

namespace {

constexpr int Step_Size = Board_Cells;

String TemporaryUndoFile() { return Undo_File + u"_t"; }

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

// Writes the first `steps` steps of the history, then `extra` when given, to the temporary
// file, flushes it to the disk and renames it over the history. The history is only replaced
// by a complete copy: on any failure it stays as it was and the copy is removed.
bool RewriteHistory(int64_t steps, const uint8_t* extra) {
  Stream* in = nullptr;
  if (steps > 0) {
    in = OpenRead(Undo_File);
    if (!in) return false;
  }
  Stream* out = OpenWrite(TemporaryUndoFile());
  if (!out) {
    CloseStream(in);
    return false;
  }
  bool ok = true;
  uint8_t chunk[Step_Size * 64];
  for (int64_t left = steps * Step_Size; ok && left > 0;) {
    int count = left < int64_t{sizeof chunk} ? static_cast<int>(left) : static_cast<int>(sizeof chunk);
    ok = ReadBytes(in, chunk, count) == count && WriteBytes(out, chunk, count) == count;
    left -= count;
  }
  if (ok && extra) ok = WriteBytes(out, extra, Step_Size) == Step_Size;
  ok = ok && !StreamFailed(out) && FlushToDisk(out) == 1;
  CloseStream(out);
  CloseStream(in);
  // Renaming replaces the history in one go; deleting it first would leave a moment in
  // which a crash loses the whole game.
  if (!ok || !RenameFile(TemporaryUndoFile(), Undo_File)) {
    DeleteFile(TemporaryUndoFile());
    return false;
  }
  return true;
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
  // Over a part-written step left by an earlier failure, if any.
  StreamSeek(s, int64_t{Undo_Count} * Step_Size);
  bool ok = WriteBytes(s, cells, Step_Size) == Step_Size && !StreamFailed(s);
  CloseStream(s);
  // The bytes leave the stream's buffer only when it closes; a disk that refused them (full,
  // or over a size limit) shows in the file's length. This costs no wait for the disk, which
  // a move made every frame of a drag cannot afford.
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

  // The history is shortened before the board changes, so the two never disagree.
  if (!RewriteHistory(kept, nullptr)) {
    Announce(Board_Events.File_Problem, u"Can't write " + TemporaryUndoFile());
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

int ResumeSavedGame() {
  Stream* s = OpenRead(Undo_File);
  if (!s) return 0;
  int64_t size = StreamSize(s);
  if (size < Step_Size) {
    CloseStream(s);
    return 0;
  }
  // The last whole step: bytes after it are a step whose writing failed, and a board read
  // across the boundary would mix two positions.
  int64_t steps = size / Step_Size;
  StreamSeek(s, (steps - 1) * Step_Size);
  int done = ReadBoardStep(s);
  CloseStream(s);
  if (!done) return 0;
  Undo_Count = StepCount(steps);
  return 1;
}

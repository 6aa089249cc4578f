// The undo history on disk.
#include "board/undo.h"

#include "app/state.h"
#include "platform/platform.h"

int Undo_Count = 0;

int InitUndoCount() {
  Stream* s = OpenRead(Undo_File);
  if (!s) return 0;
  int64_t size = StreamSize(s);
  CloseStream(s);
  if (size < 80) return 0;
  Undo_Count = static_cast<int>(size / 80);
  return 1;
}

// For now no history is begun.
void StartUndoHistory() {}
// For now no step is recorded.
void SaveUndoStep() {}
// For now there is nothing to take back.
int UndoStep() { return 0; }
// For now there is no saved game to resume.
int ResumeSavedGame() { return 0; }

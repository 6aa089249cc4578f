// The undo history: every board of the level in play, one 80-byte step each, kept on disk so
// that an unfinished level survives a restart.
#pragma once

extern int Undo_Count;   // steps recorded in the undo file

// Sets Undo_Count from the file; 1 when it holds at least one step.
int InitUndoCount();
// Begins a new history with the board as it stands as step 0.
void StartUndoHistory();
void SaveUndoStep();
int UndoStep();
int ResumeSavedGame();

// The undo history: every board of the level in play, one 80-byte step each, kept on disk so
// that an unfinished level survives a restart and a won one can be replayed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

extern String Undo_File;   // the history's file in the player's folder, set at start-up
extern int Undo_Count;     // steps recorded in the undo file
// The boards undo took back, the most recent last: redo lays them out again one by one. They
// live only in memory, so the history's file is the same as if they had never been played.
extern std::vector<std::array<uint8_t, 80>> Redo_Steps;

// Sets Undo_Count from the file; 1 when it holds at least one step.
int InitUndoCount();
// Begins a new history with the board as it stands as step 0.
void StartUndoHistory();
// Appends the board as it stands (dying blocks count as empty) as the next step. A new step
// leads somewhere else than the undone ones, so they can no longer be redone.
void SaveUndoStep();
// Goes back one step: the board becomes the step before the last and the history ends there
// (Step_Undone). 1 when done; the start position is never taken back. A file that cannot be
// read or written is announced as File_Problem, here and when a step is saved.
// The board taken back becomes the next redo step.
int UndoStep();
// Forward again through the last step undone: the board becomes that step and is appended to
// the history as any step played (Step_Redone). 1 when done; 0 with nothing to redo, or when
// the step could not be written (then nothing changes).
int RedoStep();
// No step to redo: a new move, a restart, a level left or won.
void DropRedoSteps();
// Lays out the last step of the history and counts its steps; 1 when done, 0 when there is
// no history to resume (the caller then starts a level instead). A history that ends on an
// empty board is never resumed: its win is entered if it still waits (History_Ending), and
// the history is dropped.
int ResumeSavedGame();
// Lays out the first step of the history, the board the level started from; 1 when done, 0
// (the board untouched) when there is none or it is damaged. A level with no catalogue record
// (a random one) starts again from here.
int LayOutFirstStep();
// Removes a history that ends on an empty board once no win waits for it (Win_Waiting), at
// start-up, after a kill between a win and the removal of its history.
void DropWonHistory();
// Lays out the board from the next 80 bytes of the stream. 1 when done; 0, with the board
// untouched, when the stream ends first or a cell holds something no move can leave there
// (a byte above 6: the file was damaged or edited by hand).
int ReadBoardStep(Stream* stream);

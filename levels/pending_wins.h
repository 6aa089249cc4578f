// Wins on their way into the best-scores file. A level is won by the move that empties its
// board, but its record reaches the player's file only later (once the last fragments have
// flown), and on a full disk not at all. Until it is there the win is kept in Win_File, so a
// kill at any moment loses no win, and the next start enters each one once, with its own time.
//
// Win_File: 8-byte entries, little-endian: unsigned 16-bit level identifier, unsigned 16-bit
// moves, signed 32-bit time in ms. It exists only while a win waits.
#pragma once

#include <cstdint>

// The move that empties the board of catalogue level `level_index` is about to be recorded as
// the history's step `moves`, `ms` into the level.
void NoteWinningStep(int level_index, int moves, int64_t ms);
// The winning step is being taken back: the board will have blocks again.
void TakeBackWinningStep();
// Enters the win of the level in play (Level_Index, Level_Final_Time, Undo_Count steps) with
// RecordLevelTime, after putting its final time into Win_File, and writes the best scores.
// 1 when every win is safely in the player's file.
int EnterLevelWin();
// Enters every win that is not in the best scores yet (one whose board was emptied but whose
// entry never came, and those read by LoadPendingWins) and writes the best scores. 1 when no
// win waits any more.
int SettlePendingWins();
// The wins a kill or a full disk left in Win_File; called at start-up, after the catalogue and
// the best scores are read.
void LoadPendingWins();
bool HavePendingWins();
// Forgets every waiting win without touching the disk.
void ResetPendingWins();

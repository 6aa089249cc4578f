// The solver on the game's own board: solving the board as it stands, and replaying solutions
// through the game's rules (the board and TryMove the player uses), so that no solution is
// trusted on the solver's model alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "solver/solver.h"

// Solves the board on the game's grids as it stands (a flashing block counts as gone). The
// first action of the solution applies to that board: GameReplayAction plays it there.
SolveReport SolveGameBoard(const SolveOptions& options);

// Lays the 80 cells out on the game's board, plays every action with the game's rules and
// returns true when each was accepted and the board is empty at the end; otherwise false with
// `why` saying which action failed or what was left.
bool GameReplayEmpties(const uint8_t* cells, const std::vector<SolveMove>& solution, std::string& why);

// One action in the game's rules on the current game board; true when accepted.
bool GameReplayAction(const SolveMove& move);
// The game's board now, as 80 cell bytes.
void GameBoardCells(uint8_t* cells);
// Lays the 80 cells out as a level's board: completed colours leave, nothing is a menu choice.
void GameSetBoard(const uint8_t* cells);

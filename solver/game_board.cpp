// Solving the game's board and replaying solutions through its board and TryMove.
#include "solver/game_board.h"

#include "board/block.h"
#include "board/moves.h"

SolveReport SolveGameBoard(const SolveOptions& options) {
  uint8_t cells[Board_Cells];
  GameBoardCells(cells);
  return Solve(PositionFromCells(cells), options);
}

void GameSetBoard(const uint8_t* cells) {
  Board_Use = Board_Level;
  SetBoardCells(cells);
}

bool GameReplayAction(const SolveMove& move) {
  int x = move.cell % Grid_W, y = move.cell / Grid_W;
  return ReplayStep(x, y, move.dir == Dir_Hold ? -1 : move.dir);
}

void GameBoardCells(uint8_t* cells) { GetBoardCells(cells); }

bool GameReplayEmpties(const uint8_t* cells, const std::vector<SolveMove>& solution, std::string& why) {
  GameSetBoard(cells);
  for (size_t i = 0; i < solution.size(); i++) {
    if (!GameReplayAction(solution[i])) {
      why = "action " + std::to_string(i + 1) + " (" + MoveToken(solution[i]) + ") was refused";
      return false;
    }
  }
  if (!Block_List.empty()) {
    why = std::to_string(Block_List.size()) + " blocks are left on the board";
    return false;
  }
  return true;
}

// The hint in play: keys, stages, the search thread's answers, and the dead-end watch.
#include "board/hint_play.h"

#include <algorithm>

#include "app/state.h"
#include "board/block.h"
#include "board/input_control.h"
#include "board/undo.h"

int Hint_Stage = 0;
int Hint_Waiting = 0;
int Hint_Known = 0;
BoardCells Hint_Board{};
HintAnswer Hint_Answer;
HintBudget Hint_Budget;
int Dead_End_Watch = 0;
int Par_Corner_Shown = 1;

namespace {

// One thread for the whole run, stopped and joined when the program ends.
HintWorker& Worker() {
  static HintWorker worker;
  return worker;
}

bool BoardEmpty(const BoardCells& cells) {
  for (uint8_t c : cells) {
    if (c != 0) return false;
  }
  return true;
}

// The level's earlier boards from the undo history, oldest first, without the board itself.
std::vector<BoardCells> EarlierBoards() {
  std::vector<BoardCells> boards;
  ByteBuffer* history = LoadBuffer(Undo_File);
  if (!history) return boards;
  int steps = std::min(BufferSize(history) / Board_Cells, Undo_Count);
  for (int i = 0; i < steps; i++) {
    BoardCells cells;
    std::copy_n(history->Bytes.data() + static_cast<size_t>(i) * Board_Cells, Board_Cells, cells.begin());
    boards.push_back(cells);
  }
  delete history;
  while (!boards.empty() && boards.back() == Hint_Board) boards.pop_back();
  return boards;
}

void StartSearch() {
  if (BoardEmpty(Hint_Board)) return;
  Worker().Request(Hint_Board, EarlierBoards(), Hint_Budget);
}

void BoardChanged(const BoardCells& now) {
  BoardCells next;
  HintAnswer next_answer;
  // The player played the step the hint knew (shown or not): the same way goes on from here.
  bool followed = Hint_Known && AdvanceHint(Hint_Board, Hint_Answer, next, next_answer) && next == now;
  Worker().Cancel();
  Hint_Board = now;
  Hint_Stage = 0;
  Hint_Waiting = 0;
  if (followed && next_answer.outcome != Hint_Unknown) {
    Hint_Answer = next_answer;
    Hint_Known = 1;
    return;
  }
  Hint_Known = 0;
  Hint_Answer = HintAnswer();
  if (Dead_End_Watch) StartSearch();
}

// The step as a move of the player's own. A colour still flashing stands in the way until it
// is gone, and a group held by the mouse keeps its hand: the hint then stays shown, and the
// next press tries again.
void PlayHintedStep() {
  const SolveMove& step = Hint_Answer.step;
  PlayStepOf(step.cell % Board_Width, step.cell / Board_Width, step.dir == Dir_Hold ? -1 : step.dir);
}

}  // namespace

void ResetHintPlay() {
  ForgetHint();
  Dead_End_Watch = 0;
  Par_Corner_Shown = 1;
  Hint_Budget = HintBudget();
}

void ForgetHint() {
  Worker().Cancel();
  Hint_Stage = 0;
  Hint_Waiting = 0;
  Hint_Known = 0;
  Hint_Board.fill(0);
  Hint_Answer = HintAnswer();
}

int StepsPlayed() { return Undo_Count > 1 ? Undo_Count - 1 : 0; }

void PressHint() {
  if (Block_List.empty()) return;
  if (!Hint_Known) {
    Hint_Waiting = 1;
    // A search already running is for this very board (the dead-end watch's).
    if (!Worker().Busy()) StartSearch();
    return;
  }
  if (Hint_Answer.outcome != Hint_Step) {
    Hint_Stage = 1;
    return;
  }
  // Taking hold of a colour that is already one group has no direction to show.
  if (Hint_Stage == 0) {
    Hint_Stage = 1;
  } else if (Hint_Stage == 1 && Hint_Answer.step.dir != Dir_Hold) {
    Hint_Stage = 2;
  } else {
    PlayHintedStep();
  }
}

void UpdateHintPlay() {
  BoardCells now;
  GetBoardCells(now.data());
  if (now != Hint_Board) BoardChanged(now);
  BoardCells cells;
  HintAnswer answer;
  if (Worker().Poll(cells, answer) && cells == Hint_Board) {
    Hint_Answer = answer;
    Hint_Known = 1;
    if (Hint_Waiting) {
      Hint_Waiting = 0;
      Hint_Stage = 1;
    }
  }
  if (Key_Char == '?' || KeyHit(KEY_F1)) PressHint();
  if (Key_Char == 'p' || Key_Char == 'P') Par_Corner_Shown = 1 - Par_Corner_Shown;
  if (Key_Char == 'd' || Key_Char == 'D') {
    SetDeadEndWatch(1 - Dead_End_Watch);
    if (Dead_End_Watch && !Hint_Known && !Worker().Busy()) StartSearch();
  }
}

// Chosen in the options, or with "d" in play; kept in the profile. From the options the board is
// a menu, so the first search waits for the next move in a level.
void SetDeadEndWatch(int on) { Dead_End_Watch = on != 0 ? 1 : 0; }

void WaitForHintSearch() { Worker().Wait(); }

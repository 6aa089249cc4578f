// Hints: the solver run on the board as it stands, and the thread that runs it.
#include "solver/hint.h"

#include <chrono>

namespace {

// True when some way empties the board; false when none does or when the search could not
// tell (`known` says which).
bool HasWayOut(const BoardCells& cells, const HintBudget& budget, SolveClock::time_point deadline,
               const std::atomic<bool>* cancel, bool& known) {
  Position p = PositionFromCells(cells.data());
  ClearWholeColours(p);
  known = true;
  if (p.Empty()) return true;
  // Any way will do here, not the shortest: the quick weighted search finds one soonest.
  ColourBound bound;
  SearchLimits limits;
  limits.max_states = budget.max_states;
  limits.weight_num = 3;
  limits.deadline = deadline;
  limits.cancel = cancel;
  SearchResult s = Search(p, bound, limits);
  known = s.solved || s.exhausted;
  return s.solved;
}

}  // namespace

HintAnswer FindHint(const BoardCells& cells, const std::vector<BoardCells>& history, const HintBudget& budget,
                    const std::atomic<bool>* cancel) {
  SolveClock::time_point deadline = SolveClock::time_point::max();
  if (budget.max_seconds > 0) {
    deadline = SolveClock::now() +
               std::chrono::duration_cast<SolveClock::duration>(std::chrono::duration<double>(budget.max_seconds));
  }
  HintAnswer answer;
  Position start = PositionFromCells(cells.data());
  if (start.Empty()) return answer;

  SolveOptions options;
  options.max_states = budget.max_states;
  options.max_seconds = budget.max_seconds;
  options.cancel = cancel;
  SolveReport report = Solve(start, options);
  if (report.solved && !report.solution.empty()) {
    // A way found but not proven shortest still empties the board: its first step is never
    // one into a dead end.
    answer.outcome = Hint_Step;
    answer.step = report.solution.front();
    answer.after.assign(report.solution.begin() + 1, report.solution.end());
    answer.shortest = report.optimal;
    answer.steps_left = report.moves;
    return answer;
  }
  if (!report.unsolvable) {
    answer.outcome = Hint_Out_Of_Time;
    return answer;
  }
  answer.outcome = Hint_Dead_End;
  // Back through the history, nearest board first; a board the budget cannot decide ends the
  // look-back, so the count is never one that skips a board with a way out.
  for (size_t back = 1; back <= history.size(); back++) {
    if (SolveClock::now() >= deadline || (cancel && cancel->load())) break;
    bool known = false;
    if (HasWayOut(history[history.size() - back], budget, deadline, cancel, known)) {
      answer.undos_back = static_cast<int>(back);
      break;
    }
    if (!known) break;
  }
  return answer;
}

bool AdvanceHint(const BoardCells& cells, const HintAnswer& answer, BoardCells& next, HintAnswer& next_answer) {
  if (answer.outcome != Hint_Step) return false;
  Position p = PositionFromCells(cells.data());
  if (!ApplyMove(p, answer.step)) return false;
  CellsFromPosition(p, next.data());
  next_answer = HintAnswer();
  if (answer.after.empty()) return true;
  next_answer.outcome = Hint_Step;
  next_answer.step = answer.after.front();
  next_answer.after.assign(answer.after.begin() + 1, answer.after.end());
  next_answer.shortest = answer.shortest;
  next_answer.steps_left = answer.steps_left - (answer.step.dir == Dir_Hold ? 0 : 1);
  return true;
}

HintWorker::~HintWorker() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
    cancel_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void HintWorker::Request(const BoardCells& cells, std::vector<BoardCells> history, const HintBudget& budget) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cells_ = cells;
    history_ = std::move(history);
    budget_ = budget;
    asked_++;
    cancel_ = true;   // the search running, if any, is for another board
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  wake_.notify_all();
}

void HintWorker::Cancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  asked_++;
  answered_ = taken_ = asked_;
  cancel_ = true;
}

bool HintWorker::Poll(BoardCells& cells, HintAnswer& answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (answered_ != asked_ || taken_ == answered_) return false;
  taken_ = answered_;
  cells = answer_cells_;
  answer = answer_;
  return true;
}

bool HintWorker::Busy() {
  std::lock_guard<std::mutex> lock(mutex_);
  return answered_ != asked_;
}

void HintWorker::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait(lock, [this] { return answered_ == asked_; });
}

void HintWorker::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return quit_ || answered_ != asked_; });
    if (quit_) return;
    uint64_t job = asked_;
    BoardCells cells = cells_;
    std::vector<BoardCells> history = std::move(history_);
    HintBudget budget = budget_;
    cancel_ = false;
    lock.unlock();
    HintAnswer answer = FindHint(cells, history, budget, &cancel_);
    lock.lock();
    // Asked again meanwhile: this answer is for a board that is gone.
    if (job == asked_) {
      answer_ = std::move(answer);
      answer_cells_ = cells;
      answered_ = job;
    }
    wake_.notify_all();
  }
}

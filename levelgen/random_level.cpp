// Random levels: walk settings per difficulty, grading by the solver, level codes and days.
#include "levelgen/random_level.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "levelgen/backward.h"
#include "levelgen/records.h"

namespace {

// Walk settings of a difficulty, each drawn between its two ends: blocks, colours, backward
// steps, and the odds (per mille) of a step taking a whole group and of the next colour
// appearing. Then what a board must pass: at most `pieces` groups per colour (a colour in many
// pieces is slow to prove and long rather than hard), a solution found by a quick weighted
// search within `quick_states` positions, and its fewest steps proven within `states`. Boards
// that fail are passed over, so the budgets trade the time to make a level against how many
// walks it takes. Long walks on few blocks make the longer levels: a handful of pieces per
// colour spread far apart.
struct WalkRange {
  int blocks_low, blocks_high;
  int colours_low, colours_high;
  int steps_low, steps_high;
  int whole_low, whole_high;
  int appear_low, appear_high;
  int pieces;
  uint64_t quick_states, states;
};
constexpr WalkRange Walk_Ranges[Difficulty_Count] = {
    {18, 28, 3, 4, 2, 6, 500, 700, 100, 350, 5, 20'000, 200'000},
    {26, 38, 4, 5, 14, 30, 500, 700, 100, 350, 4, 20'000, 300'000},
    {24, 34, 4, 6, 40, 70, 500, 700, 100, 350, 3, 20'000, 300'000},
    {24, 36, 4, 6, 40, 70, 500, 700, 100, 350, 4, 10'000, 100'000},
};

WalkParams DrawWalk(const WalkRange& w, Rng& rng) {
  WalkParams wp;
  int blocks = rng.Int(w.blocks_low, w.blocks_high);
  int colours = rng.Int(w.colours_low, w.colours_high);
  for (int k = 0; k < colours; k++) wp.sizes.push_back(blocks / colours + (k < blocks % colours));
  for (int k = colours - 1; k > 0; k--) std::swap(wp.sizes[k], wp.sizes[rng.Int(0, k)]);
  wp.steps = rng.Int(w.steps_low, w.steps_high);
  wp.whole_group = PerMilleOdds(rng.Int(w.whole_low, w.whole_high));
  wp.appear_chance = PerMilleOdds(rng.Int(w.appear_low, w.appear_high));
  wp.packed = blocks > 52;
  return wp;
}

// Three colours at least, none whole already, none in more than `pieces` pieces.
bool FairBoard(const Position& p, int pieces) {
  int colours = 0;
  Mask groups[Grid_Cells];
  for (Mask m : p.colour) {
    if (!m) continue;
    colours++;
    if (IsOneGroup(m) || SplitGroups(m, groups) > pieces) return false;
  }
  return colours >= 3;
}

// The fewest steps of p when they are in `steps` and proven within the budgets, with a solution
// of that length; false otherwise, or when the search was cancelled (`stopped` then set).
bool GradeBoard(const Position& p, const WalkRange& range, const StepRange& steps,
                const std::atomic<bool>* cancel, MadeLevel& out, bool& stopped) {
  ColourBound bound;
  SearchLimits quick;
  quick.max_states = range.quick_states;
  quick.weight_num = 2;
  quick.weight_den = 1;
  quick.cancel = cancel;
  SearchResult q = Search(p, bound, quick);
  stopped = q.stopped;
  // A quick solution already shorter than the range: the fewest steps are too.
  if (!q.solved || q.length < steps.low || q.lower_bound > steps.high) return false;
  // Only solutions short enough for the range are looked for: when there is none below the
  // quick one's length, that length is the fewest.
  SearchLimits exact;
  exact.max_states = range.states;
  exact.upper_bound = std::min(q.length, steps.high + 1);
  exact.cancel = cancel;
  SearchResult a = Search(p, bound, exact);
  stopped = a.stopped;
  if (a.solved) {
    out.par = a.length;
    out.solution = a.moves;
  } else if (a.exhausted && q.length <= steps.high) {
    out.par = q.length;
    out.solution = q.moves;
  } else {
    return false;
  }
  return out.par >= steps.low && out.par <= steps.high;
}

bool ModelEmpties(Position p, const std::vector<SolveMove>& solution) {
  for (const SolveMove& m : solution)
    if (!ApplyMove(p, m)) return false;
  return p.Empty();
}

constexpr char Code_Letters[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int Code_Length = 8;

uint64_t CodePayload(const LevelCode& code) {
  return uint64_t(code.seed) | (uint64_t(code.difficulty & 3) << 32) | (uint64_t(code.daily ? 1 : 0) << 34);
}
uint64_t CodeCheck(uint64_t payload) { return Mix64(payload ^ 0x5157a4c0de5ULL) & 31; }

int CodeLetterValue(char c) {
  if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  if (c == 'O') c = '0';
  if (c == 'I' || c == 'L') c = '1';
  for (int i = 0; i < 32; i++)
    if (Code_Letters[i] == c) return i;
  return -1;
}

}  // namespace

std::string LevelCodeText(const LevelCode& code) {
  uint64_t payload = CodePayload(code);
  uint64_t bits = payload | (CodeCheck(payload) << 35);
  std::string text;
  for (int i = Code_Length - 1; i >= 0; i--) {
    text += Code_Letters[(bits >> (5 * i)) & 31];
    if (i == 4) text += '-';
  }
  return text;
}

bool ParseLevelCode(const std::string& text, LevelCode& code) {
  uint64_t bits = 0;
  int letters = 0;
  for (char c : text) {
    if (c == '-' || c == ' ') continue;
    int v = CodeLetterValue(c);
    if (v < 0 || ++letters > Code_Length) return false;
    bits = (bits << 5) | uint64_t(v);
  }
  if (letters != Code_Length) return false;
  uint64_t payload = bits & ((uint64_t(1) << 35) - 1);
  if ((bits >> 35) != CodeCheck(payload)) return false;
  code.seed = uint32_t(payload);
  code.difficulty = int((payload >> 32) & 3);
  code.daily = ((payload >> 34) & 1) != 0;
  return true;
}

// Days from a date in whole numbers alone, counted in eras of 400 years (146097 days), so
// that a day's level never depends on a time zone table or a library's calendar.
int DayNumber(int year, int month, int day) {
  year -= month <= 2;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yoe = year - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void DayDate(int day_number, int& year, int& month, int& day) {
  const int z = day_number + 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  day = doy - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = yoe + era * 400 + (month <= 2);
}

std::string DayText(int day_number) {
  int y, m, d;
  DayDate(day_number, y, m, d);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
  return text;
}

LevelCode DayLevelCode(int day_number) {
  LevelCode code;
  code.seed = uint32_t(day_number);
  code.difficulty = Day_Difficulty;
  code.daily = true;
  return code;
}

std::vector<std::string> CatalogueKeys(const uint8_t* records, int count) {
  std::vector<std::string> keys;
  keys.reserve(count);
  for (int i = 0; i < count; i++) {
    Cells cells;
    std::copy_n(records + size_t(i) * Record_Size + 4, cells.size(), cells.begin());
    keys.push_back(CanonicalKey(cells));
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

bool MakeRandomLevel(const LevelCode& code, const std::vector<std::string>& catalogue_keys,
                     const std::atomic<bool>* cancel, MadeLevel& out) {
  const int difficulty = std::clamp(code.difficulty, 0, Difficulty_Count - 1);
  const WalkRange& range = Walk_Ranges[difficulty];
  const StepRange steps = Difficulty_Steps[difficulty];
  Rng seeds(Mix64(CodePayload(code) + 0x7a3d91c4e5b60f17ULL));
  out = MadeLevel();
  for (;;) {
    if (cancel && cancel->load(std::memory_order_relaxed)) return false;
    out.walks++;
    Rng rng(seeds.Next());
    WalkParams wp = DrawWalk(range, rng);
    Position p;
    if (!BackwardWalk(rng, wp, p) || !FairBoard(p, range.pieces)) continue;
    Cells cells;
    CellsFromPosition(p, cells.data());
    if (std::binary_search(catalogue_keys.begin(), catalogue_keys.end(), CanonicalKey(cells))) continue;
    bool stopped = false;
    if (!GradeBoard(p, range, steps, cancel, out, stopped)) {
      if (stopped) return false;
      continue;
    }
    if (!ModelEmpties(p, out.solution)) continue;
    std::copy(cells.begin(), cells.end(), out.cells.begin());
    return true;
  }
}

// The solver's board model and its searches.
#include "solver/solver.h"

#include <algorithm>
#include <chrono>
#include <cstring>

Position PositionFromCells(const uint8_t* cells) {
  Position p;
  for (int i = 0; i < Grid_Cells; i++)
    if (cells[i] >= 1 && cells[i] <= Colour_Count) p.colour[cells[i] - 1] |= Bit(i);
  return p;
}

void CellsFromPosition(const Position& p, uint8_t* cells) {
  for (int i = 0; i < Grid_Cells; i++) {
    cells[i] = 0;
    for (int k = 0; k < Colour_Count; k++)
      if (p.colour[k] & Bit(i)) cells[i] = uint8_t(k + 1);
  }
}

namespace {

// Shifts group g of colour k one step; false when the board edge or another block is in the way.
bool StepGroup(Position& p, int k, Mask g, int d, Mask occupied) {
  if (g & EdgeOf(d)) return false;
  Mask dest = Shift(g, d);
  if (dest & occupied & ~g) return false;
  Mask next = (p.colour[k] & ~g) | dest;
  // Same-colour blocks touching the moved group join it; when that is every block of the
  // colour, the colour leaves the board.
  p.colour[k] = Flood(dest, next) == next ? Mask(0) : next;
  return true;
}

int ColourAt(const Position& p, int cell) {
  for (int k = 0; k < Colour_Count; k++)
    if (p.colour[k] & Bit(cell)) return k;
  return -1;
}

}  // namespace

std::vector<Successor> LegalMoves(const Position& p) {
  std::vector<Successor> out;
  Mask occupied = p.Occupied();
  Mask groups[Grid_Cells];
  for (int k = 0; k < Colour_Count; k++) {
    int n = SplitGroups(p.colour[k], groups);
    for (int i = 0; i < n; i++) {
      for (int d = 0; d < 4; d++) {
        Successor s{{LowestCell(groups[i]), d}, p};
        if (StepGroup(s.next, k, groups[i], d, occupied)) out.push_back(s);
      }
    }
  }
  return out;
}

bool ApplyMove(Position& p, const SolveMove& m) {
  if (m.cell < 0 || m.cell >= Grid_Cells || m.dir < 0 || m.dir > Dir_Hold) return false;
  int k = ColourAt(p, m.cell);
  if (k < 0) return false;
  Mask g = Flood(Bit(m.cell), p.colour[k]);
  if (m.dir == Dir_Hold) {
    if (g != p.colour[k]) return false;
    p.colour[k] = 0;
    return true;
  }
  return StepGroup(p, k, g, m.dir, p.Occupied());
}

std::vector<SolveMove> ClearWholeColours(Position& p) {
  std::vector<SolveMove> out;
  for (int k = 0; k < Colour_Count; k++) {
    if (IsOneGroup(p.colour[k])) {
      out.push_back({LowestCell(p.colour[k]), Dir_Hold});
      p.colour[k] = 0;
    }
  }
  return out;
}

std::string MoveToken(const SolveMove& m) {
  std::string t(3, ' ');
  t[0] = char('0' + m.cell % Grid_W);
  t[1] = char('0' + m.cell / Grid_W);
  t[2] = m.dir == Dir_Hold ? 'G' : Dir_Letter[m.dir];
  return t;
}

bool ParseMoveToken(const std::string& token, SolveMove& m) {
  if (token.size() != 3) return false;
  int x = token[0] - '0', y = token[1] - '0';
  if (x < 0 || x >= Grid_W || y < 0 || y >= Grid_H) return false;
  const char* letters = "RDLUG";
  const char* at = std::strchr(letters, token[2]);
  if (!at || token[2] == 0) return false;
  m.cell = y * Grid_W + x;
  m.dir = int(at - letters);
  return true;
}

int CountSteps(const std::vector<SolveMove>& moves) {
  int n = 0;
  for (const SolveMove& m : moves) n += m.dir != Dir_Hold;
  return n;
}

namespace {

// A stored position: its six masks packed into 10 bytes each, its path and its cost so far.
struct Node {
  uint8_t packed[Colour_Count * 10];
  uint32_t parent;
  uint8_t g;
  uint8_t h;
  uint8_t cell;
  uint8_t dir;
};

void Pack(const Position& p, Node& n) {
  for (int k = 0; k < Colour_Count; k++) std::memcpy(n.packed + 10 * k, &p.colour[k], 10);
}

void Unpack(const Node& n, Position& p) {
  for (int k = 0; k < Colour_Count; k++) {
    p.colour[k] = 0;
    std::memcpy(&p.colour[k], n.packed + 10 * k, 10);
  }
}

uint64_t HashPosition(const Position& p) {
  uint64_t h = 0;
  for (int k = 0; k < Colour_Count; k++) h += HashMask(p.colour[k], k);
  return h;
}

// Open list: one stack per priority key; keys are small integers, so popping the least is a
// walk of a cursor. Within one estimate, deeper positions come first (key carries 255 - g).
class BucketQueue {
 public:
  void Push(uint32_t key, uint32_t node) {
    if (key >= buckets_.size()) buckets_.resize(key + 1024);
    buckets_[key].push_back(node);
    if (key < cursor_) cursor_ = key;
    size_++;
  }
  bool Pop(uint32_t& key, uint32_t& node) {
    if (size_ == 0) return false;
    while (buckets_[cursor_].empty()) cursor_++;
    key = cursor_;
    node = buckets_[cursor_].back();
    buckets_[cursor_].pop_back();
    size_--;
    return true;
  }
  size_t Bytes() const {
    size_t b = buckets_.capacity() * sizeof(buckets_[0]);
    for (const auto& v : buckets_) b += v.capacity() * sizeof(uint32_t);
    return b;
  }

 private:
  std::vector<std::vector<uint32_t>> buckets_;
  uint32_t cursor_ = 0;
  size_t size_ = 0;
};

}  // namespace

SearchResult Search(const Position& start, ColourBound& bound, const SearchLimits& limits) {
  auto t0 = std::chrono::steady_clock::now();
  SearchResult r;
  std::vector<Node> nodes;
  nodes.reserve(std::min<uint64_t>(limits.max_states + 64, 1 << 20));
  std::vector<uint64_t> slots(1 << 16, 0);  // (hash high 32 bits << 32) | (node + 1)
  size_t slot_mask = slots.size() - 1;
  BucketQueue open;
  const int num = limits.weight_num, den = limits.weight_den;
  auto key_of = [&](int g, int h) { return uint32_t((g * den + h * num) * 256 + (255 - g)); };

  auto find_or_add = [&](const Position& p, uint64_t hash, bool& added) -> uint32_t {
    uint64_t tag = hash >> 32;
    for (size_t i = size_t(hash) & slot_mask;; i = (i + 1) & slot_mask) {
      if (slots[i] == 0) {
        Node n{};
        Pack(p, n);
        nodes.push_back(n);
        slots[i] = (tag << 32) | nodes.size();
        added = true;
        return uint32_t(nodes.size() - 1);
      }
      if ((slots[i] >> 32) == tag) {
        uint32_t idx = uint32_t(slots[i] & 0xffffffffu) - 1;
        Position q;
        Unpack(nodes[idx], q);
        if (q == p) {
          added = false;
          return idx;
        }
      }
    }
  };
  auto grow = [&]() {
    std::vector<uint64_t> old;
    old.swap(slots);
    slots.assign(old.size() * 2, 0);
    slot_mask = slots.size() - 1;
    for (uint64_t s : old) {
      if (!s) continue;
      Position q;
      Unpack(nodes[uint32_t(s & 0xffffffffu) - 1], q);
      for (size_t i = size_t(HashPosition(q)) & slot_mask;; i = (i + 1) & slot_mask)
        if (slots[i] == 0) {
          slots[i] = s;
          break;
        }
    }
  };

  int h0 = 0;
  for (int k = 0; k < Colour_Count; k++) h0 += bound.Get(start.colour[k]);
  r.lower_bound = h0;
  bool added;
  uint32_t root = find_or_add(start, HashPosition(start), added);
  nodes[root].parent = UINT32_MAX;
  nodes[root].g = 0;
  nodes[root].h = uint8_t(std::min(h0, 255));
  if (h0 < limits.upper_bound) open.Push(key_of(0, h0), root);

  uint32_t key, idx;
  int goal = -1;
  bool out_of_budget = false;
  Mask groups[Grid_Cells];
  while (open.Pop(key, idx)) {
    int g = 255 - int(key & 255);
    Node& n = nodes[idx];
    if (n.g != g) continue;  // a shorter path reached it after this entry was queued
    if (num == den) r.lower_bound = std::max(r.lower_bound, int(key >> 8) / den);
    Position p;
    Unpack(n, p);
    if (p.Empty()) {
      goal = int(idx);
      break;
    }
    if (nodes.size() >= limits.max_states) {
      out_of_budget = true;
      break;
    }
    // The clock and the cancel flag are looked at every 1024 expansions, the first included.
    if ((r.expanded & 1023) == 0 &&
        ((limits.cancel && limits.cancel->load(std::memory_order_relaxed)) || SolveClock::now() >= limits.deadline)) {
      out_of_budget = r.stopped = true;
      break;
    }
    r.expanded++;
    int h_parent = n.h;
    Mask occupied = p.Occupied();
    uint64_t hash_k[Colour_Count];
    int bound_k[Colour_Count];
    uint64_t hash = 0;
    int h_sum = 0;
    for (int k = 0; k < Colour_Count; k++) {
      hash_k[k] = HashMask(p.colour[k], k);
      hash += hash_k[k];
      bound_k[k] = bound.Get(p.colour[k]);
      h_sum += bound_k[k];
    }
    for (int k = 0; k < Colour_Count; k++) {
      Mask old = p.colour[k];
      if (!old) continue;
      int count = SplitGroups(old, groups);
      for (int i = 0; i < count; i++) {
        for (int d = 0; d < 4; d++) {
          if (!StepGroup(p, k, groups[i], d, occupied)) continue;
          r.generated++;
          Mask now = p.colour[k];
          int h = h_sum - bound_k[k] + bound.Get(now);
          h = std::max(h, h_parent - 1);  // pathmax: a child is at most one move closer
          uint64_t child_hash = hash - hash_k[k] + HashMask(now, k);
          if (g + 1 + h < limits.upper_bound) {
            if ((nodes.size() + 1) * 2 > slots.size()) grow();
            uint32_t c = find_or_add(p, child_hash, added);
            Node& child = nodes[c];  // nodes may have moved: take the reference after the add
            if (added || child.g > g + 1) {
              child.parent = idx;
              child.g = uint8_t(g + 1);
              child.h = uint8_t(std::min(h, 255));
              child.cell = uint8_t(LowestCell(groups[i]));
              child.dir = uint8_t(d);
              open.Push(key_of(g + 1, h), c);
            }
          }
          p.colour[k] = old;
        }
      }
    }
  }
  r.stored = nodes.size();
  r.peak_bytes = nodes.capacity() * sizeof(Node) + slots.capacity() * sizeof(uint64_t) +
                 open.Bytes() + bound.MemoBytes();
  if (goal >= 0) {
    r.solved = true;
    r.length = nodes[goal].g;
    for (uint32_t i = uint32_t(goal); nodes[i].parent != UINT32_MAX; i = nodes[i].parent)
      r.moves.push_back({nodes[i].cell, nodes[i].dir});
    std::reverse(r.moves.begin(), r.moves.end());
    if (num == den) r.lower_bound = r.length;
  } else if (!out_of_budget) {
    // Nothing below the upper bound exists: a known solution of that length is the fewest.
    r.exhausted = true;
    r.lower_bound = std::max(r.lower_bound, limits.upper_bound);
  }
  if (num != den && !r.exhausted) r.lower_bound = std::min(r.lower_bound, h0);
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return r;
}

SolveReport Solve(const Position& start, const SolveOptions& options) {
  auto t0 = std::chrono::steady_clock::now();
  SolveClock::time_point deadline = SolveClock::time_point::max();
  if (options.max_seconds > 0) {
    deadline = t0 + std::chrono::duration_cast<SolveClock::duration>(std::chrono::duration<double>(options.max_seconds));
  }
  SolveReport rep;
  Position p = start;
  std::vector<SolveMove> lead = ClearWholeColours(p);
  auto finish = [&]() {
    rep.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return rep;
  };
  if (p.Empty()) {
    rep.solved = rep.optimal = true;
    rep.moves = rep.lower_bound = 0;
    rep.solution = lead;
    return finish();
  }
  ColourBound bound;
  // A quick solution first: its length cuts the optimal search, and it is the answer when
  // the optimal search runs out of budget.
  std::vector<SolveMove> best;
  int best_len = 1 << 30;
  const int weights[][2] = {{3, 1}, {2, 1}, {3, 2}};
  for (const auto& w : weights) {
    SearchLimits lim;
    lim.max_states = std::min<uint64_t>(options.max_states, 400'000);
    lim.weight_num = w[0];
    lim.weight_den = w[1];
    lim.upper_bound = best_len;
    lim.deadline = deadline;
    lim.cancel = options.cancel;
    SearchResult s = Search(p, bound, lim);
    rep.all_generated += s.generated;
    rep.stopped = rep.stopped || s.stopped;
    if (s.solved && s.length < best_len) {
      best_len = s.length;
      best = s.moves;
    }
  }
  SearchLimits lim;
  lim.max_states = options.max_states;
  lim.upper_bound = best_len;
  lim.deadline = deadline;
  lim.cancel = options.cancel;
  // Stopped already: the optimal search would stop at its first look too, having proven nothing.
  SearchResult s = rep.stopped ? SearchResult{} : Search(p, bound, lim);
  rep.all_generated += s.generated;
  rep.stopped = rep.stopped || s.stopped;
  rep.bound_searches = bound.Searches();
  rep.bound_expanded = bound.InnerExpanded();
  rep.bound_capped = bound.CappedSearches();
  rep.expanded = s.expanded;
  rep.generated = s.generated;
  rep.stored = s.stored;
  rep.peak_bytes = s.peak_bytes;
  if (s.solved) {
    best_len = s.length;
    best = s.moves;
    rep.optimal = true;
  } else if (s.exhausted) {
    rep.optimal = best_len < (1 << 30);
  }
  rep.solved = best_len < (1 << 30);
  // Every position reachable was searched without a bound to cut it, and none was empty.
  rep.unsolvable = !rep.solved && s.exhausted;
  rep.moves = rep.solved ? best_len : -1;
  rep.lower_bound = rep.optimal ? best_len : s.lower_bound;
  rep.solution = lead;
  rep.solution.insert(rep.solution.end(), best.begin(), best.end());
  return finish();
}

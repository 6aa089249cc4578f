// The per-colour bound: a small memoised A* over one colour's blocks on an empty board.
#include "solver/colour_bound.h"

#include <algorithm>
#include <unordered_map>

namespace {

struct MaskHasher {
  size_t operator()(Mask m) const { return size_t(HashMask(m, 7)); }
};

}  // namespace

MaskMemo::MaskMemo() { Clear(); }

void MaskMemo::Clear() {
  keys_.assign(1 << 12, Mask(0));
  values_.assign(1 << 12, 0);
  keys_.shrink_to_fit();
  values_.shrink_to_fit();
  count_ = 0;
}

const uint8_t* MaskMemo::Find(Mask key) const {
  size_t mask = keys_.size() - 1;
  for (size_t i = size_t(HashMask(key, 11)) & mask;; i = (i + 1) & mask) {
    if (keys_[i] == key) return &values_[i];
    if (keys_[i] == 0) return nullptr;
  }
}

void MaskMemo::Put(Mask key, uint8_t value) {
  if ((count_ + 1) * 2 > keys_.size()) Grow();
  size_t mask = keys_.size() - 1;
  for (size_t i = size_t(HashMask(key, 11)) & mask;; i = (i + 1) & mask) {
    if (keys_[i] == key) {
      values_[i] = value;
      return;
    }
    if (keys_[i] == 0) {
      keys_[i] = key;
      values_[i] = value;
      count_++;
      return;
    }
  }
}

void MaskMemo::Grow() {
  std::vector<Mask> old_keys;
  std::vector<uint8_t> old_values;
  old_keys.swap(keys_);
  old_values.swap(values_);
  keys_.assign(old_keys.size() * 2, Mask(0));
  values_.assign(old_keys.size() * 2, 0);
  count_ = 0;
  for (size_t i = 0; i < old_keys.size(); i++)
    if (old_keys[i] != 0) Put(old_keys[i], old_values[i]);
}

int BottleneckGap(const Mask* groups, int count) {
  if (count <= 1) return 0;
  // Distances between groups by growing each one a ring at a time: on an empty board the
  // ring reached after t steps holds exactly the cells at Manhattan distance t.
  int dist[Grid_Cells][Grid_Cells];
  for (int i = 0; i < count; i++) {
    int missing = count - 1 - i;
    for (int j = i + 1; j < count; j++) dist[i][j] = -1;
    Mask reach = groups[i];
    for (int t = 1; missing > 0; t++) {
      reach |= Neighbours(reach);
      for (int j = i + 1; j < count; j++) {
        if (dist[i][j] < 0 && (reach & groups[j])) {
          dist[i][j] = dist[j][i] = t;
          missing--;
        }
      }
    }
  }
  // Prim's tree: its longest edge is the smallest possible largest gap of any spanning tree.
  int best[Grid_Cells];
  bool in_tree[Grid_Cells] = {};
  in_tree[0] = true;
  for (int j = 1; j < count; j++) best[j] = dist[0][j];
  int widest = 0;
  for (int added = 1; added < count; added++) {
    int pick = -1;
    for (int j = 0; j < count; j++)
      if (!in_tree[j] && (pick < 0 || best[j] < best[pick])) pick = j;
    widest = std::max(widest, best[pick] - 1);
    in_tree[pick] = true;
    for (int j = 0; j < count; j++)
      if (!in_tree[j] && dist[pick][j] < best[j]) best[j] = dist[pick][j];
  }
  return widest;
}

int ColourBound::Get(Mask colour) {
  if (colour == 0) return 0;
  if (const uint8_t* v = memo_.Find(colour)) return *v;
  int b = Search(colour);
  memo_.Put(colour, uint8_t(std::min(b, 255)));
  return b;
}

int ColourBound::Search(Mask colour) {
  searches_++;
  Mask groups[Grid_Cells];
  int count = SplitGroups(colour, groups);
  if (count <= 1) return 0;
  int h0 = BottleneckGap(groups, count);
  if (h0 <= 1 && count == 2) return 1;  // two groups with one empty cell between: one step
  // A colour in many pieces has a search space too wide to close in a few hundred positions:
  // its bottleneck gap is what such a search would end with anyway, at a fraction of the cost.
  if (count > max_groups_) return h0;

  // A* with the bottleneck gap, which is consistent (one move changes each gap by one at most).
  std::unordered_map<Mask, int, MaskHasher> g_of;
  std::vector<std::vector<std::pair<Mask, int>>> open(64);
  g_of[colour] = 0;
  open[h0].push_back({colour, 0});
  int f = h0;
  int expanded = 0;
  while (f < int(open.size())) {
    if (open[f].empty()) {
      f++;
      continue;
    }
    auto [m, g] = open[f].back();
    open[f].pop_back();
    if (g_of[m] != g) continue;
    inner_expanded_++;
    if (++expanded > inner_cap_) {
      capped_++;
      return f;
    }
    count = SplitGroups(m, groups);
    for (int i = 0; i < count; i++) {
      for (int d = 0; d < 4; d++) {
        if (groups[i] & EdgeOf(d)) continue;
        Mask dest = Shift(groups[i], d);
        Mask next = (m & ~groups[i]) | dest;
        if (Flood(dest, next) == next) return g + 1;  // this step joins the whole colour
        auto it = g_of.find(next);
        if (it != g_of.end() && it->second <= g + 1) continue;
        g_of[next] = g + 1;
        Mask next_groups[Grid_Cells];
        int n = SplitGroups(next, next_groups);
        int nf = g + 1 + BottleneckGap(next_groups, n);
        if (nf >= int(open.size())) open.resize(nf + 1);
        open[nf].push_back({next, g + 1});
      }
    }
  }
  return f;
}

// The admissible estimate of the solver: for one colour alone on an otherwise empty board, the
// fewest moves that join all its blocks. Every move shifts exactly one colour, so the sum of
// these over the colours never exceeds the moves a level still needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "solver/bitboard.h"

// Open-addressed map from a colour mask to a small value; the solver's memo of colour bounds.
class MaskMemo {
 public:
  MaskMemo();
  // Returns a pointer to the value of `key`, or nullptr when the key is not stored.
  const uint8_t* Find(Mask key) const;
  void Put(Mask key, uint8_t value);
  size_t Size() const { return count_; }
  size_t Bytes() const { return keys_.capacity() * sizeof(Mask) + values_.capacity(); }
  void Clear();

 private:
  void Grow();
  std::vector<Mask> keys_;  // 0 marks a free slot (a colour never has an empty mask here)
  std::vector<uint8_t> values_;
  size_t count_ = 0;
};

// The largest gap (empty cells between them, in Manhattan steps) that a spanning tree of the
// groups must bridge: any move shortens a gap by one at most, so this many moves are needed.
int BottleneckGap(const Mask* groups, int count);

class ColourBound {
 public:
  // inner_cap: the most positions one inner search may expand; beyond it the bound falls back
  // to the smallest estimate left open, which is lower but still never too high.
  explicit ColourBound(int inner_cap = 300, int max_groups = 4)
      : inner_cap_(inner_cap), max_groups_(max_groups) {}
  int Get(Mask colour);
  size_t MemoSize() const { return memo_.Size(); }
  size_t MemoBytes() const { return memo_.Bytes(); }
  uint64_t CappedSearches() const { return capped_; }
  uint64_t Searches() const { return searches_; }
  uint64_t InnerExpanded() const { return inner_expanded_; }
  void Clear() { memo_.Clear(); }

 private:
  int Search(Mask colour);
  MaskMemo memo_;
  int inner_cap_;
  int max_groups_;  // colours in more groups than this take the bottleneck gap without search
  uint64_t capped_ = 0;
  uint64_t searches_ = 0;
  uint64_t inner_expanded_ = 0;
};

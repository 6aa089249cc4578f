// Random boards and random steps, checked after every step against a slow, obvious model:
// the held group is the 4-connected component of the grabbed block, the grids mirror the
// list, no cell holds two blocks, and a refused step changes nothing.
#include "tests/rules/rules_fixture.h"

#include <limits>
#include <map>
#include <random>
#include <set>
#include <tuple>

namespace {

struct Snapshot {
  std::vector<std::tuple<const T_BLOCK*, int, int, int, int, int64_t>> Blocks;
  std::vector<int> Kinds;
  std::vector<const T_BLOCK*> Cells;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take() {
  Snapshot s;
  for (auto& b : Block_List) s.Blocks.emplace_back(b.get(), b->XMap, b->YMap, b->Kind, b->FlagSelect, b->Timer);
  for (int x = 0; x < Board_Width; x++) {
    for (int y = 0; y < Board_Height; y++) {
      s.Kinds.push_back(Kind_Grid[x][y]);
      s.Cells.push_back(Block_Grid[x][y]);
    }
  }
  return s;
}

// Flood fill over block positions alone, never over the grids under test.
std::set<const T_BLOCK*> Component(const T_BLOCK* start) {
  std::map<std::pair<int, int>, const T_BLOCK*> at;
  for (auto& b : Block_List) at[{b->XMap, b->YMap}] = b.get();
  std::set<const T_BLOCK*> seen{start};
  std::vector<const T_BLOCK*> todo{start};
  while (!todo.empty()) {
    const T_BLOCK* b = todo.back();
    todo.pop_back();
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
      auto it = at.find({b->XMap + dx, b->YMap + dy});
      if (it != at.end() && it->second->Kind == start->Kind && seen.insert(it->second).second) todo.push_back(it->second);
    }
  }
  return seen;
}

void CheckBoard(const char* when) {
  SCOPED_TRACE(when);
  std::set<std::pair<int, int>> used;
  for (auto& b : Block_List) {
    ASSERT_TRUE(OnBoard(b->XMap, b->YMap));
    ASSERT_TRUE(used.insert({b->XMap, b->YMap}).second) << "two blocks in " << b->XMap << "," << b->YMap;
    ASSERT_EQ(Block_Grid[b->XMap][b->YMap], b.get());
    ASSERT_EQ(Kind_Grid[b->XMap][b->YMap], b->Kind);
    ASSERT_EQ(b->X, b->XMap * Block_Size);
  }
  for (int x = 0; x < Board_Width; x++) {
    for (int y = 0; y < Board_Height; y++) {
      if (used.count({x, y})) continue;
      ASSERT_EQ(Block_Grid[x][y], nullptr);
      ASSERT_EQ(Kind_Grid[x][y], -1);
    }
  }
  if (Grabbed_Block) {
    std::set<const T_BLOCK*> held;
    for (auto& b : Block_List) {
      if (b->FlagSelect) held.insert(b.get());
    }
    ASSERT_EQ(held, Component(Grabbed_Block));
  }
}

TEST_F(RulesTest, RandomStepsKeepTheBoardAndTheHeldGroupConsistent) {
  std::mt19937 random(20240611);
  int moves_done = 0, refused = 0, cleared = 0;
  for (int board = 0; board < 300; board++) {
    uint8_t cells[Board_Cells];
    int colours = 2 + static_cast<int>(random() % 5);
    int density = 30 + static_cast<int>(random() % 50);
    for (auto& c : cells) c = static_cast<uint8_t>(static_cast<int>(random() % 100) < density ? 1 + random() % colours : 0);
    SetBoardCells(cells);
    CheckBoard("after laying out");
    for (int step = 0; step < 60 && !Block_List.empty(); step++) {
      int action = static_cast<int>(random() % 10);
      if (action < 2 || !Grabbed_Block) {
        GrabGroupAt(static_cast<int>(random() % Board_Width), static_cast<int>(random() % Board_Height));
        CheckBoard("after a grab");
        continue;
      }
      if (action == 2) {
        // Time passes: flashing colours leave, and with them perhaps the grabbed block.
        Now += 300;
        RemoveExpiredBlocks(Now);
        cleared++;
        CheckBoard("after the flash");
        continue;
      }
      int dir = static_cast<int>(random() % 5);
      int dx = dir < 4 ? Dir_X[dir] : 0, dy = dir < 4 ? Dir_Y[dir] : 0;
      Snapshot before = Take();
      int done = TryMove(dx, dy);
      if (done) {
        moves_done++;
      } else {
        refused++;
        ASSERT_TRUE(Take() == before) << "a refused step changed the board";
      }
      CheckBoard("after a step");
    }
  }
  // The walk must really have exercised both outcomes and the clearing.
  EXPECT_GT(moves_done, 1000);
  EXPECT_GT(refused, 1000);
  EXPECT_GT(cleared, 100);
}

}  // namespace

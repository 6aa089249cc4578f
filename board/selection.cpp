// The held group: flagging, flooding, counting, completing and timing the selected blocks.
#include "board/block.h"
#include "board/board_events.h"

int T_BLOCK::CountSelected() {
  int n = 0;
  for (auto& b : Block_List) {
    if (b->FlagSelect != 0) n++;
  }
  return n;
}

void T_BLOCK::SetSelectedCoorsOffset(int dx, int dy) {
  for (auto& b : Block_List) {
    if (b->FlagSelect == 0) continue;
    b->XMap += dx;
    b->YMap += dy;
    b->X = b->XMap * Block_Size;
    b->Y = b->YMap * Block_Size;
  }
}

int T_BLOCK::CheckCompleteBlock() {
  for (auto& b : Block_List) {
    if (b->FlagSelect == 0 && b->Kind == Kind) return 0;
  }
  return 1;
}

void T_BLOCK::InitRecursiveSelect() {
  for (auto& b : Block_List) b->FlagSelect = 0;
}

void T_BLOCK::RecursiveSelect() {
  // Every block that joins the group is reshaped, so a merge shows at once.
  ShapeBlock();
  FlagSelect = 1;
  // Right, left, below, above; depth first. Depth is bounded by the 80 cells.
  static const int Steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (const auto& s : Steps) {
    T_BLOCK* n = BlockAt(XMap + s[0], YMap + s[1]);
    if (n && n->FlagSelect == 0 && n->Kind == Kind) n->RecursiveSelect();
  }
}

void T_BLOCK::DeleteSelectedBlocks() {
  bool removed = true;
  while (removed) {
    removed = false;
    for (auto& b : Block_List) {
      if (b->FlagSelect == 0) continue;
      T_BLOCK* victim = b.get();
      Announce(Board_Events.Block_Removed, victim);
      // RemoveBlock also clears the victim's cell, which a later RebuildGrids would do anyway.
      RemoveBlock(victim);
      removed = true;
      break;
    }
  }
}

void T_BLOCK::SelectAllSameColor(int kind) {
  for (auto& b : Block_List) {
    if (b->Kind == kind) b->FlagSelect = 1;
  }
}

void T_BLOCK::SetSelectedBlocksTimer(int64_t delay) {
  for (auto& b : Block_List) {
    if (b->FlagSelect == 1) b->Timer = Now + delay;
  }
}

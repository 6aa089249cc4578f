// The block model: creating, placing and removing blocks, the two grids, and whole boards
// as 80 cell bytes.
#include "board/block.h"

#include <algorithm>

#include "board/board_events.h"
#include "board/moves.h"

std::list<std::unique_ptr<T_BLOCK>> Block_List;
int Kind_Grid[Board_Width][Board_Height];
T_BLOCK* Block_Grid[Board_Width][Board_Height];

// The grids start empty, not zero (zero would read as blocks of colour 0).
static const bool Grids_Cleared = (ClearGrids(), true);

int KindStyle(int kind) {
  int style = -1;
  if (kind > 5) {
    style = kind - 6;
  } else if (kind >= 0) {
    style = User_Style[kind];
  }
  return style >= 0 && style < Style_Sheet_Count ? style : -1;
}

int T_BLOCK::Style() const { return KindStyle(Kind); }

bool T_BLOCK::Visible() const { return Timer == 0 || ((Timer - Now) & 64) != 0; }

T_BLOCK* BlockAt(int x, int y) { return OnBoard(x, y) ? Block_Grid[x][y] : nullptr; }

T_BLOCK* T_BLOCK::addBlock(int x, int y, int kind) {
  if (!OnBoard(x, y) || Block_Grid[x][y] != nullptr) return nullptr;
  // A colour whose chosen style is out of range (a damaged profile) still plays, undrawn;
  // a style block of a style we do not have is not made at all.
  if (kind < 0 || (kind > 5 && KindStyle(kind) < 0)) return nullptr;
  auto owned = std::make_unique<T_BLOCK>();
  T_BLOCK* b = owned.get();
  b->XMap = x;
  b->YMap = y;
  b->Kind = kind;
  b->X = x * Block_Size;
  b->Y = y * Block_Size;
  b->Text = u"";
  b->Menu = -1;
  b->FlagSelect = 0;
  Block_List.push_back(std::move(owned));
  Announce(Board_Events.Block_Made, b);
  Kind_Grid[x][y] = kind;
  Block_Grid[x][y] = b;
  return b;
}

int T_BLOCK::CheckIn(int x, int y) const { return XMap == x && YMap == y ? 1 : 0; }

void T_BLOCK::SetMenu(const String& text, int menu) {
  Text = text;
  Menu = menu;
}

void T_BLOCK::PosAllBlocks() {
  for (auto& b : Block_List) {
    b->X = b->XMap * Block_Size;
    b->Y = b->YMap * Block_Size;
  }
}

void ClearGrids() {
  for (int x = 0; x < Board_Width; x++) {
    for (int y = 0; y < Board_Height; y++) {
      Kind_Grid[x][y] = -1;
      Block_Grid[x][y] = nullptr;
    }
  }
}

void ClearBoard() {
  // The hand goes first: after this no block it could point to exists.
  ReleaseHold();
  Block_List.clear();
  Announce(Board_Events.Board_Cleared);
  ClearGrids();
}

void RebuildGrids() {
  ClearGrids();
  for (auto& b : Block_List) {
    Kind_Grid[b->XMap][b->YMap] = b->Kind;
    Block_Grid[b->XMap][b->YMap] = b.get();
  }
}

void RemoveBlock(T_BLOCK* block) {
  if (block == Grabbed_Block) ReleaseHold();
  if (OnBoard(block->XMap, block->YMap) && Block_Grid[block->XMap][block->YMap] == block) {
    Kind_Grid[block->XMap][block->YMap] = -1;
    Block_Grid[block->XMap][block->YMap] = nullptr;
  }
  auto it = std::find_if(Block_List.begin(), Block_List.end(),
                         [block](const std::unique_ptr<T_BLOCK>& b) { return b.get() == block; });
  if (it != Block_List.end()) Block_List.erase(it);
}

void RemoveExpiredBlocks(int64_t now) {
  for (auto it = Block_List.begin(); it != Block_List.end();) {
    T_BLOCK* b = it->get();
    ++it;   // step past b before it can be erased
    if (b->Timer != 0 && b->Timer <= now) {
      b->Timer = 0;
      Announce(Board_Events.Block_Expired, b);
      RemoveBlock(b);
    }
  }
}

void SetBoardCells(const uint8_t* cells) {
  ClearBoard();
  for (int y = 0; y < Board_Height; y++) {
    for (int x = 0; x < Board_Width; x++) {
      int v = cells[y * Board_Width + x];
      if (v > 0) T_BLOCK::addBlock(x, y, v - 1);
    }
  }
  T_BLOCK::ShapeAllBlocks();
}

void GetBoardCells(uint8_t* cells) {
  for (int y = 0; y < Board_Height; y++) {
    for (int x = 0; x < Board_Width; x++) {
      const T_BLOCK* b = Block_Grid[x][y];
      cells[y * Board_Width + x] = b && b->Timer == 0 ? static_cast<uint8_t>(b->Kind + 1) : 0;
    }
  }
}

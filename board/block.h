// The board: T_BLOCK, the class-wide list of live blocks, the two lookup grids, and the
// helpers that lay a whole board out from 80 cell bytes and read it back.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "board/board_state.h"
#include "platform/platform.h"

constexpr int Board_Width = 10;
constexpr int Board_Height = 8;
constexpr int Board_Cells = Board_Width * Board_Height;   // bytes of one board in cell order

inline bool OnBoard(int x, int y) { return x >= 0 && x < Board_Width && y >= 0 && y < Board_Height; }

class T_BLOCK {
 public:
  int Frame[4] = {0, 0, 0, 0};   // quarter frames: top-left, top-right, bottom-right, bottom-left
  int XMap = 0;
  int YMap = 0;
  int Kind = 0;                  // colour 0..5, or style number + 6
  int FXMode = 0;                // particle mode of its style, set by whoever draws the blocks
  int X = 0;                     // pixels from the board's top-left corner
  int Y = 0;
  int FlagSelect = 0;            // 1 while in the held group
  int64_t Timer = 0;             // 0 live; else the Now at which the block leaves the board
  float fX = 0, fY = 0, vX = 0, vY = 0;
  String Text;                   // label; "!" continues the label of the block to its left
  int Menu = 0;                  // menu choice id, -1 for none

  // Creates a block on an empty cell and registers it in the list and both grids. Returns
  // nullptr, making nothing, for a cell off the board or already taken, or for a kind whose
  // style the game does not have: boards built from files never break the grids.
  static T_BLOCK* addBlock(int x, int y, int kind);
  int CheckIn(int x, int y) const;
  void SetMenu(const String& text, int menu);

  // Drawing (board/block_draw.cpp, part of the presentation: the rules never call these).
  void Draw();
  void DisplayText();
  void DrawShadow();
  void DrawHighLight();
  static void DrawSelectedBlocks();
  static void DrawAll();

  // The held group (board/selection.cpp).
  static int CountSelected();
  void SetSelectedCoorsOffset(int dx, int dy);
  int CheckCompleteBlock();
  static void InitRecursiveSelect();
  void RecursiveSelect();
  static void DeleteSelectedBlocks();
  static void SelectAllSameColor(int kind);
  static void SetSelectedBlocksTimer(int64_t delay);

  static void PosAllBlocks();

  // Shapes (board/shapes.cpp).
  static void ShapeAllBlocks();
  void ShapeBlock();

  // Style number the block is drawn with, -1 when it has none.
  int Style() const;
  // The blink rule: a dying block shows for 64 ms, hides for 64 ms.
  bool Visible() const;
  // Pixels a label on this block may use: the run of its colour to the right, at most the
  // 4 cells of a label bar, less a 10-pixel margin on each side.
  int LabelWidth() const;
};

// Owns every live block, in order of creation; also the drawing order.
extern std::list<std::unique_ptr<T_BLOCK>> Block_List;
extern int Kind_Grid[Board_Width][Board_Height];        // [x][y]; -1 for an empty cell
extern T_BLOCK* Block_Grid[Board_Width][Board_Height];  // [x][y]; nullptr for an empty cell

// Style number of a kind (kinds 0..5 through User_Style), -1 when the game has no such style.
int KindStyle(int kind);
// The block in a cell, nullptr when empty or off the board.
T_BLOCK* BlockAt(int x, int y);

void ClearGrids();
// Drops every block and empties the grids (Board_Cleared: their particles go too); a group held
// at that moment is let go.
void ClearBoard();
void RebuildGrids();
// Takes a block off the board for good: list, grids and any hold on it. Announcing it is the
// caller's business.
void RemoveBlock(T_BLOCK* block);
// Removes the dying blocks whose time has come (Timer <= now), each announced as Block_Expired
// (its particles burst). The drawing pass does this for the game; tools call it directly.
void RemoveExpiredBlocks(int64_t now);

// Builds the board from 80 cell bytes in row order (0 empty, k a block of Kind k - 1) and
// shapes it. Cells that cannot hold a block of that kind stay empty.
void SetBoardCells(const uint8_t* cells);
// The current board as 80 cell bytes; a dying block counts as empty.
void GetBoardCells(uint8_t* cells);

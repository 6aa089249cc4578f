// Shared set-up for the tests of the rules alone: a fresh board (ResetBoardState) with the shape
// table written from the quarter rule, no listener of the board's events, and boards drawn as
// text. The rules-and-solver test program links nothing above the rules.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/block.h"
#include "board/board_events.h"
#include "board/board_state.h"
#include "board/moves.h"
#include "board/shapes.h"

// The shape table written straight from the quarter rule, so rule tests do not depend on the
// data file (its own test checks the file).
inline void FillShapeTableFromRule() {
  for (int m = 0; m < 256; m++) {
    for (int q = 0; q < 4; q++) Shape_Table[m][q] = static_cast<uint8_t>(ShapeFrame(m, q));
  }
}

class RulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetBoardState();
    FillShapeTableFromRule();
    SetDefaultStyles();
    Block_Size = 74;
    Now = 100000;
  }
  void TearDown() override {
    ResetBoardState();
    SetDefaultStyles();
  }

  // Eight rows of ten characters: '.' empty, '0'..'5' a colour.
  static void Lay(const std::vector<std::string>& rows) {
    uint8_t cells[Board_Cells] = {};
    for (int y = 0; y < Board_Height && y < static_cast<int>(rows.size()); y++) {
      for (int x = 0; x < Board_Width && x < static_cast<int>(rows[y].size()); x++) {
        char c = rows[y][x];
        cells[y * Board_Width + x] = c == '.' ? 0 : static_cast<uint8_t>(c - '0' + 1);
      }
    }
    SetBoardCells(cells);
  }

  // The board as the same text; a dying block shows as '*', a held one keeps its digit.
  static std::vector<std::string> Picture() {
    std::vector<std::string> rows(Board_Height, std::string(Board_Width, '.'));
    for (auto& b : Block_List) {
      rows[b->YMap][b->XMap] = b->Timer != 0 ? '*' : static_cast<char>('0' + b->Kind);
    }
    return rows;
  }

  // The held cells as a picture: 'H' held, '.' anything else.
  static std::vector<std::string> Held() {
    std::vector<std::string> rows(Board_Height, std::string(Board_Width, '.'));
    for (auto& b : Block_List) {
      if (b->FlagSelect) rows[b->YMap][b->XMap] = 'H';
    }
    return rows;
  }
};

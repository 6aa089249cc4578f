// Shared set-up for the board tests: a clean board and hand, boards drawn as text, and a
// scripted mouse that runs MouseControl one frame at a time. No window is needed.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/state.h"
#include "board/block.h"
#include "board/input_control.h"
#include "board/moves.h"
#include "board/shapes.h"
#include "fx/fragments.h"

// The shape table written straight from the quarter rule, so rule tests do not depend on the
// data file (its own test checks the file).
inline void FillShapeTableFromRule() {
  for (int m = 0; m < 256; m++) {
    for (int q = 0; q < 4; q++) Shape_Table[m][q] = static_cast<uint8_t>(ShapeFrame(m, q));
  }
}

class BoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearBoard();
    FillShapeTableFromRule();
    Block_Size = 74;
    Half_Block = 37;
    for (int k = 0; k < 6; k++) User_Style[k] = k;
    Now = 100000;
    Current_Screen = Screen_Game;
    Sound_Flag = 0;
    Touch_Mode = 0;
    Mouse_X = Mouse_Y = 0;
    Mouse_Hit = Mouse_Down = 0;
    Grabbed_Block = nullptr;
    Drag_State = 0;
    Key_Cursor_Mode = 0;
    Key_Cursor_X = Key_Cursor_Y = 0;
    Pending_Screen = 0;
    Menu_Slide = 0;
    Hover_Menu = -1;
    FX_List.clear();
  }
  void TearDown() override {
    ClearBoard();
    Current_Screen = Screen_Game;
    Pending_Screen = 0;
    Menu_Slide = 0;
    Key_Cursor_Mode = 0;
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

  // One frame of the mouse with the pointer in the middle of a cell.
  static void MouseFrame(int cx, int cy, int hit, int down) {
    Mouse_X = cx * Block_Size + Half_Block;
    Mouse_Y = cy * Block_Size + Half_Block;
    Mouse_Hit = hit;
    Mouse_Down = down;
    MouseControl();
    Mouse_Hit = 0;
    Now += 16;
  }
};

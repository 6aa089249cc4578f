// The block model: what may become a block, the blink rule, removal while the list is walked,
// label room, styles of kinds, and boards as cell bytes.
#include "tests/board_fixture.h"

#include "fx/particles.h"

namespace {

TEST_F(BoardTest, OnlyCellsOfTheBoardAndKindsWithAStyleBecomeBlocks) {
  struct Case {
    int X, Y, Kind;
    bool Made;
  };
  const Case cases[] = {
      {0, 0, 0, true},   {9, 7, 5, true},   {3, 3, 6, true},    {4, 4, 6 + 37, true},
      {10, 0, 0, false}, {0, 8, 0, false},  {-1, 3, 1, false},  {5, 5, 6 + 38, false},
      {5, 5, -1, false}, {5, 5, 250, false}, {0, 0, 2, false},  // (0,0) is taken by then
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.X << "," << c.Y << " kind " << c.Kind);
    size_t before = Block_List.size();
    T_BLOCK* b = T_BLOCK::addBlock(c.X, c.Y, c.Kind);
    EXPECT_EQ(b != nullptr, c.Made);
    EXPECT_EQ(Block_List.size(), before + (c.Made ? 1 : 0));
    if (b) {
      EXPECT_EQ(Block_Grid[c.X][c.Y], b);
      EXPECT_EQ(Kind_Grid[c.X][c.Y], c.Kind);
      EXPECT_EQ(b->Menu, -1);
      EXPECT_EQ(b->X, c.X * Block_Size);
    }
  }
  EXPECT_EQ(Kind_Grid[0][0], 0);
}

TEST_F(BoardTest, AColourWithADamagedStyleChoiceStillPlays) {
  User_Style[2] = 99;
  T_BLOCK* b = T_BLOCK::addBlock(1, 1, 2);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Style(), -1);
  EXPECT_EQ(b->FXMode, 0);
}

TEST_F(BoardTest, StyleOfAKind) {
  User_Style[1] = 20;
  EXPECT_EQ(KindStyle(1), 20);
  EXPECT_EQ(KindStyle(7), 1);   // a style block ignores the player's choice
  EXPECT_EQ(KindStyle(0), 0);
}

TEST_F(BoardTest, ADyingBlockBlinksBy64Ms) {
  T_BLOCK* b = T_BLOCK::addBlock(2, 2, 0);
  struct Case {
    int64_t Left;
    bool Visible;
  };
  for (const Case& c : {Case{0, false}, Case{40, false}, Case{100, true}, Case{64, true},
                        Case{127, true}, Case{128, false}, Case{300, false}}) {
    b->Timer = Now + c.Left;
    EXPECT_EQ(b->Visible(), c.Visible) << c.Left << " ms left";
  }
  b->Timer = 0;
  EXPECT_TRUE(b->Visible());
}

TEST_F(BoardTest, ExpiredBlocksLeaveAndTheWalkGoesOnPastThem) {
  Lay({"0123......", "..........", "..........", "..........", "..........", "..........",
       "..........", ".........4"});
  // First, a middle one and the last one of the list expire together.
  Block_Grid[1][0]->Timer = Now;
  Block_Grid[3][0]->Timer = Now - 5;
  Block_Grid[9][7]->Timer = Now;
  Block_Grid[2][0]->Timer = Now + 1;   // not yet
  RemoveExpiredBlocks(Now);
  EXPECT_EQ(Picture()[0], "0.*.......");
  EXPECT_EQ(Picture()[7], "..........");
  EXPECT_EQ(Kind_Grid[1][0], -1);
  EXPECT_EQ(Block_Grid[3][0], nullptr);
  EXPECT_EQ(Block_List.size(), 2u);
}

TEST_F(BoardTest, RemovingABlockLeavesNoReferenceToIt) {
  Lay({"00........", "..........", "..........", "..........", "..........", "..........",
       "..........", ".........0"});
  ASSERT_TRUE(GrabGroupAt(1, 0));
  RemoveBlock(Block_Grid[1][0]);
  EXPECT_EQ(Grabbed_Block, nullptr);
  EXPECT_EQ(Block_Grid[1][0], nullptr);
  EXPECT_EQ(Kind_Grid[1][0], -1);
  EXPECT_EQ(Block_List.size(), 2u);
}

TEST_F(BoardTest, DeleteSelectedBlocksTakesTheWholeHeldGroup) {
  Lay({"00.1......", "0.........", "..........", "..........", "..........", "..........",
       "..........", ".........0"});
  ASSERT_TRUE(GrabGroupAt(0, 0));
  T_BLOCK::DeleteSelectedBlocks();
  RebuildGrids();
  EXPECT_EQ(Picture()[0], "...1......");
  EXPECT_EQ(Picture()[1], "..........");
  EXPECT_EQ(Block_List.size(), 2u);
  EXPECT_EQ(Grabbed_Block, nullptr);
}

TEST_F(BoardTest, ALabelHasTheRoomOfItsRunOfColour) {
  struct Case {
    const char* Row;
    int TextX;
    int Cells;
  };
  const Case cases[] = {
      {"..0000....", 2, 4},   // a whole bar
      {"..000000..", 2, 4},   // never more than a bar
      {"..0.00....", 2, 1},   // pulled apart: only its own cell
      {"..001.....", 2, 2},   // another colour ends the run
      {"........00", 8, 2},   // the board's edge ends it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Row);
    Lay({c.Row, "..........", "..........", "..........", "..........", "..........", "..........",
         ".........0"});
    EXPECT_EQ(Block_Grid[c.TextX][0]->LabelWidth(), c.Cells * Block_Size - 20);
  }
}

TEST_F(BoardTest, ANewCellSizeMovesBlocksButNotTheirCells) {
  Lay({"..........", "..........", "..........", "....0.....", "..........", "..........",
       "..........", ".........1"});
  Block_Size = 48;
  Half_Block = 24;
  T_BLOCK::PosAllBlocks();
  T_BLOCK* b = Block_Grid[4][3];
  EXPECT_EQ(b->X, 4 * 48);
  EXPECT_EQ(b->Y, 3 * 48);
  EXPECT_EQ(b->XMap, 4);
  EXPECT_EQ(Block_Grid[9][7]->X, 9 * 48);
}

TEST_F(BoardTest, CellBytesRoundTripAndFlashingBlocksCountAsEmpty) {
  uint8_t cells[Board_Cells] = {};
  for (int i = 0; i < Board_Cells; i++) cells[i] = static_cast<uint8_t>((i * 5 + i / 10) % 7);
  cells[79] = 6;
  SetBoardCells(cells);
  uint8_t back[Board_Cells];
  GetBoardCells(back);
  EXPECT_EQ(std::vector<uint8_t>(back, back + Board_Cells), std::vector<uint8_t>(cells, cells + Board_Cells));
  // Shapes come with the board.
  EXPECT_EQ(Block_Grid[9][7]->Frame[0], 20);
  Block_Grid[9][7]->Timer = Now + 300;
  GetBoardCells(back);
  EXPECT_EQ(back[79], 0);
}

TEST_F(BoardTest, CellBytesThatCannotBeBlocksStayEmpty) {
  uint8_t cells[Board_Cells] = {};
  cells[0] = 1;     // colour 0
  cells[1] = 7;     // style block of style 0
  cells[2] = 44;    // style block of style 37, the last
  cells[3] = 45;    // no such style
  cells[4] = 255;
  SetBoardCells(cells);
  EXPECT_EQ(Block_List.size(), 3u);
  EXPECT_EQ(Kind_Grid[1][0], 6);
  EXPECT_EQ(Kind_Grid[2][0], 43);
  EXPECT_EQ(Kind_Grid[3][0], -1);
  EXPECT_EQ(Kind_Grid[4][0], -1);
}

TEST_F(BoardTest, ClearBoardLeavesNothingOfTheOldBoard) {
  Lay({"0123450123", "..........", "..........", "..........", "..........", "..........",
       "..........", "5432105432"});
  Particle_List.push_back(std::make_unique<T_PARTICLE>());
  Particle_List.back()->Owner = Block_List.front().get();
  ClearBoard();
  EXPECT_TRUE(Block_List.empty());
  EXPECT_TRUE(Particle_List.empty());
  for (int x = 0; x < Board_Width; x++) {
    for (int y = 0; y < Board_Height; y++) {
      EXPECT_EQ(Kind_Grid[x][y], -1);
      EXPECT_EQ(Block_Grid[x][y], nullptr);
    }
  }
}

}  // namespace

// Block shapes: the shipped table against the quarter rule for every mask, the worked
// examples, and what does and does not reshape a block.
#include "tests/rules/rules_fixture.h"

#include <array>

namespace {

// The quarter rule as a player sees it, written out independently of the game's code: for each
// quarter, the bits of its vertical side (A), horizontal side (B) and diagonal (D) neighbours,
// and the frames for none, D, A, A+D, B, B+D, A+B, A+B+D.
struct Quarter {
  int A, B, D;
  std::array<int, 8> Frames;
};
const Quarter Rule[4] = {
    {1, 64, 128, {20, 20, 16, 14, 0, 9, 7, 24}},
    {1, 4, 2, {21, 21, 17, 15, 1, 6, 8, 25}},
    {16, 4, 8, {23, 23, 19, 5, 3, 10, 12, 27}},
    {16, 64, 32, {22, 22, 18, 4, 2, 13, 11, 26}},
};

int RuleFrame(int mask, int q) {
  const Quarter& r = Rule[q];
  int column = (mask & r.D ? 1 : 0) + (mask & r.A ? 2 : 0) + (mask & r.B ? 4 : 0);
  return r.Frames[column];
}

TEST(ShapeTable, TheShippedTableFollowsTheQuarterRuleForEveryMask) {
  std::string path = std::string(QUARK_SOURCE_DIR) + "/Data/TabFrame3.bin";
  ASSERT_EQ(FileSize(FromUtf8(path)), 1024) << path;
  for (auto& row : Shape_Table) row[0] = row[1] = row[2] = row[3] = 255;
  LoadShapeTable(FromUtf8(path));
  for (int m = 0; m < 256; m++) {
    for (int q = 0; q < 4; q++) {
      ASSERT_EQ(Shape_Table[m][q], RuleFrame(m, q)) << "mask " << m << " quarter " << q;
      ASSERT_EQ(ShapeFrame(m, q), RuleFrame(m, q)) << "mask " << m << " quarter " << q;
    }
  }
}

TEST(ShapeTable, AMissingFileIsReportedAndChangesNothing) {
  FillShapeTableFromRule();
  LoadShapeTable(u"/nowhere/TabFrame3.bin");
  EXPECT_EQ(Shape_Table[255][0], 24);
}

struct ShapeCase {
  const char* Name;
  std::vector<std::string> Board;
  int X, Y;
  int Mask;
  std::array<int, 4> Frames;
};

TEST_F(RulesTest, ShapesOfTheWorkedExamples) {
  const ShapeCase cases[] = {
      {"left of a pair", {"", "", "...00"}, 3, 2, 4, {20, 1, 3, 22}},
      {"right of a pair", {"", "", "...00"}, 4, 2, 64, {0, 21, 23, 2}},
      {"top left of a square", {"", "", "...00", "...00"}, 3, 2, 28, {20, 1, 27, 18}},
      {"alone", {"", "", "...0"}, 3, 2, 0, {20, 21, 23, 22}},
      {"surrounded", {"", "000", "000", "000"}, 1, 2, 255, {24, 25, 27, 26}},
      {"diagonal alone changes nothing", {"", "0", ".0"}, 1, 2, 128, {20, 21, 23, 22}},
      {"another colour between", {"", "", "010"}, 0, 2, 0, {20, 21, 23, 22}},
      {"right edge", {"........00", "........00"}, 9, 0, 16 + 32 + 64, {0, 21, 19, 26}},
      {"top row", {"00", "00"}, 0, 0, 4 + 8 + 16, {20, 1, 27, 18}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::string> rows = c.Board;
    rows.resize(Board_Height);
    for (auto& r : rows) r.resize(Board_Width, '.');
    Lay(rows);
    T_BLOCK* b = Block_Grid[c.X][c.Y];
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(NeighbourMask(c.X, c.Y, b->Kind), c.Mask);
    EXPECT_EQ((std::array<int, 4>{b->Frame[0], b->Frame[1], b->Frame[2], b->Frame[3]}), c.Frames);
  }
}

TEST_F(RulesTest, AMergeShowsAtOnceOnBothSides) {
  Lay({"..........", "..0.......", "...0......", "..........", "..........", "..........",
       "..........", "........0."});
  T_BLOCK* still = Block_Grid[2][1];
  T_BLOCK* mover = Block_Grid[3][2];
  EXPECT_EQ(still->Frame[1], 21);   // a diagonal alone joins nothing
  ASSERT_TRUE(GrabGroupAt(3, 2));
  ASSERT_EQ(TryMove(0, -1), 1);
  EXPECT_EQ((std::array<int, 4>{still->Frame[0], still->Frame[1], still->Frame[2], still->Frame[3]}),
            (std::array<int, 4>{20, 1, 3, 22}));
  EXPECT_EQ((std::array<int, 4>{mover->Frame[0], mover->Frame[1], mover->Frame[2], mover->Frame[3]}),
            (std::array<int, 4>{0, 21, 23, 2}));
  EXPECT_EQ(mover->Y, 1 * Block_Size);
}

}  // namespace

// Fragments: the throw along the move, the wait while the block flashes, the flight, and the
// margins beyond which a fragment is gone.
#include <algorithm>

#include "tests/board_fixture.h"

namespace {

class Fragments : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    SeedRandom(4660);
  }
  void TearDown() override {
    FX_List.clear();
    BoardTest::TearDown();
  }
  // A flying fragment at an exact position, at rest.
  static T_FX* Flying(float x, float y, float vx = 0, float vy = 0) {
    auto fx = std::make_unique<T_FX>();
    fx->fX = x;
    fx->fY = y;
    fx->vX = vx;
    fx->vY = vy;
    FX_List.push_back(std::move(fx));
    return FX_List.back().get();
  }
};

TEST_F(Fragments, TheMoveThrowsThemAlongItsDirection) {
  struct Case {
    int dx, dy;
    float vx_lo, vx_hi, vy_lo, vy_hi;
  } cases[] = {
      {1, 0, -2, 10, -3, 2},
      {-1, 0, -10, 2, -3, 2},
      {0, 1, -2, 2, -3, 10},
      {0, -1, -2, 2, -11, 2},
      {0, 0, -2, 2, -3, 2},
  };
  Lay({"0000000000", "0000000000", "0000000000", "0000000000", "1111111111"});
  T_BLOCK::SelectAllSameColor(0);
  for (const Case& c : cases) {
    FX_List.clear();
    for (int round = 0; round < 10; round++) T_FX::ExplodeSelectedBlocks(300, c.dx, c.dy);
    ASSERT_EQ(FX_List.size(), 400u) << "one fragment per held block, none for the others";
    float vx_min = 1e9f, vx_max = -1e9f, vy_min = 1e9f, vy_max = -1e9f;
    for (auto& fx : FX_List) {
      vx_min = std::min(vx_min, fx->vX);
      vx_max = std::max(vx_max, fx->vX);
      vy_min = std::min(vy_min, fx->vY);
      vy_max = std::max(vy_max, fx->vY);
      EXPECT_EQ(fx->Timer, Now + 300);
    }
    EXPECT_GE(vx_min, c.vx_lo);
    EXPECT_LT(vx_max, c.vx_hi);
    EXPECT_GE(vy_min, c.vy_lo);
    EXPECT_LT(vy_max, c.vy_hi);
    // The spread reaches well into its range: the throw is there, not just the jitter.
    EXPECT_LT(vx_min, c.vx_lo + 1);
    EXPECT_GT(vx_max, c.vx_hi - 1);
    EXPECT_LT(vy_min, c.vy_lo + 1);
    EXPECT_GT(vy_max, c.vy_hi - 1);
  }
}

TEST_F(Fragments, AFragmentShowsAfterTheFlashAndMovesOneUpdateLater) {
  Lay({"..........", "..........", "...0......"});
  T_BLOCK::SelectAllSameColor(0);
  T_FX::ExplodeSelectedBlocks(300, 1, 0);
  ASSERT_EQ(FX_List.size(), 1u);
  T_FX* fx = FX_List.front().get();
  EXPECT_EQ(fx->X, 3 * 74);
  EXPECT_EQ(fx->Y, 2 * 74);
  EXPECT_EQ(fx->BitmapPtr, Style_Images[User_Style[0]]);
  int64_t launch = Now + 300;
  Now = launch;
  T_FX::DoBlocksExplosion();
  EXPECT_EQ(fx->Timer, launch) << "not before its launch time has passed";
  Now = launch + 1;
  T_FX::DoBlocksExplosion();
  EXPECT_EQ(fx->Timer, 0);
  EXPECT_EQ(fx->X, 3 * 74);   // visible, still in its block's place
  EXPECT_EQ(fx->Y, 2 * 74);
  float vx = fx->vX, vy = fx->vY;
  T_FX::DoBlocksExplosion();
  EXPECT_EQ(fx->X, static_cast<int>(3 * 74 + vx));
  EXPECT_EQ(fx->Y, static_cast<int>(2 * 74 + vy));
  EXPECT_FLOAT_EQ(fx->vY, vy + 0.2f);
}

TEST_F(Fragments, AFragmentBeyondTheMarginIsGoneForGood) {
  // The margin is one cell around the 804 x 592 play area; positions truncate toward zero.
  struct Case {
    float x, y;
    bool kept;
  } cases[] = {
      {0, -74, true},     {0, -75, false},    {0, -74.9f, true},   // -74.9 draws at -74
      {0, 666, true},     {0, 667, false},    {878, 0, true},
      {879, 0, false},    {-74.9f, 0, true},  {-75, 0, false},
  };
  for (const Case& c : cases) {
    FX_List.clear();
    Flying(c.x, c.y);   // at rest: gravity acts only after the move
    T_FX::DoBlocksExplosion();
    EXPECT_EQ(FX_List.size(), c.kept ? 1u : 0u) << c.x << ", " << c.y;
  }
  // Thrown up out of the top rows it is dropped, although gravity would have brought it back.
  FX_List.clear();
  T_FX* fx = Flying(300, 10, 0, -12);
  int last_y = 10;
  while (!FX_List.empty()) {
    last_y = fx->Y;
    T_FX::DoBlocksExplosion();
  }
  EXPECT_GE(last_y, -74);
  EXPECT_LT(last_y, -74 + 12);   // removed in the first update that took it past the margin
}

TEST_F(Fragments, AWaitingFragmentNeitherMovesNorLeaves) {
  T_FX* fx = Flying(-500, -500, 5, 5);
  fx->X = fx->Y = 0;
  fx->Timer = Now + 1000;
  for (int i = 0; i < 10; i++) T_FX::DoBlocksExplosion();
  ASSERT_EQ(FX_List.size(), 1u);
  EXPECT_FLOAT_EQ(fx->fX, -500);
  EXPECT_FLOAT_EQ(fx->vY, 5);
}

}  // namespace

// The board drawn on the software renderer and read back: each quarter shows the frame its
// shape asks for, shadows fall 8 pixels off, flashing and expired blocks, and labels that
// keep to their bar. Tile strips are made in the test, one flat colour per frame, so a pixel
// tells which frame was drawn there.
#include "tests/board_fixture.h"
#include "tests/flat_images.h"

#include "platform/headless.h"

namespace {

constexpr int Cell = 48;
constexpr int W = 10 * Cell, H = 8 * Cell;

int TileColour(int style, int frame) {
  int a = 40 + frame * 7, b = 220 - frame * 5;
  return style == 0 ? (a << 16) | (b << 8) | 90 : (90 << 16) | (a << 8) | b;
}
constexpr int Shadow_Colour = 0x3050C8;

class BoardDrawing : public BoardTest {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
  }

  void SetUp() override {
    BoardTest::SetUp();
    OpenDisplay(W, H, 0, 60);
    ASSERT_NE(ReadPixel(0, 0), -1) << "no display";
    Block_Size = Cell;
    Half_Block = Cell / 2;
    SetOrigin(0, 0);
    SetViewport(0, 0, W, H);
    SetScale(1, 1);
    SetAlpha(1);
    Style_Images[0] = MakeFlatStrip(48, 48, 28, [](int f) { return TileColour(0, f); });
    Style_Images[1] = MakeFlatStrip(48, 48, 28, [](int f) { return TileColour(1, f); });
    Img_Shadows = MakeFlatStrip(48, 48, 28, [](int) { return Shadow_Colour; });
    Style_Light_Text[1] = 1;
    Font_Main = LoadFont(u"incbin::Data/a2.ttf", 20);
    ASSERT_NE(Font_Main, nullptr);
    Blank();
  }
  void TearDown() override {
    for (Image*& img : {std::ref(Style_Images[0]), std::ref(Style_Images[1]), std::ref(Img_Shadows)}) {
      FreeImage(img);
      img = nullptr;
    }
    Style_Light_Text[1] = 0;
    FreeFont(Font_Main);
    Font_Main = nullptr;
    BoardTest::TearDown();
  }

  static void Blank() {
    SetBlend(BLEND_SOLID);
    SetColour(0, 0, 0);
    DrawRect(0, 0, W, H);
  }
  // The middle of quarter q of cell (x, y).
  static int QuarterPixel(int x, int y, int q) {
    int px = x * Cell + (q == 1 || q == 2 ? Half_Block : 0) + Half_Block / 2;
    int py = y * Cell + (q >= 2 ? Half_Block : 0) + Half_Block / 2;
    return ReadPixel(px, py);
  }
};

TEST_F(BoardDrawing, EachQuarterShowsTheFrameOfItsShape) {
  Lay({"..........", "..........", "...00.....", "...00.....", "..........", "......1...",
       "..........", ".........1"});
  T_BLOCK::DrawAll();
  struct Case {
    int X, Y, Style;
    int Frames[4];
  };
  const Case cases[] = {
      {3, 2, 0, {20, 1, 27, 18}},   // top left of a square
      {4, 2, 0, {0, 21, 19, 26}},
      {3, 3, 0, {16, 25, 3, 22}},
      {4, 3, 0, {24, 17, 23, 2}},
      {6, 5, 1, {20, 21, 23, 22}},  // alone
  };
  for (const auto& c : cases) {
    for (int q = 0; q < 4; q++) {
      SCOPED_TRACE(testing::Message() << "cell " << c.X << "," << c.Y << " quarter " << q);
      EXPECT_COLOUR_NEAR(QuarterPixel(c.X, c.Y, q), TileColour(c.Style, c.Frames[q]), 2);
    }
  }
  // Empty cells stay empty.
  EXPECT_COLOUR_NEAR(QuarterPixel(0, 0, 0), 0, 2);
  EXPECT_COLOUR_NEAR(QuarterPixel(5, 2, 0), 0, 2);
}

TEST_F(BoardDrawing, ShadowsFallEightPixelsRightAndDownUnderTheBlocks) {
  Lay({"..........", "..........", "..........", "..........", "..........", "......1...",
       "..........", ".........1"});
  T_BLOCK::DrawAll();
  int x = 6 * Cell, y = 5 * Cell;
  EXPECT_COLOUR_NEAR(ReadPixel(x + Cell + 4, y + Cell + 4), Shadow_Colour, 2);   // below right
  EXPECT_COLOUR_NEAR(ReadPixel(x + Cell + 4, y + 4), 0, 2);                       // above the shadow
  EXPECT_COLOUR_NEAR(ReadPixel(x + Cell - 2, y + Cell - 2), TileColour(1, 23), 2);   // block over it
  Blank();
  Detail_Shadows = 0;
  T_BLOCK::DrawAll();
  EXPECT_COLOUR_NEAR(ReadPixel(x + Cell + 4, y + Cell + 4), 0, 2);
}

TEST_F(BoardDrawing, FlashingBlocksBlinkAndExpiredOnesGoWhileTheRestIsDrawn) {
  Lay({"0.0.0.0...", "..........", "..........", "..........", "..........", "..........",
       "..........", ".........1"});
  Block_Grid[0][0]->Timer = Now + 100;   // shown
  Block_Grid[2][0]->Timer = Now + 40;    // hidden
  Block_Grid[4][0]->Timer = Now;         // hidden, and gone after this pass
  T_BLOCK::DrawAll();
  EXPECT_COLOUR_NEAR(QuarterPixel(0, 0, 0), TileColour(0, 20), 2);
  EXPECT_COLOUR_NEAR(QuarterPixel(2, 0, 0), 0, 2);
  EXPECT_COLOUR_NEAR(QuarterPixel(4, 0, 0), 0, 2);
  EXPECT_COLOUR_NEAR(QuarterPixel(6, 0, 0), TileColour(0, 20), 2);   // after the removed one in the list
  EXPECT_COLOUR_NEAR(QuarterPixel(9, 7, 0), TileColour(1, 20), 2);
  EXPECT_EQ(Block_Grid[4][0], nullptr);
  EXPECT_EQ(Kind_Grid[4][0], -1);
  EXPECT_EQ(Block_List.size(), 4u);
}

// Pixels of row 0 lit by a label's white text (tiles, shadows and the empty board are darker).
int TextPixels(int from_x, int to_x) {
  int n = 0;
  for (int x = from_x; x < to_x; x++) {
    for (int y = 0; y < Cell; y++) n += ((ReadPixel(x, y) >> 16) & 255) > 150;
  }
  return n;
}

TEST_F(BoardDrawing, ALabelKeepsToWhatIsLeftOfItsBar) {
  ClearBoard();
  T_BLOCK::addBlock(0, 0, 1)->SetMenu(u"MMMMMMMMMMMMMMMMMMMM", 5);
  for (int x = 1; x < 4; x++) T_BLOCK::addBlock(x, 0, 1)->SetMenu(u"!", 5);
  T_BLOCK::ShapeAllBlocks();
  T_BLOCK::DrawAll();
  EXPECT_GT(TextPixels(10, 4 * Cell - 10), 50);
  EXPECT_EQ(TextPixels(4 * Cell - 8, W), 0);
  // Pull the bar apart: the label squeezes into its own cell.
  Blank();
  ClearBoard();
  T_BLOCK::addBlock(0, 0, 1)->SetMenu(u"MMMMMMMMMMMMMMMMMMMM", 5);
  for (int x = 2; x < 5; x++) T_BLOCK::addBlock(x, 0, 1)->SetMenu(u"!", 5);
  T_BLOCK::ShapeAllBlocks();
  T_BLOCK::DrawAll();
  EXPECT_GT(TextPixels(10, Cell - 10), 10);
  EXPECT_EQ(TextPixels(Cell - 8, W), 0);
}

}  // namespace

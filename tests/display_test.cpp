// The play-area sizes: the size table steps, fitting the first window to the desktop, the
// best-fit cell, border fix and the "+" and "-" keys.
#include <gtest/gtest.h>

#include "app/assets.h"
#include "app/display.h"
#include "app/state.h"
#include "driver_session.h"
#include "platform/headless.h"

namespace {

void Want(int w, int h, int cell) {
  Wanted_Resolution_X = w;
  Wanted_Resolution_Y = h;
  Wanted_Block_Size = cell;
}

TEST(Display, StepDisplaySizeWalksTheTableByHeight) {
  struct Case {
    int height, direction, changed, new_width, new_height, new_cell;
  } cases[] = {
      {592, 1, 1, 1024, 768, 96},    {592, -1, 1, 640, 448, 56},  {1200, 1, 0, 1564, 1200, 150},
      {448, -1, 0, 640, 448, 56},    {768, 1, 1, 1344, 1024, 128}, {1024, -1, 1, 1024, 768, 96},
      {600, 1, 0, 804, 600, 74},     {600, -1, 0, 804, 600, 74},
  };
  for (const Case& c : cases) {
    int width = c.height == 600 ? 804 : 0;
    for (const DisplaySize& row : Display_Sizes)
      if (row.Height == c.height) width = row.Width;
    Want(width, c.height, c.height == 600 ? 74 : 0);
    for (const DisplaySize& row : Display_Sizes)
      if (row.Height == c.height) Wanted_Block_Size = row.Cell;
    EXPECT_EQ(StepDisplaySize(c.direction), c.changed) << c.height << " " << c.direction;
    EXPECT_EQ(Wanted_Resolution_X, c.new_width);
    EXPECT_EQ(Wanted_Resolution_Y, c.new_height);
    EXPECT_EQ(Wanted_Block_Size, c.new_cell);
  }
}

TEST(Display, FitDisplayToDesktopTakesTheFirstRowStrictlySmaller) {
  struct Case {
    int desktop_w, desktop_h, width, height, cell;
  } cases[] = {
      {1024, 768, 804, 592, 74},   // fits: unchanged
      {800, 600, 640, 448, 56},    // first row strictly smaller in both directions
      {640, 448, 640, 448, 56},    // nothing fits strictly: the smallest row anyway
      {320, 200, 640, 448, 56},
      {804, 592, 804, 592, 74},    // exactly the wanted size fits
  };
  for (const Case& c : cases) {
    Want(804, 592, 74);
    Desktop_Width = c.desktop_w;
    Desktop_Height = c.desktop_h;
    FitDisplayToDesktop();
    EXPECT_EQ(Wanted_Resolution_X, c.width) << c.desktop_w << "x" << c.desktop_h;
    EXPECT_EQ(Wanted_Resolution_Y, c.height);
    EXPECT_EQ(Wanted_Block_Size, c.cell);
  }
}

TEST(Display, DetailLevelsFollowTheQuality) {
  struct Case {
    int quality, flags;
  } cases[] = {{0, 1}, {1, 0}, {2, 1}};
  for (const Case& c : cases) {
    SetDetailLevel(c.quality);
    EXPECT_EQ(Display_Quality, c.quality);
    EXPECT_EQ(Detail_Shadows, c.flags);
    EXPECT_EQ(Detail_Particles, c.flags);
    EXPECT_EQ(Detail_Previews, c.flags);
  }
  SetDetailLevel(1);
  SetDetailLevel(7);   // only the quality changes
  EXPECT_EQ(Display_Quality, 7);
  EXPECT_EQ(Detail_Shadows, 0);
}

TEST(Display, MouseOnBoardExcludesTheSideBar) {
  Block_Size = 74;
  struct Case {
    int x, y, on;
  } cases[] = {{0, 0, 1}, {739, 591, 1}, {740, 10, 0}, {10, 592, 0}, {-1, 10, 0}, {10, -1, 0}};
  for (const Case& c : cases) {
    Mouse_X = c.x;
    Mouse_Y = c.y;
    EXPECT_EQ(MouseOnBoard(), c.on) << c.x << "," << c.y;
  }
}

TEST(Display, BestFitAndCentredModesPlaceThePlayAreaOnTheDesktop) {
  struct Case {
    int desktop_w, desktop_h, mode, cell, res_x, res_y, origin_x, origin_y;
  } cases[] = {
      {1920, 1080, 2, 134, 1404, 1072, 258, 4},
      {1366, 768, 2, 96, 1024, 768, 171, 0},
      {1680, 1050, 2, 130, 1364, 1040, 158, 5},   // 1050 / 8 = 131 is odd: 130
      {1024, 768, 1, 74, 804, 592, 110, 88},
      {640, 480, 1, 96, 1024, 768, -192, -144},   // bigger than the desktop: cut off
      {1920, 1080, 0, 74, 804, 592, 0, 0},
      {200, 12, 2, 74, 804, 592, -302, -290},     // no usable cell: the configured size
  };
  EnterHeadlessMode();
  RegisterEmbeddedData();
  Font_Url = u"incbin::Data/a2.ttf";
  for (const Case& c : cases) {
    Desktop_Width = c.desktop_w;
    Desktop_Height = c.desktop_h;
    Screen_Mode = c.mode;
    if (c.desktop_w == 640) Want(1024, 768, 96); else Want(804, 592, 74);
    ApplyDisplayMode();
    EXPECT_EQ(Block_Size, c.cell) << c.desktop_w << "x" << c.desktop_h << " mode " << c.mode;
    EXPECT_EQ(Resolution_X, c.res_x);
    EXPECT_EQ(Resolution_Y, c.res_y);
    EXPECT_EQ(Origin_X, c.origin_x);
    EXPECT_EQ(Origin_Y, c.origin_y);
    EXPECT_EQ(Half_Block, c.cell / 2);
    // Best fit leaves the configured size alone.
    EXPECT_EQ(Wanted_Block_Size, c.desktop_w == 640 ? 96 : 74);
  }
  Screen_Mode = 0;
}

TEST(Display, FontsFollowThePlayAreaWidth) {
  EnterHeadlessMode();
  RegisterEmbeddedData();
  Font_Url = u"incbin::Data/a2.ttf";
  Screen_Mode = 0;
  struct Case {
    int row, small, line;
  } cases[] = {{0, 68, 80}, {1, 59, 69}, {2, 45, 52}, {3, 35, 40}, {4, 28, 32}};
  for (const Case& c : cases) {
    const DisplaySize& size = Display_Sizes[c.row];
    Want(size.Width, size.Height, size.Cell);
    ApplyDisplayMode();
    EXPECT_EQ(Font_Size_Small, c.small);
    EXPECT_EQ(Font_Line_Height, c.line);
    EXPECT_NE(Font_Main, nullptr);
    EXPECT_EQ(ImageWidth(Img_Board_Capture), 10 * size.Cell);
    EXPECT_EQ(ImageHeight(Img_Board_Capture), 8 * size.Cell);
  }
}

TEST(Display, ImpossibleSizesFromAHandEditedProfileStillOpenAWindow) {
  DriverSession s;
  s.WriteUserFile("qUaRk_User_Profile.txt",
                  "\"Language\" = \"/nowhere/qUaRk_text_XX.txt\"\r\n"
                  "\"Resolution X\" = 0\r\n\"Resolution Y\" = 99999999\r\n\"Block Size\" = 0\r\n");
  ASSERT_EQ(s.Run("wait 2\nstate {dir}/s\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("s", "Block_Size"), 74);
  EXPECT_EQ(s.StateInt("s", "Resolution_X"), 804);
}

TEST(Display, PlusAndMinusKeysResizeWithinTheTable) {
  DriverSession s;
  ASSERT_EQ(s.Run("desktop 1920 1080\nwait 1\nstate {dir}/a\ntext +\nwait 1\nstate {dir}/b\n"
                  "text +\nwait 1\ntext +\nwait 1\ntext +\nwait 1\nstate {dir}/c\n"
                  "text -\nwait 1\ntext -\nwait 1\ntext -\nwait 1\ntext -\nwait 1\ntext -\nwait 1\nstate {dir}/d\n"),
            0)
      << s.Stderr();
  EXPECT_EQ(s.StateInt("a", "Resolution_X"), 804);
  EXPECT_EQ(s.StateInt("b", "Resolution_X"), 1024);
  EXPECT_EQ(s.StateInt("b", "Block_Size"), 96);
  EXPECT_EQ(s.StateInt("c", "Resolution_Y"), 1200);   // stops at the largest
  EXPECT_EQ(s.StateInt("d", "Resolution_X"), 640);    // and at the smallest
  EXPECT_EQ(s.StateInt("d", "Block_Size"), 56);
}

TEST(Display, FirstStartFitsTheWindowToASmallDesktop) {
  DriverSession s;
  ASSERT_EQ(s.Run("desktop 800 600\nwait 1\nstate {dir}/s\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("s", "Resolution_X"), 640);
  EXPECT_EQ(s.StateInt("s", "Block_Size"), 56);
}

TEST(Display, BorderFixKeyToggles) {
  DriverSession s;
  ASSERT_EQ(s.Run("wait 1\ntext x\nwait 1\nstate {dir}/a\ntext X\nwait 1\nstate {dir}/b\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("a", "Border_Fix"), 1);
  EXPECT_EQ(s.StateInt("b", "Border_Fix"), 0);
}

}  // namespace

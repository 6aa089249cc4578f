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

TEST(Display, TheRoomOfAModeIsTheUsableAreaLessTheFrameOrTheWholeDesktop) {
  struct Case {
    int mode, desktop_w, desktop_h, usable_w, usable_h, frame_w, frame_h, room_w, room_h;
  } cases[] = {
      {0, 1280, 1024, 1280, 996, 4, 30, 1276, 966},   // a panel and a title bar
      {0, 1280, 1024, 0, 0, 0, 0, 1280, 1024},        // usable area unknown: the whole desktop
      {0, 1280, 1024, 1920, 1200, 0, 0, 1280, 1024},  // never more than the desktop
      {1, 0, 0, 0, 0, 0, 0, 1 << 30, 1 << 30},        // a desktop of unknown size limits nothing
      {1, 1280, 1024, 1280, 996, 4, 30, 1280, 1024},  // full screen covers panels, has no frame
      {2, 1920, 1080, 1920, 1040, 0, 0, 1920, 1080},
  };
  for (const Case& c : cases) {
    DisplayRoom room = RoomForMode(c.mode, c.desktop_w, c.desktop_h, c.usable_w, c.usable_h, c.frame_w, c.frame_h);
    EXPECT_EQ(room.Width, c.room_w) << "mode " << c.mode << " usable " << c.usable_w;
    EXPECT_EQ(room.Height, c.room_h) << "mode " << c.mode << " usable " << c.usable_w;
  }
}

TEST(Display, TheLargestRowWithinARoomAndTheBestFitCell) {
  struct Case {
    int room_w, room_h, row;
  } cases[] = {
      {1564, 1200, 0}, {1920, 1199, 1}, {1276, 966, 2}, {1344, 1024, 1}, {1343, 1024, 2},
      {804, 592, 3},   {803, 2000, 4},  {640, 448, 4},  {320, 200, 4},   // nothing fits: the smallest
  };
  for (const Case& c : cases) EXPECT_EQ(LargestRowWithin({c.room_w, c.room_h}), c.row) << c.room_w << "x" << c.room_h;
  struct Cell {
    int w, h, cell;
  } cells[] = {{1920, 1080, 134}, {1280, 1024, 120}, {1366, 768, 96}, {1024, 600, 74}, {144, 1080, 8}, {143, 1080, 0},
               {1920, 70, 8}, {1920, 63, 0}};
  for (const Cell& c : cells) EXPECT_EQ(BestFitCell(c.w, c.h), c.cell) << c.w << "x" << c.h;
}

TEST(Display, PlusNeverGrowsTheWindowBeyondTheDesktop) {
  Desktop_Width = 1280;
  Desktop_Height = 1024;
  Usable_Width = 1280;
  Usable_Height = 990;
  struct Case {
    int mode, from_row, changed, row;
  } cases[] = {
      {0, 3, 1, 2},   // 804 x 592 to 1024 x 768
      {0, 2, 0, 2},   // 1344 x 1024 is wider than the desktop: nothing changes
      {1, 2, 0, 2},
      {2, 2, 0, 2},   // best fit steps the windowed size, which it returns to
  };
  for (const Case& c : cases) {
    Screen_Mode = c.mode;
    const DisplaySize& from = Display_Sizes[c.from_row];
    Want(from.Width, from.Height, from.Cell);
    EXPECT_EQ(StepDisplaySize(1), c.changed) << "mode " << c.mode << " row " << c.from_row;
    EXPECT_EQ(Wanted_Resolution_Y, Display_Sizes[c.row].Height) << "mode " << c.mode << " row " << c.from_row;
  }
  Desktop_Width = 1920;
  Desktop_Height = 1240;
  Usable_Width = Usable_Height = 0;
  Screen_Mode = 0;
  Want(1344, 1024, 128);
  EXPECT_EQ(StepDisplaySize(1), 1) << "1564 x 1200 and a title bar fit a 1920 x 1240 desktop";
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
      {1280, 1024, 2, 120, 1264, 960, 8, 32},    // 5:4: narrowed so the side bar stays on screen
      {1024, 768, 1, 74, 804, 592, 110, 88},
      {640, 480, 1, 56, 640, 448, 0, 16},         // wanted 1024 x 768: the largest row that fits
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
    // Best fit leaves the configured size alone; a centred size that cannot fit is saved smaller.
    if (c.mode == 2) {
      EXPECT_EQ(Wanted_Block_Size, 74);
    } else {
      EXPECT_EQ(Wanted_Block_Size, c.cell);
    }
    if (c.mode == 2 && Block_Size != Wanted_Block_Size) {
      EXPECT_GE(Origin_X, 0) << "the side bar is cut off";
      EXPECT_LE(Origin_X + Resolution_X, c.desktop_w) << "the side bar is cut off";
    }
  }
  Screen_Mode = 0;
}

TEST(Display, FontsFollowThePlayAreaWidth) {
  EnterHeadlessMode();
  RegisterEmbeddedData();
  Font_Url = u"incbin::Data/a2.ttf";
  Screen_Mode = 0;
  Desktop_Width = 2560;
  Desktop_Height = 1600;
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
  // Taller than the 1920 x 1080 desktop: the largest size that fits it.
  EXPECT_EQ(s.StateInt("s", "Block_Size"), 128);
  EXPECT_EQ(s.StateInt("s", "Resolution_X"), 1344);
}

TEST(Display, PlusAndMinusKeysResizeWithinTheTable) {
  DriverSession s;
  ASSERT_EQ(s.Run("desktop 2560 1440\nwait 1\nstate {dir}/a\ntext +\nwait 1\nstate {dir}/b\n"
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

// The 1280 x 1024 desktop of a player who found the window off screen: "+" stops at the largest
// size that fits, a saved size too large for it opens at that size and is saved so, and best fit
// keeps the side bar on screen.
TEST(Display, OnA1280By1024DesktopThePlayAreaStaysOnScreen) {
  DriverSession s;
  s.WriteEnglishProfile();
  ASSERT_EQ(s.Run("desktop 1280 1024\nwait 1\ntext +\nwait 1\nstate {dir}/a\ntext +\nwait 1\nstate {dir}/b\n"
                  "text -\nwait 1\nstate {dir}/c\n"),
            0)
      << s.Stderr();
  EXPECT_EQ(s.StateInt("a", "Resolution_X"), 1024);
  EXPECT_EQ(s.StateInt("b", "Resolution_X"), 1024) << "1344 x 1024 is wider than the desktop";
  EXPECT_EQ(s.StateInt("c", "Resolution_X"), 804);

  DriverSession saved;
  saved.WriteEnglishProfile("\"Resolution X\" = 1564\r\n\"Resolution Y\" = 1200\r\n\"Block Size\" = 150\r\n");
  ASSERT_EQ(saved.Run("desktop 1280 1024\nwait 1\nstate {dir}/s\nclose\nwait 1\n"), 0) << saved.Stderr();
  EXPECT_EQ(saved.StateInt("s", "Resolution_X"), 1024);
  EXPECT_EQ(saved.StateInt("s", "Block_Size"), 96);
  std::string profile = DriverSession::ReadFile(saved.UserFile("qUaRk_User_Profile.txt"));
  EXPECT_NE(profile.find("\"Resolution Y\" = 768"), std::string::npos) << profile;

  DriverSession fit;
  fit.WriteEnglishProfile("\"Screen Mode\" = 2\r\n");
  ASSERT_EQ(fit.Run("desktop 1280 1024\nwait 1\nstate {dir}/s\n"), 0) << fit.Stderr();
  int left = fit.StateInt("s", "Origin_X"), width = fit.StateInt("s", "Resolution_X");
  EXPECT_GE(left, 0);
  EXPECT_LE(left + width, 1280) << "the side bar ends beyond the screen's right edge";
  EXPECT_EQ(fit.StateInt("s", "Block_Size"), 120);
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

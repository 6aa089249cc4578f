// Frames made from the changed areas only: at moments of a whole scripted session (the menu's
// sparkles and trembling label, the level map scrolling and at rest, drags, bursts, the victory
// screen) the frame on screen equals its draws drawn whole, with the frame kept in the window
// and kept in a texture; and a screen that stands still is neither redrawn nor presented.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "driver_session.h"
#include "level_solutions.h"
#include "platform/headless.h"
#include "platform/platform.h"

namespace {

constexpr int Cell = Default_Display_Size.Cell;   // the window a fresh profile opens

// After every run of frames, the frame on screen is compared with a whole redraw.
std::string ComparedAfterEveryWait(const std::string& script) {
  std::istringstream in(script);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    out += line + "\n";
    if (line.rfind("wait", 0) == 0) out += "compare\n";
  }
  return out;
}

std::string Session(const char* keep) {
  std::vector<SolutionStep> steps = ShippedSolution(0);
  return std::string("keep ") + keep + "\n" +
         ComparedAfterEveryWait(
             // The main menu, then a hovered caption that trembles.
             "wait 40\nmove 400 260\nwait 5\nwait 5\n"
             // A larger play area and back: the window, its kept frame and every copy anew.
             "text +\nwait 1\nwait 10\ntext -\nwait 1\nwait 10\n"
             // The level map sliding in, scrolled by the wheel and settling.
             "click 407 259\nwait 10\nwait 30\nwheel -3\nwait 2\nwait 4\nwait 60\n"
             // Level 1 played by drags, its colours bursting, to the victory screen.
             "level 1\nwait 2\n" +
             MouseSolutionScript(steps, Cell, "wait 3\nwait 8\nwait 10\n") +
             "wait 30\nwait 400\nwait 30\n");
}

TEST(FrameComposition, TheFrameOnScreenEqualsAWholeRedrawThroughoutASession) {
  if (ShippedSolution(0).empty()) GTEST_SKIP() << "no shipped solution for level 1";
  for (const char* keep : {"window", "texture"}) {
    SCOPED_TRACE(keep);
    DriverSession s;
    s.WriteEnglishProfile();
    ASSERT_EQ(s.Run(Session(keep) + "state {dir}/end\n"), 0) << s.Stderr();
    EXPECT_EQ(s.StateInt("end", "Current_Screen"), Screen_Victory) << "the session should end on the victory screen";
  }
}

// The busiest board there is: the fullest level, each colour in a style that glints, sparkles
// or drips, played to its end, so colours burst with fragments and sparkles flying over the
// whole board. Such frames change in a hundred places at once: their areas are merged, cut
// apart and drawn on base layers that take turns, and each still equals a whole redraw.
TEST(FrameComposition, TheBusiestBoardEqualsAWholeRedrawThroughEveryBurst) {
  constexpr int Fullest = 451;   // level 452, the one with the most blocks
  std::vector<SolutionStep> steps = ShippedSolution(Fullest);
  if (steps.empty()) GTEST_SKIP() << "no shipped solution for level 452";
  DriverSession s;
  s.WriteEnglishProfile("\"User Style\" = 0,3,4,1,5,6\r\n");
  std::string play = ComparedAfterEveryWait("level 452\nwait 2\n" +
                                            MouseSolutionScript(steps, Cell, "wait 3\nwait 8\nwait 10\n") +
                                            "wait 30\nwait 400\nwait 30\n");
  ASSERT_EQ(s.Run(play + "state {dir}/end\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("end", "Current_Screen"), Screen_Victory) << "the level should be won";
}

// On a display of two pixels per unit the game keeps its units and its pointer, and the frame
// has every pixel: the same session, played with the same clicks and drags, still equals a
// whole redraw at every moment (the base layer, the scaled copies and the map's zoom, whose
// picture is grabbed from the window, all at the window's pixels) and reaches the victory.
TEST(FrameComposition, AtTwoPixelsPerUnitTheSameSessionIsDrawnInTheWindowsPixels) {
  if (ShippedSolution(0).empty()) GTEST_SKIP() << "no shipped solution for level 1";
  DriverSession s;
  s.WriteEnglishProfile();
  const std::string zoom = ComparedAfterEveryWait("wait 2\nclick 407 259\nwait 150\nclick 120 100\n"
                                                  "wait 20\nwait 40\nwait 20\nstate {dir}/zoomed\n"
                                                  "key Escape\nwait 2\n");
  ASSERT_EQ(s.Run("density 2\n" + zoom + Session("window") + "state {dir}/end\nshot {dir}/end.png\n"), 0) << s.Stderr();
  EXPECT_EQ(s.StateInt("zoomed", "Current_Screen"), 0) << "the thumbnail clicked in units started its level";
  EXPECT_EQ(s.StateInt("end", "Current_Screen"), 43) << "the session should end on the victory screen";
  EXPECT_EQ(s.StateInt("end", "Resolution_X"), 804);
  std::string png = DriverSession::ReadFile(s.Root + "/end.png");
  ASSERT_GT(png.size(), 24u);
  auto be32 = [&](size_t at) {
    return static_cast<uint8_t>(png[at]) << 24 | static_cast<uint8_t>(png[at + 1]) << 16 |
           static_cast<uint8_t>(png[at + 2]) << 8 | static_cast<uint8_t>(png[at + 3]);
  };
  EXPECT_EQ(be32(16), 2 * 804);
  EXPECT_EQ(be32(20), 2 * 592);
}

TEST(FrameComposition, AScreenThatStandsStillIsNeitherRedrawnNorPresented) {
  DriverSession s;
  s.WriteEnglishProfile();
  // The level map once it has slid in, the pointer on the side bar away from the thumbnails
  // (a hovered thumbnail's label trembles); a wheel notch moves it, and it comes to rest again.
  ASSERT_EQ(s.Run("wait 5\nclick 407 259\nmove 790 585\nwait 300\nstate {dir}/rest\n"
                  "wheel 3\nwait 1\nstate {dir}/moved\nwait 300\nstate {dir}/again\n"),
            0)
      << s.Stderr();
  EXPECT_GT(s.StateInt("rest", "Frame_Draws"), 100);
  EXPECT_EQ(s.StateInt("rest", "Frame_Presented"), 0);
  EXPECT_EQ(s.StateInt("rest", "Frame_Redrawn_Pixels"), 0);
  EXPECT_EQ(s.StateInt("moved", "Frame_Presented"), 1);
  EXPECT_GT(s.StateInt("moved", "Frame_Redrawn_Pixels"), 0);
  EXPECT_EQ(s.StateInt("again", "Frame_Presented"), 0);
}

TEST(FrameComposition, AHiddenWindowIsNotDrawnAndIsShownAgainAtOnce) {
  EnterHeadlessMode();
  OpenDisplay(64, 48, 0, 60);
  auto frame = [](int r, int g, int b) {
    SetBlend(BLEND_SOLID);
    SetColour(r, g, b);
    DrawRect(0, 0, 64, 48);
    PresentFrame(1);
    return LastFrameComposition();
  };
  EXPECT_EQ(frame(200, 0, 0).Presented, 1);
  EXPECT_EQ(frame(200, 0, 0).Presented, 0) << "nothing changed";
  SetWindowShown(0);
  FrameComposition hidden = frame(0, 200, 0);
  EXPECT_EQ(hidden.Presented, 0);
  EXPECT_EQ(hidden.Replayed, 0) << "a hidden window is not drawn";
  EXPECT_EQ(ReadPixel(10, 10), 0xC80000);
  SetWindowShown(1);
  EXPECT_EQ(frame(0, 200, 0).Presented, 1);
  EXPECT_EQ(ReadPixel(10, 10), 0x00C800);
  // Shown again with nothing new to draw: the frame it keeps still goes to the screen.
  SetWindowShown(0);
  frame(0, 200, 0);
  SetWindowShown(1);
  EXPECT_EQ(frame(0, 200, 0).Presented, 1);
}

}  // namespace

// Input through the event queue: scripted events must give exactly what real ones give.
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/platform.h"

namespace {

class PlatformInput : public testing::Test {
 protected:
  static void SetUpTestSuite() { EnterHeadlessMode(); }
  void SetUp() override {
    OpenDisplay(400, 300, 0, 60);
    PollSystemEvents();
    // Start from a quiet state: nothing held, nothing pending.
    InjectButton(1, 0);
    InjectButton(2, 0);
    for (int code : {KEY_LEFT, KEY_ENTER, KEY_ESCAPE, KEY_SPACE}) InjectKey(code, 0);
    PollSystemEvents();
    FlushMouse();
    FlushKeys();
    TouchPoints();
    CloseRequested();
  }
};

TEST_F(PlatformInput, PointerButtonsAndWheel) {
  InjectPointer(120, 80);
  InjectButton(1, 1);
  InjectButton(1, 0);
  InjectButton(1, 1);
  InjectButton(2, 1);
  InjectWheel(2);
  InjectWheel(-5);
  EXPECT_EQ(MouseHit(1), 0);   // nothing arrives before the events are taken
  PollSystemEvents();
  EXPECT_EQ(MouseX(), 120);
  EXPECT_EQ(MouseY(), 80);
  int z = MouseZ();
  EXPECT_EQ(MouseHit(1), 2);
  EXPECT_EQ(MouseHit(1), 0);   // reading resets
  EXPECT_EQ(MouseDown(1), 1);
  EXPECT_EQ(MouseHit(2), 1);
  EXPECT_EQ(MouseDown(2), 1);
  InjectButton(2, 0);
  InjectWheel(1);
  PollSystemEvents();
  EXPECT_EQ(MouseDown(2), 0);
  EXPECT_EQ(MouseZ(), z + 1);   // accumulated
  EXPECT_EQ(MouseHit(0), 0);
  EXPECT_EQ(MouseHit(99), 0);

  InjectButton(1, 1);
  PollSystemEvents();
  FlushMouse();
  EXPECT_EQ(MouseHit(1), 0);
  EXPECT_EQ(MouseDown(1), 1);   // flushing forgets presses, not what is held
}

TEST_F(PlatformInput, KeysCountPressesAndHeldState) {
  InjectKey(KEY_LEFT, 1);
  InjectKey(KEY_LEFT, 0);
  InjectKey(KEY_LEFT, 1);
  InjectKey(KEY_SPACE, 1);
  PollSystemEvents();
  EXPECT_EQ(KeyHit(KEY_LEFT), 2);
  EXPECT_EQ(KeyHit(KEY_LEFT), 0);
  EXPECT_EQ(KeyDown(KEY_LEFT), 1);
  EXPECT_EQ(KeyDown(KEY_SPACE), 1);
  EXPECT_EQ(KeyDown(KEY_UP), 0);
  InjectKey(KEY_LEFT, 0);
  PollSystemEvents();
  EXPECT_EQ(KeyDown(KEY_LEFT), 0);
  EXPECT_EQ(KeyHit(-1), 0);
  EXPECT_EQ(KeyHit(100000), 0);
  EXPECT_EQ(NextChar(), 0);   // a key types nothing by itself: text events do
}

TEST_F(PlatformInput, TypedCharactersQueueAsUtf16Units) {
  InjectText(u"h\u00E9\u65E5\xD83D\xDE00");
  InjectKey(KEY_BACKSPACE, 1);
  InjectKey(KEY_ESCAPE, 1);
  InjectKey(KEY_ENTER, 1);
  PollSystemEvents();
  std::vector<int> expected = {u'h', 0xE9, 0x65E5, 0xD83D, 0xDE00, 8, 27, 13};
  for (int c : expected) EXPECT_EQ(NextChar(), c);
  EXPECT_EQ(NextChar(), 0);
  EXPECT_EQ(KeyHit(KEY_ESCAPE), 1);

  // Long text arrives whole, split over several events without cutting a character.
  String text;
  for (int i = 0; i < 40; i++) text += u"a\u00E9\u65E5";
  InjectText(text);
  PollSystemEvents();
  String got;
  for (int c = NextChar(); c; c = NextChar()) got.push_back(char16_t(c));
  EXPECT_EQ(got, text);
}

TEST_F(PlatformInput, CharacterQueueHoldsAtMost256AndFlushEmptiesIt) {
  InjectText(String(300, u'x'));
  PollSystemEvents();
  int n = 0;
  while (NextChar()) n++;
  EXPECT_EQ(n, 256);
  InjectText(u"abc");
  InjectKey(KEY_ENTER, 1);
  PollSystemEvents();
  FlushKeys();
  EXPECT_EQ(NextChar(), 0);
  EXPECT_EQ(KeyHit(KEY_ENTER), 0);
}

TEST_F(PlatformInput, TouchPointsInWindowPixels) {
  InjectTouch(1, 100, 50);
  PollSystemEvents();
  EXPECT_EQ(TouchReady(), 1);
  std::vector<TouchPoint> points = TouchPoints();
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].Primary, 1);
  EXPECT_EQ(points[0].New_Contact, 1);
  EXPECT_EQ(int(points[0].X), 100);   // exact after truncation, as the game reads it
  EXPECT_EQ(int(points[0].Y), 50);

  InjectTouch(1, 333, 201);
  PollSystemEvents();
  points = TouchPoints();
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].New_Contact, 0);
  EXPECT_EQ(int(points[0].Start_X), 100);
  EXPECT_EQ(int(points[0].Start_Y), 50);
  EXPECT_EQ(int(points[0].X), 333);
  EXPECT_EQ(int(points[0].Y), 201);

  InjectTouch(0, 333, 201);
  PollSystemEvents();
  EXPECT_TRUE(TouchPoints().empty());
}

TEST_F(PlatformInput, AQuickTapBetweenTwoPollsIsStillSeenOnce) {
  InjectTouch(1, 10, 20);
  InjectTouch(0, 10, 20);
  PollSystemEvents();
  std::vector<TouchPoint> points = TouchPoints();
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].New_Contact, 1);
  EXPECT_EQ(points[0].Primary, 1);
  EXPECT_TRUE(TouchPoints().empty());
  EXPECT_EQ(MouseHit(1), 0);   // touches do not pose as mouse clicks
}

TEST_F(PlatformInput, CloseRequestIsReportedOnce) {
  EXPECT_EQ(CloseRequested(), 0);
  InjectCloseRequest();
  PollSystemEvents();
  EXPECT_EQ(CloseRequested(), 1);
  EXPECT_EQ(CloseRequested(), 0);
}

TEST_F(PlatformInput, MovePointerTakesEffectAtOnce) {
  MovePointer(7, 9);
  EXPECT_EQ(MouseX(), 7);
  EXPECT_EQ(MouseY(), 9);
  InjectButton(1, 1);   // scripted presses land where the pointer is
  PollSystemEvents();
  EXPECT_EQ(MouseX(), 7);
  EXPECT_EQ(MouseY(), 9);
}

// SDL's virtual controller: every button is the key or character the game knows, the stick
// presses an arrow past a threshold and lets go only well below it, and pulling the controller
// out lets go of what it held.
TEST_F(PlatformInput, AGameControllerActsAsKeysAndLetsGoWhenPulledOut) {
  EnableGamepads();
  ASSERT_EQ(ConnectVirtualPad(), 1);
  PollSystemEvents();
  ASSERT_EQ(GamepadCount(), 1);
  struct Case {
    const char* button;
    int key, chr;
  } cases[] = {
      {"dpup", KEY_UP, 0},       {"dpdown", KEY_DOWN, 0},    {"dpleft", KEY_LEFT, 0},
      {"dpright", KEY_RIGHT, 0}, {"a", KEY_SPACE, ' '},      {"b", KEY_BACKSPACE, KEY_BACKSPACE},
      {"x", 0, 'r'},             {"y", 0, '?'},              {"start", KEY_ESCAPE, KEY_ESCAPE},
      {"leftshoulder", KEY_PAD_LEFT_SHOULDER, 0},            {"rightshoulder", KEY_PAD_RIGHT_SHOULDER, 0},
  };
  for (const Case& c : cases) InjectKey(c.key, 0);   // keys other tests left down
  PollSystemEvents();
  FlushKeys();
  for (const Case& c : cases) {
    ASSERT_EQ(PressVirtualPadButton(c.button, 1), 1) << c.button;
    PollSystemEvents();
    if (c.key) {
      EXPECT_EQ(KeyHit(c.key), 1) << c.button;
      EXPECT_EQ(KeyDown(c.key), 1) << c.button;
    }
    EXPECT_EQ(NextChar(), c.chr) << c.button;
    PressVirtualPadButton(c.button, 0);
    PollSystemEvents();
    if (c.key) {
      EXPECT_EQ(KeyDown(c.key), 0) << c.button;
    }
  }
  EXPECT_EQ(PressVirtualPadButton("nosuchbutton", 1), 0);

  struct Tilt {
    int value, right_held, left_held;
  } tilts[] = {{10000, 0, 0}, {20000, 1, 0}, {9000, 1, 0}, {7000, 0, 0}, {-17000, 0, 1}, {0, 0, 0}};
  for (const Tilt& t : tilts) {
    ASSERT_EQ(MoveVirtualPadAxis("leftx", t.value), 1);
    PollSystemEvents();
    EXPECT_EQ(KeyDown(KEY_RIGHT), t.right_held) << t.value;
    EXPECT_EQ(KeyDown(KEY_LEFT), t.left_held) << t.value;
  }
  EXPECT_EQ(KeyHit(KEY_RIGHT), 1) << "one press for the whole tilt";

  PressVirtualPadButton("dpdown", 1);
  MoveVirtualPadAxis("lefty", -30000);
  PollSystemEvents();
  EXPECT_EQ(KeyDown(KEY_DOWN), 1);
  EXPECT_EQ(KeyDown(KEY_UP), 1);
  DisconnectVirtualPad();
  PollSystemEvents();
  EXPECT_EQ(GamepadCount(), 0);
  EXPECT_EQ(KeyDown(KEY_DOWN), 0);
  EXPECT_EQ(KeyDown(KEY_UP), 0);
  // Plugged in again while the game runs.
  ASSERT_EQ(ConnectVirtualPad(), 1);
  PollSystemEvents();
  EXPECT_EQ(GamepadCount(), 1);
  DisconnectVirtualPad();
  PollSystemEvents();
}

}  // namespace

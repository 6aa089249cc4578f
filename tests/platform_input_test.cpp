// Input through the event queue: scripted events must give exactly what real ones give.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/frame_pacing.h"
#include "platform/headless.h"
#include "platform/platform.h"

// The wait between frames, which takes the first event that comes (platform/internal.h).
bool WaitForInput(uint32_t ms);

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

TEST_F(PlatformInput, APressThatWakesTheWaitBetweenFramesIsTakenThere) {
  // The frame it wakes must see the press: left in the queue, it would wait for the poll of
  // the frame after.
  EXPECT_FALSE(WaitForInput(1));
  InjectPointer(40, 30);
  PollSystemEvents();
  InjectButton(1, 1);
  EXPECT_TRUE(WaitForInput(1000));
  EXPECT_EQ(MouseHit(1), 1);
  EXPECT_EQ(MouseDown(1), 1);
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

// The frame schedule on a made-up clock in microseconds: a frame takes 1 ms of work, input comes
// at the listed times, and a second of frames is run.
struct PacedRun {
  std::vector<uint64_t> Frame_Starts;
  size_t InTheSecond() const {
    return size_t(std::count_if(Frame_Starts.begin(), Frame_Starts.end(), [](uint64_t t) { return t < 2000000; }));
  }
};

PacedRun RunPacedSecond(const std::vector<uint64_t>& inputs, uint64_t stall_at = 0) {
  const uint64_t period = 16667, work = 1000;
  uint64_t now = 1000000, end = now + 1000000;
  uint64_t last_frame = 0;
  // The first input no frame has taken yet, if it has come by `when`.
  auto pending = [&](uint64_t when) -> const uint64_t* {
    auto first = std::upper_bound(inputs.begin(), inputs.end(), last_frame);
    return first != inputs.end() && *first <= when ? &*first : nullptr;
  };
  PacingClock clock;
  clock.Now = [&] { return now; };
  clock.Sleep_Until = [&](uint64_t when) { now = std::max(now, when); };
  clock.Wait_Input_Until = [&](uint64_t when) {
    if (const uint64_t* input = pending(when)) {
      now = std::max(now, *input);
      return true;
    }
    now = std::max(now, when);
    return false;
  };
  PacedRun run;
  uint64_t mark = 0;
  while (now < end) {
    mark = WaitForFrameTime(mark, period, clock);
    run.Frame_Starts.push_back(now);
    last_frame = now;
    now += work;
    if (stall_at && now >= stall_at) {
      now += 100000;   // the machine busy elsewhere
      stall_at = 0;
    }
  }
  return run;
}

TEST(FramePacing, OneFrameToAPeriodAndInputDrawnAtOnce) {
  // Untouched: a frame at the end of every period, 60 in the second.
  PacedRun still = RunPacedSecond({});
  EXPECT_NEAR(double(still.InTheSecond()), 60, 1);
  // The pointer moving every millisecond: still one frame to a period, so the animations that
  // count frames do not run faster while the player drags.
  std::vector<uint64_t> moves;
  for (uint64_t t = 1000000; t < 2000000; t += 1000) moves.push_back(t);
  PacedRun dragged = RunPacedSecond(moves);
  EXPECT_NEAR(double(dragged.InTheSecond()), 60, 1);
  for (size_t k = 2; k < dragged.Frame_Starts.size(); k++) {
    EXPECT_GE(dragged.Frame_Starts[k] - dragged.Frame_Starts[k - 2], 16667u) << "frame " << k;
  }
  // A press in the middle of a quiet period runs that period's frame at once.
  uint64_t press = 1500000 + 16667 / 2;
  PacedRun pressed = RunPacedSecond({press});
  EXPECT_EQ(std::count(pressed.Frame_Starts.begin(), pressed.Frame_Starts.end(), press), 1);
  EXPECT_NEAR(double(pressed.InTheSecond()), 60, 1);
  // A press just after a frame that ran early waits for the next period to open, not longer.
  PacedRun twice = RunPacedSecond({press, press + 1500});
  auto after = std::upper_bound(twice.Frame_Starts.begin(), twice.Frame_Starts.end(), press);
  ASSERT_NE(after, twice.Frame_Starts.end());
  EXPECT_GT(*after, press + 1500);
  EXPECT_LE(*after, press + 16667);
  // A loop held up for 100 ms goes on from there instead of running the frames it missed.
  PacedRun stalled = RunPacedSecond({}, 1300000);
  for (size_t k = 1; k < stalled.Frame_Starts.size(); k++) {
    EXPECT_GE(stalled.Frame_Starts[k] - stalled.Frame_Starts[k - 1], 16667u / 2) << "frame " << k;
  }
  EXPECT_LT(stalled.InTheSecond(), still.InTheSecond() - 4);
}

TEST(FramePacing, AVerticalBlankWaitThatIsNotDoneIsNoLongerBelieved) {
  const uint64_t period = 16667;
  VerticalBlankCheck real, claimed, uneven;
  for (int k = 0; k < 600; k++) {
    real.Presented(k % 7 ? period : 2 * period, period);   // now and then a frame took longer
    claimed.Presented(period / 2, period);                 // only the half-period floor
    uneven.Presented(k % 20 ? period / 2 : period, period); // a wait that happens now and then
  }
  EXPECT_TRUE(real.Believed());
  EXPECT_FALSE(claimed.Believed());
  EXPECT_TRUE(uneven.Believed());
  // A new renderer is given the benefit of the doubt again.
  claimed.Reset();
  EXPECT_TRUE(claimed.Believed());
}

}  // namespace

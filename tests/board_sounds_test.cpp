// The sounds of a step: merge, move and disappear, in that order, and a move sound that never
// doubles. Channel ids only ever grow, so the ids handed out between two probes count the
// sounds played in between; the audio ages by the virtual clock.
#include "tests/board_fixture.h"

#include "platform/headless.h"
#include "tests/test_wav.h"

namespace {

class BoardSounds : public BoardTest {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    static const std::string wav = MakeWav(500);
    RegisterResource(u"Test/board_step.wav", reinterpret_cast<const uint8_t*>(wav.data()), wav.size());
    Step_Sound = LoadSound(u"incbin::Test/board_step.wav");
  }
  void SetUp() override {
    BoardTest::SetUp();
    ASSERT_NE(Step_Sound, nullptr);
    SetVirtualMillisecs(50000);
    Last = Probe();
    if (!Last) GTEST_SKIP() << "no audio device, not even the dummy one";
    Sfx_Move = Sfx_Merge = Sfx_Disappear = Step_Sound;
    Sound_Flag = 1;
  }
  void TearDown() override {
    Sfx_Move = Sfx_Merge = Sfx_Disappear = nullptr;
    BoardTest::TearDown();
  }
  static Channel Probe() {
    Channel c = CueSound(Step_Sound);
    StopChannel(c);
    return c;
  }
  // Sounds started since the previous call.
  int Played() {
    Channel now = Probe();
    int n = now - Last - 1;
    Last = now;
    return n;
  }
  static Sound* Step_Sound;
  Channel Last = 0;
};
Sound* BoardSounds::Step_Sound = nullptr;

TEST_F(BoardSounds, EachStepSoundsAsItShould) {
  Lay({"0.0.......", "..........", "..........", "..........", "1.........", "..........",
       "..........", ".........1"});
  ASSERT_TRUE(GrabGroupAt(0, 4));
  EXPECT_EQ(TryMove(0, 0), 1);
  EXPECT_EQ(Played(), 0) << "staying put";
  EXPECT_EQ(TryMove(-1, 0), 0);
  EXPECT_EQ(Played(), 0) << "a refused step";
  EXPECT_EQ(TryMove(1, 0), 1);
  EXPECT_EQ(Played(), 1) << "a plain step";
  EXPECT_EQ(TryMove(1, 0), 1);
  EXPECT_EQ(Played(), 0) << "a step while the move sound still plays";
  SetVirtualMillisecs(50600);
  EXPECT_EQ(TryMove(0, 1), 1);
  EXPECT_EQ(Played(), 1) << "a step after it ended";
}

TEST_F(BoardSounds, CompletingByAMovePlaysMergeMoveDisappearInThatOrder) {
  Lay({"0.0.......", "..........", "..........", "..........", "..........", "..........",
       "..........", ".........1"});
  ASSERT_TRUE(GrabGroupAt(0, 0));
  Channel before = Last;
  ASSERT_EQ(TryMove(1, 0), 1);
  EXPECT_EQ(Played(), 3);
  EXPECT_EQ(Move_Channel, before + 2);   // the merge came first, the move second
  EXPECT_NE(Block_Grid[1][0]->Timer, 0);
}

}  // namespace

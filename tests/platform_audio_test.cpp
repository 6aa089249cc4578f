// Sound channels on the dummy audio device, judged by the virtual clock so results do not
// depend on how fast the machine mixes.
#include <gtest/gtest.h>

#include <string>

#include "platform/headless.h"
#include "platform/platform.h"
#include "tests/test_wav.h"

namespace {

class PlatformAudio : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    static const std::string half = MakeWav(500, 2000), quarter = MakeWav(250, 2000);
    RegisterResource(u"Test/half.wav", reinterpret_cast<const uint8_t*>(half.data()), half.size());
    RegisterResource(u"Test/quarter.wav", reinterpret_cast<const uint8_t*>(quarter.data()),
                     quarter.size());
    Effect = LoadSound(u"incbin::Test/half.wav");
    Looping = LoadSound(u"incbin::Test/quarter.wav", SOUND_LOOP);
    Once = LoadSound(u"incbin::Test/half.wav", SOUND_STREAM);
  }
  void SetUp() override {
    ASSERT_NE(Effect, nullptr);
    ASSERT_NE(Looping, nullptr);
    ASSERT_NE(Once, nullptr);
    // Audio that cannot open leaves every channel 0; that is not what these tests check.
    Channel probe = CueSound(Effect);
    if (!probe) GTEST_SKIP() << "no audio device, not even the dummy one";
    StopChannel(probe);
  }
  static Sound* Effect;
  static Sound* Looping;
  static Sound* Once;
};
Sound* PlatformAudio::Effect = nullptr;
Sound* PlatformAudio::Looping = nullptr;
Sound* PlatformAudio::Once = nullptr;

TEST_F(PlatformAudio, EffectPlaysForItsLengthFromWhenItWasResumed) {
  SetVirtualMillisecs(10000);
  Channel ch = CueSound(Effect);
  ASSERT_NE(ch, 0);
  EXPECT_EQ(ChannelPlaying(ch), 1);   // cued: waiting, paused
  SetVirtualMillisecs(20000);         // the wait does not count
  SetChannelVolume(ch, 0);
  ResumeChannel(ch);
  SetChannelVolume(ch, 0.5f);
  SetVirtualMillisecs(20499);
  EXPECT_EQ(ChannelPlaying(ch), 1);
  SetVirtualMillisecs(20500);
  EXPECT_EQ(ChannelPlaying(ch), 0);
  EXPECT_FLOAT_EQ(ChannelVolume(ch), 0.5f);
}

TEST_F(PlatformAudio, ChannelIdsAreNeverReused) {
  SetVirtualMillisecs(1000);
  Channel a = CueSound(Effect), b = CueSound(Effect);
  ASSERT_NE(a, 0);
  EXPECT_NE(a, b);
  ResumeChannel(a);
  ResumeChannel(b);
  StopChannel(a);
  EXPECT_EQ(ChannelPlaying(a), 0);
  EXPECT_EQ(ChannelPlaying(b), 1);
  Channel c = CueSound(Effect);
  EXPECT_NE(c, a);
  EXPECT_NE(c, b);
  // Stale and unknown ids are simply silent.
  StopChannel(a);
  ResumeChannel(a);
  SetChannelVolume(a, 1);
  EXPECT_EQ(ChannelPlaying(a), 0);
  EXPECT_EQ(ChannelPlaying(0), 0);
  EXPECT_EQ(ChannelPlaying(987654), 0);
  StopChannel(b);
  StopChannel(c);
}

TEST_F(PlatformAudio, VolumeStaysBetweenZeroAndOne) {
  Channel ch = CueSound(Effect);
  EXPECT_FLOAT_EQ(ChannelVolume(ch), 1);
  struct Case {
    float set, got;
  } cases[] = {{0.25f, 0.25f}, {1.5f, 1}, {-1, 0}, {0, 0}, {1, 1}};
  for (const Case& c : cases) {
    SetChannelVolume(ch, c.set);
    EXPECT_FLOAT_EQ(ChannelVolume(ch), c.got) << c.set;
  }
  StopChannel(ch);
}

TEST_F(PlatformAudio, ManyEffectsSoundAtOnce) {
  SetVirtualMillisecs(50000);
  std::vector<Channel> channels;
  for (int i = 0; i < 40; i++) {   // more than the mixer starts with
    channels.push_back(CueSound(Effect));
    ResumeChannel(channels.back());
  }
  for (Channel ch : channels) EXPECT_EQ(ChannelPlaying(ch), 1);
  SetVirtualMillisecs(50600);
  // Every one really started: a channel that never got a mixer channel would still be waiting.
  for (Channel ch : channels) EXPECT_EQ(ChannelPlaying(ch), 0);
  for (Channel ch : channels) StopChannel(ch);
}

TEST_F(PlatformAudio, OneStreamAtATime) {
  SetVirtualMillisecs(100000);
  Channel loop = CueSound(Looping);
  ASSERT_NE(loop, 0);
  SetChannelVolume(loop, 0);
  ResumeChannel(loop);
  SetVirtualMillisecs(200000);
  EXPECT_EQ(ChannelPlaying(loop), 1);   // loops until stopped

  Channel once = CueSound(Once);        // replaces the looping stream for good
  ASSERT_NE(once, 0);
  EXPECT_EQ(ChannelPlaying(loop), 0);
  ResumeChannel(loop);
  EXPECT_EQ(ChannelPlaying(loop), 0);
  ResumeChannel(once);
  SetVirtualMillisecs(200499);
  EXPECT_EQ(ChannelPlaying(once), 1);
  SetVirtualMillisecs(200500);
  EXPECT_EQ(ChannelPlaying(once), 0);   // a stream without the loop flag plays once

  Channel again = CueSound(Looping);
  ResumeChannel(again);
  StopChannel(again);
  EXPECT_EQ(ChannelPlaying(again), 0);
}

#ifdef QUARK_SOURCE_DIR
TEST_F(PlatformAudio, TheGamesOwnWavAndOggSoundsDecode) {
  String dir = FromLatin1(std::string(QUARK_SOURCE_DIR) + "/Data/");
  struct Case {
    const char16_t* name;
    int flags;
  } cases[] = {{u"Click.wav", 0}, {u"SFX_Undo.ogg", 0}, {u"Quark_Menu.ogg", SOUND_LOOP}};
  for (const Case& c : cases) {
    String path = dir + c.name;
    if (FileSize(path) <= 0) continue;   // the generated data is not there yet
    Sound* s = LoadSound(path, c.flags);
    ASSERT_NE(s, nullptr) << ToUtf8(path);
    SetVirtualMillisecs(300000);
    Channel ch = CueSound(s);
    EXPECT_NE(ch, 0) << ToUtf8(path);   // 0 would mean the data did not decode
    ResumeChannel(ch);
    EXPECT_EQ(ChannelPlaying(ch), 1);
    SetVirtualMillisecs(300000 + 3600 * 1000);
    EXPECT_EQ(ChannelPlaying(ch), c.flags == SOUND_LOOP ? 1 : 0) << ToUtf8(path);
    StopChannel(ch);
  }
}
#endif

TEST_F(PlatformAudio, MissingSoundsAreNullAndHarmless) {
  EXPECT_EQ(LoadSound(u"incbin::Test/none.wav"), nullptr);
  EXPECT_EQ(LoadSound(u"/no/such/sound.ogg", SOUND_LOOP), nullptr);
  PlaySound(nullptr);
  EXPECT_EQ(CueSound(nullptr), 0);
  PlaySound(Effect);   // a channel nobody keeps
}

}  // namespace

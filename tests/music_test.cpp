// Music and effects on the dummy audio device, judged by the virtual clock: the start-up
// channel, the 3-second fade-in, the music icon's double click, music off while a
// track is chosen, the victory track that plays once, replaced channels that really stop, and
// effects that play and are counted whether music is on or off; and one driver session for the
// "m" key, the icon and the victories in a running game.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/state.h"
#include "board/undo.h"
#include "platform/headless.h"
#include "tests/driver_session.h"
#include "tests/level_solutions.h"
#include "tests/test_wav.h"

namespace {

class MusicRules : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    static const std::string half = MakeWav(500), quarter = MakeWav(250);
    RegisterResource(u"Test/music_half.wav", reinterpret_cast<const uint8_t*>(half.data()), half.size());
    RegisterResource(u"Test/music_quarter.wav", reinterpret_cast<const uint8_t*>(quarter.data()), quarter.size());
    Victory_Track = LoadSound(u"incbin::Test/music_half.wav", SOUND_STREAM);
    for (Sound*& track : Tracks) track = LoadSound(u"incbin::Test/music_quarter.wav", SOUND_LOOP | SOUND_STREAM);
    for (Sound*& effect : Effects) effect = LoadSound(u"incbin::Test/music_quarter.wav");
  }

  void SetUp() override {
    ASSERT_NE(Victory_Track, nullptr);
    At(10000);
    Channel probe = CueSound(Effects[0]);
    if (!probe) GTEST_SKIP() << "no audio device, not even the dummy one";
    StopChannel(probe);
    for (int i = 0; i < 4; i++) Saved_Table[i] = Music_Table[i];
    Music_Table[0] = Victory_Track;
    for (int i = 1; i < 4; i++) Music_Table[i] = Tracks[i - 1];
    Saved_Effects = {Sfx_Click, Sfx_Mouse_Over, Sfx_Move, Sfx_Victory_Short};
    Sfx_Click = Effects[0];
    Sfx_Mouse_Over = Effects[1];
    Sfx_Move = Effects[2];
    Sfx_Victory_Short = Effects[3];
    ResetMusic();
  }

  void TearDown() override {
    if (Music_Channel) StopChannel(Music_Channel);
    for (int i = 0; i < 4; i++) Music_Table[i] = Saved_Table[i];
    Sfx_Click = Saved_Effects[0];
    Sfx_Mouse_Over = Saved_Effects[1];
    Sfx_Move = Saved_Effects[2];
    Sfx_Victory_Short = Saved_Effects[3];
    ResetMusic();
  }

  // The game's clock and the audio's clock move together.
  static void At(int64_t ms) {
    Now = ms;
    SetVirtualMillisecs(static_cast<uint32_t>(ms));
  }

  // The channel ids handed out since the previous call, less the probe itself: ids only grow,
  // so this counts the channels started in between.
  int ChannelsStarted() {
    Channel c = CueSound(Effects[0]);
    StopChannel(c);
    int n = Last_Probe == 0 ? 0 : c - Last_Probe - 1;
    Last_Probe = c;
    return n;
  }

  // The game's start-up: the menu track starts silently, then the profile's music flag.
  static void StartUp(int music_flag) {
    StartFirstMusicChannel();
    SetMusic(music_flag);
  }

  static Sound* Victory_Track;
  static Sound* Tracks[3];
  static Sound* Effects[4];
  Sound* Saved_Table[4] = {};
  std::vector<Sound*> Saved_Effects;
  Channel Last_Probe = 0;
};
Sound* MusicRules::Victory_Track = nullptr;
Sound* MusicRules::Tracks[3] = {};
Sound* MusicRules::Effects[4] = {};

TEST_F(MusicRules, StartUpWithMusicOnReplacesTheSilentChannelAndFadesIn) {
  StartFirstMusicChannel();
  Channel first = Music_Channel;
  ASSERT_NE(first, 0);
  EXPECT_EQ(ChannelVolume(first), 0.0f);
  EXPECT_EQ(ChannelPlaying(first), 1);

  SetMusic(1);
  EXPECT_NE(Music_Channel, first);
  EXPECT_EQ(ChannelPlaying(first), 0) << "the silent first channel was replaced and must stop";
  EXPECT_EQ(ChannelPlaying(Music_Channel), 1);
  EXPECT_EQ(ChannelVolume(Music_Channel), 0.0f);
  EXPECT_EQ(Music_Flag, 1);
  EXPECT_FLOAT_EQ(Music_Volume, 0.3f);
  EXPECT_EQ(Music_Fade_End, 13000);
  SetMusic(0);
}

TEST_F(MusicRules, StartUpWithMusicOffLeavesTheMenuTrackRunningSilently) {
  StartUp(0);
  EXPECT_EQ(ChannelPlaying(Music_Channel), 1) << "music off: the menu track runs on, silent";
  EXPECT_EQ(ChannelVolume(Music_Channel), 0.0f);
  EXPECT_EQ(Music_Flag, 0);
  EXPECT_EQ(Music_Volume, 0.0f);
}

TEST_F(MusicRules, TheFadeInRisesLinearlyOverThreeSecondsThenStops) {
  StartUp(1);
  struct Row {
    int64_t at;
    float volume;
    int64_t fade_end;
  } rows[] = {
      {10000, 0.0f, 13000}, {10750, 0.075f, 13000}, {11500, 0.15f, 13000},
      {12999, 0.2999f, 13000}, {13000, 0.3f, 0}, {20000, 0.3f, 0},
  };
  for (const Row& r : rows) {
    At(r.at);
    UpdateMusicFade();
    EXPECT_NEAR(ChannelVolume(Music_Channel), r.volume, 1e-6) << r.at;
    EXPECT_EQ(Music_Fade_End, r.fade_end) << r.at;
  }
}

TEST_F(MusicRules, TheMusicIconsDoubleClickCyclesTheTracks) {
  Block_Size = 74;
  InitIcons();
  const int row[8] = {9, 0, 11, 0, 0, 0, 0, 3};
  SetIconRow(row);
  struct Click {
    int64_t at;
    int flag, index;
  };
  struct Case {
    const char* what;
    std::vector<Click> clicks;
  } cases[] = {
      {"quick pairs: menu, in game, tutorial, menu",
       {{0, 0, Track_Menu}, {200, 1, Track_In_Game}, {1000, 0, Track_In_Game}, {1400, 1, Track_Tutorial},
        {2000, 0, Track_Tutorial}, {2499, 1, Track_Menu}}},
      {"a slow second click turns the same track on", {{0, 0, Track_Menu}, {600, 1, Track_Menu}}},
      {"half a second exactly is too slow", {{0, 0, Track_Menu}, {500, 1, Track_Menu}}},
      {"a third quick click switches off again",
       {{0, 0, Track_Menu}, {100, 1, Track_In_Game}, {200, 0, Track_In_Game}, {300, 1, Track_Tutorial}}},
  };
  for (const Case& c : cases) {
    StartUp(1);
    int clicks_before = Effects_Started[Effect_Click];
    for (const Click& k : c.clicks) {
      At(50000 + k.at);
      Mouse_X = 10 * Block_Size + 20;
      Mouse_Y = 7 * Block_Size + 20;
      Mouse_Hit = 1;
      UpdateSideBar();
      Mouse_Hit = 0;
      EXPECT_EQ(Music_Flag, k.flag) << c.what << " at " << k.at;
      EXPECT_EQ(Music_Index, k.index) << c.what << " at " << k.at;
      if (k.flag == 1) {
        EXPECT_EQ(Music_Fade_End, Now + 3000) << c.what << " at " << k.at;
        EXPECT_EQ(ChannelVolume(Music_Channel), 0.0f) << c.what;
      }
    }
    EXPECT_EQ(Effects_Started[Effect_Click], clicks_before) << "the music icon makes no click sound";
    SetMusic(0);
  }
}

TEST_F(MusicRules, MusicOffWhileALevelStartsChoosesTheTrackSilently) {
  StartUp(0);
  Channel silent = Music_Channel;
  ChannelsStarted();
  SelectMusic(Track_In_Game);   // what entering a level does
  EXPECT_EQ(Music_Index, Track_In_Game);
  EXPECT_EQ(ChannelsStarted(), 0) << "nothing is heard";
  EXPECT_EQ(Music_Channel, silent);
  EXPECT_EQ(ChannelVolume(Music_Channel), 0.0f);
  // Music on later plays the in-game track; the silent menu channel does not run on beneath it.
  SetMusic(1);
  EXPECT_EQ(Music_Index, Track_In_Game);
  EXPECT_EQ(ChannelsStarted(), 1);
  EXPECT_EQ(ChannelPlaying(silent), 0);
  // Choosing the track already playing changes nothing.
  Channel in_game = Music_Channel;
  SelectMusic(Track_In_Game);
  EXPECT_EQ(Music_Channel, in_game);
  EXPECT_EQ(ChannelsStarted(), 0);
}

TEST_F(MusicRules, TheVictoryTrackReplacesTheMusicFadesInAndPlaysOnce) {
  StartUp(1);
  Channel menu = Music_Channel;
  int victories = Effects_Started[Effect_Victory];
  At(30000);
  SelectMusic(Track_Victory);
  EXPECT_EQ(Effects_Started[Effect_Victory], victories + 1);
  EXPECT_EQ(ChannelPlaying(menu), 0);
  Channel victory = Music_Channel;
  EXPECT_EQ(Music_Fade_End, 33000);
  At(30499);
  EXPECT_EQ(ChannelPlaying(victory), 1);
  At(30500);
  EXPECT_EQ(ChannelPlaying(victory), 0) << "the victory track does not loop";
  // The next screen that chooses a track starts music again.
  At(40000);
  SelectMusic(Track_Menu);
  EXPECT_EQ(ChannelPlaying(Music_Channel), 1);
  EXPECT_EQ(Music_Fade_End, 43000);
  EXPECT_EQ(Effects_Started[Effect_Victory], victories + 1);

  // Music off: the index moves to the victory track but nothing starts and nothing is counted.
  SetMusic(0);
  ChannelsStarted();
  SelectMusic(Track_Victory);
  EXPECT_EQ(ChannelsStarted(), 0);
  EXPECT_EQ(Effects_Started[Effect_Victory], victories + 1);
}

TEST_F(MusicRules, EffectsPlayWithMusicOffAndAreCountedByName) {
  StartUp(0);
  int clicks = Effects_Started[Effect_Click];
  int hovers = Effects_Started[Effect_Mouse_Over];
  ChannelsStarted();
  PlayEffect(Sfx_Click);
  PlayEffect(Sfx_Click);
  PlayEffect(Sfx_Mouse_Over);
  EXPECT_EQ(ChannelsStarted(), 3);
  EXPECT_EQ(Effects_Started[Effect_Click], clicks + 2);
  EXPECT_EQ(Effects_Started[Effect_Mouse_Over], hovers + 1);
  EXPECT_STREQ(EffectNameText(Effect_Click), "Click");
  EXPECT_STREQ(EffectNameText(Effect_Victory_Short), "Victory_Short");

  // Without Sound_Flag nothing plays and nothing is counted.
  Sound_Flag = 0;
  PlayEffect(Sfx_Click);
  PlayMoveSound();
  EXPECT_EQ(ChannelsStarted(), 0);
  EXPECT_EQ(Effects_Started[Effect_Click], clicks + 2);
}

TEST_F(MusicRules, AMoveSoundIsCountedOnlyWhenOneStarts) {
  int moves = Effects_Started[Effect_Move];
  At(60000);
  PlayMoveSound();
  At(60100);
  PlayMoveSound();   // the first still plays (250 ms)
  At(60250);
  PlayMoveSound();
  EXPECT_EQ(Effects_Started[Effect_Move], moves + 2);
}

// The shipped solution of level 1 as mouse drags on the 804 x 592 board; empty without one.
std::string SolveLevelOne() {
  std::ifstream in(std::string(QUARK_SOURCE_DIR) + "/Data/full2.solutions.txt");
  std::string line;
  if (!std::getline(in, line)) return "";
  std::istringstream words(line);
  int index = -1, id = -1, moves = 0;
  std::string kind, token, script = "level 1\nwait 2\n";
  words >> index >> id >> moves >> kind;
  if (index != 0) return "";
  auto centre = [](int x, int y) { return std::to_string(x * 74 + 37) + " " + std::to_string(y * 74 + 37); };
  while (words >> token && token != "#") {
    if (token.size() != 3) return "";
    int x = token[0] - '0', y = token[1] - '0';
    char d = token[2];
    int dx = d == 'R' ? 1 : d == 'L' ? -1 : 0, dy = d == 'D' ? 1 : d == 'U' ? -1 : 0;
    script += "move " + centre(x, y) + "\npress 1\nwait 1\n";
    if (d != 'G') script += "move " + centre(x + dx, y + dy) + "\n";
    script += "wait 1\nrelease 1\nwait 20\n";
  }
  return script + "wait 400\n";
}

// Music through whole runs of quark-driver, starting with music off in the profile: a level
// chooses its track silently, "m" turns it on with a fade, "m" twice restarts it, the icon's
// double click moves on to the next track, Esc brings the menu track back; then level 1 won
// with music off (the short effect) and with music on (the victory track, played once).
TEST(MusicSession, KeysIconAndVictoriesThroughTheDriver) {
  std::string solve = SolveLevelOne();
  if (solve.empty()) GTEST_SKIP() << "no shipped solution for level 1";
  DriverSession s;
  ASSERT_EQ(s.Run("wait 1\n"), 0);   // exports the language files
  s.WriteEnglishProfile("\"Music Flag\" = 0\r\n");
  const std::string icon = "click " + IconCentre(7, Default_Display_Size.Cell) + "\n";   // the music icon
  std::string script = "wait 2\nstate {dir}/menu\nlevel 1\nwait 2\nstate {dir}/level\n"
                       "text m\nwait 1\nstate {dir}/on\nwait 200\nstate {dir}/faded\n"
                       "text mm\nwait 2\nstate {dir}/twice\n" +
                       icon + "wait 5\n" + icon + "wait 1\nstate {dir}/next\n" +
                       "key Escape\nwait 2\nstate {dir}/back\n" +
                       "text m\nwait 1\n" + solve + "state {dir}/won_quiet\n" +
                       "text m\nwait 1\n" + solve + "state {dir}/won\nsleep 7000\nwait 2\nstate {dir}/after\n";
  ASSERT_EQ(s.Run(script), 0) << s.Stderr();

  struct Row {
    const char* state;
    int screen, flag, index;
    const char* music_volume;
    bool fading;   // the channel is still below the volume the fade reaches
  } rows[] = {
      {"menu", Screen_MainMenu, 0, Track_Menu, "0", false},
      {"level", Screen_Game, 0, Track_In_Game, "0", false},
      {"on", Screen_Game, 1, Track_In_Game, "0.300000012", true},
      {"faded", Screen_Game, 1, Track_In_Game, "0.300000012", false},
      {"twice", Screen_Game, 1, Track_In_Game, "0.300000012", true},
      {"next", Screen_Game, 1, Track_Tutorial, "0.300000012", true},
      {"back", Screen_MainMenu, 1, Track_Menu, "0.300000012", true},
  };
  for (const Row& r : rows) {
    auto st = s.State(r.state);
    EXPECT_EQ(std::stoi(st["Current_Screen"]), r.screen) << r.state;
    EXPECT_EQ(std::stoi(st["Music_Flag"]), r.flag) << r.state;
    EXPECT_EQ(std::stoi(st["Music_Index"]), r.index) << r.state;
    EXPECT_EQ(st["Music_Volume"], r.music_volume) << r.state;
    EXPECT_EQ(st["Music_Channel_Playing"], "1") << r.state << ": a silent channel runs on, an audible one plays";
    float volume = std::stof(st["Music_Channel_Volume"]);
    if (r.flag == 0) {
      EXPECT_EQ(volume, 0.0f) << r.state;
    } else if (r.fading) {
      EXPECT_LT(volume, 0.3f) << r.state;
    } else {
      EXPECT_FLOAT_EQ(volume, 0.3f) << r.state;
    }
  }

  auto quiet = s.State("won_quiet");
  EXPECT_EQ(quiet["Current_Screen"], IdText(Screen_Victory));
  EXPECT_EQ(quiet["Music_Flag"], "0");
  EXPECT_EQ(quiet["Music_Index"], IdText(Track_In_Game));
  EXPECT_EQ(quiet["Effect_Victory_Short"], "1");
  EXPECT_EQ(quiet["Effect_Victory"], "0");
  // Music off: effects still play.
  EXPECT_GT(std::stoi(quiet["Effect_Move"]), 0);
  EXPECT_GT(std::stoi(quiet["Effect_Disappear"]), 0);

  auto won = s.State("won");
  EXPECT_EQ(won["Current_Screen"], IdText(Screen_Victory));
  EXPECT_EQ(won["Music_Index"], IdText(Track_Victory));
  EXPECT_EQ(won["Effect_Victory"], "1");
  EXPECT_EQ(won["Effect_Victory_Short"], "1");
  EXPECT_EQ(won["Music_Channel_Playing"], "1");
  EXPECT_EQ(std::stoi(won["Effect_Disappear"]), 2 * std::stoi(quiet["Effect_Disappear"]));
  // The victory track (under 7 s) is over and does not start again.
  auto after = s.State("after");
  EXPECT_EQ(after["Music_Channel_Playing"], "0");
  EXPECT_EQ(after["Effect_Victory"], "1");
}

}  // namespace

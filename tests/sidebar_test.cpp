// The side bar: icon states derived from the game, RESTART's two-click confirmation, LAST only
// with a saved game and resuming it, hover sounds once per change in a 64-pixel strip, the TIME
// icon's two-digit fields, the pop-up's first 300 ms, and touch input turned into the pointer.
#include "app/assets.h"
#include "app/sidebar.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "fx/board_scene.h"
#include "i18n/language.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "tests/flat_images.h"
#include "tests/screen_fixture.h"
#include "tests/sound_probe.h"
#include "ui/menu.h"
#include "ui/tutorial.h"

namespace {

constexpr int W = 804, H = 592;
constexpr int Background = 0x204060;
constexpr int Digit_Colour[10] = {0x101090, 0x2020A0, 0x3030B0, 0x4040C0, 0x5050D0,
                                  0x6060E0, 0x7070F0, 0x80A010, 0x90B020, 0xA0C030};

class SideBar : public ScreenTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(OpenScreen(W, H));
    Level_Index = 0;
    Prev_Best_Time = 0;
    DeleteFile(Undo_File);
  }
  void TearDown() override {
    Prev_Best_Time = 0;
    ScreenTest::TearDown();
  }
  // The pointer over a slot of the side bar, with or without a click; UpdateSideBar's result.
  static int AtSlot(int slot, int hit, int dx = 32) {
    Mouse_X = 10 * Block_Size + dx;
    Mouse_Y = slot * Block_Size + Half_Block;
    Mouse_Hit = hit;
    int clicked = UpdateSideBar();
    Mouse_Hit = 0;
    return clicked;
  }
  static void SetRow(std::vector<int> row) { SetIconRow(row.data()); }
  static void LayLevelOne() { ASSERT_EQ(LoadOfficialLevel(Official_Bank, 0), 1); }
};

TEST_F(SideBar, IconStatesFollowTheGame) {
  struct Case {
    int Index, Undo, Screen;
    int64_t Best;
    int Music, Before, After;
  };
  const Case cases[] = {
      {8, 1, 0, 0, 0, 1, 0},    {8, 2, 0, 0, 0, 0, 1},    {8, 2, 0, 0, 0, 2, 3},    {8, 5, 0, 0, 0, 3, 3},
      {8, 0, 0, 0, 0, 3, 0},
      {6, 1, 0, 0, 0, 1, 0},    {6, 2, 0, 0, 0, 0, 1},    {6, 2, 0, 0, 0, 2, 1},
      {6, 0, 45, 0, 0, 2, 2},   {6, 5, 45, 0, 0, 1, 1},   // the tutorial lights UNDO itself
      {7, 0, 0, 0, 0, 1, 0},    {7, 0, 0, 5000, 0, 0, 1},
      {11, 0, 1, 0, 0, 1, 0},   {11, 1, 1, 0, 0, 0, 1},
      {3, 0, 1, 0, 1, 1, 2},    {3, 0, 1, 0, 0, 2, 1},
      {9, 0, 3, 0, 0, 0, 0},    {1, 0, 0, 0, 0, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "icon " << c.Index << " undo " << c.Undo << " before " << c.Before);
    SetRow({c.Index, 0, 0, 0, 0, 0, 0, 0});
    Undo_Count = c.Undo;
    SetCurrentScreen(c.Screen);
    Prev_Best_Time = c.Best;
    Music_Flag = c.Music;
    Icons[0]->State = c.Before;
    RefreshIconStates();
    EXPECT_EQ(Icons[0]->State, c.After);
  }
}

TEST_F(SideBar, RestartAsksForASecondClickWithinTheBlink) {
  LayLevelOne();
  StartPlay(1);
  std::vector<std::string> start = Picture();
  SaveUndoStep();
  SaveUndoStep();
  ASSERT_EQ(Undo_Count, 3);
  ClearBoard();   // whatever the player did; a restart lays level 1 out again

  // The first click only arms the icon: it blinks, silently, and nothing restarts.
  EXPECT_EQ(AtSlot(2, 1), 0);
  EXPECT_EQ(Icons[2]->State, 3);
  EXPECT_EQ(Icon_Blink_End, Now + 2000);
  EXPECT_TRUE(Block_List.empty());

  // After the blink a click only arms it again.
  Now += 2001;
  DrawSideBar();
  EXPECT_EQ(Icons[2]->State, 1);
  EXPECT_EQ(AtSlot(2, 1), 0);
  EXPECT_EQ(Icons[2]->State, 3);
  EXPECT_TRUE(Block_List.empty());

  // A second click while it blinks restarts the level.
  Now += 1500;
  DrawSideBar();
  EXPECT_EQ(AtSlot(2, 1), 1);
  EXPECT_EQ(Picture(), start);
  EXPECT_EQ(Undo_Count, 1);
  EXPECT_EQ(Level_Elapsed, 0);
  // With fewer than two steps RESTART is hidden and a click on it does nothing.
  EXPECT_EQ(Icons[2]->State, 0);
  ClearBoard();
  EXPECT_EQ(AtSlot(2, 1), 0);
  EXPECT_EQ(AtSlot(2, 1), 0);
  EXPECT_TRUE(Block_List.empty());
}

TEST_F(SideBar, LastShowsOnlyWithASavedGameAndResumesIt) {
  GotoScreen(Screen_MainMenu);
  ASSERT_EQ(Icons[2]->Index, 11);
  EXPECT_EQ(Icons[2]->State, 0);
  EXPECT_EQ(AtSlot(2, 1), 0);
  EXPECT_EQ(Current_Screen, Screen_MainMenu);

  LayLevelOne();
  std::vector<std::string> level = Picture();
  StartPlay(1);
  Level_Elapsed = 30000;
  GotoScreen(Screen_MainMenu);
  ASSERT_NE(Picture(), level);
  AtSlot(5, 0);   // any frame refreshes the states
  EXPECT_EQ(Icons[2]->State, 1);
  Now += 600000;
  EXPECT_EQ(AtSlot(2, 1), 1);
  EXPECT_EQ(Current_Screen, Screen_Game);
  EXPECT_EQ(Picture(), level);
  // The clock goes on from where the level was left.
  EXPECT_EQ(Level_Start, Now - 30000);
  EXPECT_EQ(Icons[0]->Index, 6);
}

TEST_F(SideBar, TimeAndMenuIconsAct) {
  SetRow({6, 0, 8, 0, 7, 0, 1, 3});
  SetCurrentScreen(Screen_Game);
  EXPECT_EQ(AtSlot(4, 1), 0);   // hidden without a best time
  Prev_Best_Time = 60000;
  EXPECT_EQ(AtSlot(4, 1), 1);
  EXPECT_EQ(Time_Icon_Until, Now + 2000);
  EXPECT_EQ(AtSlot(6, 1), 1);
  EXPECT_EQ(Current_Screen, Screen_MainMenu);
}

TEST_F(SideBar, HoverSoundsOncePerChangeInA64PixelStrip) {
  SoundProbe probe;
  if (!probe.Start()) GTEST_SKIP() << "no audio device, not even the dummy one";
  Sound* saved = Sfx_Mouse_Over;
  Sfx_Mouse_Over = SoundProbe::TestSound();
  Sound_Flag = 1;
  SetRow({6, 0, 8, 0, 7, 0, 1, 3});   // with no undo steps and no best time, 0, 2 and 4 hide
  struct Step {
    int Slot, Dx, Sounds, Hover;
  };
  const Step steps[] = {
      {6, 32, 1, 6}, {6, 10, 0, 6},   // MENU, twice: once
      {7, 32, 1, 7},                  // music
      {5, 32, 0, -1},                 // an empty slot
      {7, 32, 1, 7},                  // back
      {4, 32, 0, 7},                  // a hidden icon neither takes nor clears the hover
      {6, 63, 1, 6},                  // the strip's last pixel
      {6, 64, 0, -1},                 // beyond 64 pixels: off the bar
      {6, -1, 0, -1},                 // the board
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "slot " << s.Slot << " dx " << s.Dx);
    AtSlot(s.Slot, 0, s.Dx);
    EXPECT_EQ(probe.Played(), s.Sounds);
    EXPECT_EQ(Hover_Icon, s.Hover);
  }
  // The smallest size has an 80-pixel side bar; icons still answer within 64 pixels only.
  Block_Size = 56;
  Half_Block = 28;
  Resolution_X = 640;
  AtSlot(7, 0, 63);
  EXPECT_EQ(Hover_Icon, 7);
  AtSlot(7, 0, 70);
  EXPECT_EQ(Hover_Icon, -1);
  Sfx_Mouse_Over = saved;
  Sound_Flag = 0;
}

class TimeIcon : public SideBar {
 protected:
  void SetUp() override {
    SideBar::SetUp();
    Img_Digits = MakeFlatStrip(10, 16, 10, [](int f) { return Digit_Colour[f]; });
  }
  void TearDown() override {
    FreeImage(Img_Digits);
    Img_Digits = nullptr;
    SideBar::TearDown();
  }
  static void Clear() {
    SetBlend(BLEND_SOLID);
    SetColour((Background >> 16) & 255, (Background >> 8) & 255, Background & 255);
    DrawRect(0, 0, W, H);
    SetColour(255, 255, 255);
  }
  // The digits of the field drawn at (x, y): four frame numbers, -1 where none was drawn.
  static std::vector<int> Field(int x, int y) {
    std::vector<int> digits;
    for (int dx : {16, 26, 40, 50}) {
      int pixel = ReadPixel(x + dx + 5, y + 8);
      int found = -1;
      for (int d = 0; d < 10; d++) {
        if (pixel == Digit_Colour[d]) found = d;
      }
      digits.push_back(found);
    }
    return digits;
  }
};

TEST_F(TimeIcon, FieldsAlwaysShowTwoDigitsEach) {
  struct Case {
    int64_t Ms;
    std::vector<int> Digits;
  };
  const Case cases[] = {
      {75000, {0, 1, 1, 5}}, {0, {0, 0, 0, 0}}, {5999000, {9, 9, 5, 9}}, {59999, {0, 0, 5, 9}},
      {-5000, {0, 0, 0, 0}},   // a clock that wrapped shows nothing absurd
  };
  for (const Case& c : cases) {
    Clear();
    SetBlend(BLEND_ALPHA);
    DrawTimeDigits(c.Ms, 100, 100);
    EXPECT_EQ(Field(100, 100), c.Digits) << c.Ms;
  }
}

TEST_F(TimeIcon, TheLowerFieldShowsTheTimeLeftBeforeTheRecord) {
  Clear();
  Level_Elapsed = 75000;
  Prev_Best_Time = 100000;
  DrawTimeIcon(200, 200);
  EXPECT_EQ(Field(200, 207), (std::vector<int>{0, 1, 1, 5}));
  EXPECT_EQ(Field(200, 238), (std::vector<int>{0, 0, 2, 5}));

  Clear();
  Level_Elapsed = 100000;
  DrawTimeIcon(200, 200);
  EXPECT_EQ(Field(200, 207), (std::vector<int>{0, 1, 4, 0}));
  EXPECT_EQ(Field(200, 238), (std::vector<int>{-1, -1, -1, -1}));

  // Drawn by the side bar on the TIME icon only while it shows.
  Clear();
  Level_Elapsed = 75000;
  SetRow({6, 0, 8, 0, 7, 0, 1, 3});
  DrawSideBar();
  int y = 4 * Block_Size + (Block_Size - 48) / 2;
  EXPECT_EQ(Field(10 * Block_Size, y + 7), (std::vector<int>{0, 1, 1, 5}));
}

// The buttons' pictures carry pictograms; the word under each comes from the player's
// language when the row is set, and is drawn in the button's lower band.
TEST_F(SideBar, ButtonsCarryTheirWordInThePlayersLanguage) {
  const std::string data = std::string(QUARK_SOURCE_DIR) + "/Data/qUaRk_text_";
  ASSERT_EQ(LoadLanguage(FromLatin1(data + "FR.txt")), 1);
  SetRow({6, 0, 8, 0, 7, 0, 1, 3});
  EXPECT_EQ(std::vector<String>(Icon_Words, Icon_Words + 8),
            (std::vector<String>{u"ANNULER", u"", u"REJOUER", u"", u"", u"", u"MENU", u""}));
  ASSERT_EQ(LoadLanguage(FromLatin1(data + "DE.txt")), 1);
  SetRow({9, 0, 11, 0, 0, 0, 0, 3});
  EXPECT_EQ(Icon_Words[0], u"ZUR\u00DCCK");
  EXPECT_EQ(Icon_Words[2], u"WEITER");
  // No language chosen yet: the words come from the game's English.
  Text_List.clear();
  ASSERT_EQ(LoadFallbackLanguage(u"incbin::Data/qUaRk_text_EN.txt"), 1);

  Font_Icon_Word = LoadFont(u"incbin::Data/a2.ttf", Icon_Word_Size);
  ASSERT_NE(Font_Icon_Word, nullptr);
  Undo_Count = 2;   // UNDO and RESTART show
  SetBlend(BLEND_SOLID);
  SetColour(0x20, 0x40, 0x60);
  DrawRect(0, 0, W, H);
  SetRow({6, 0, 8, 0, 7, 0, 1, 3});
  DrawSideBar();
  // White letters in the band under the pictogram of a button with a word, none on TIME.
  auto white_in_band = [](int slot) {
    const int top = slot * Block_Size + (Block_Size - 48) / 2 + Icon_Word_Top;
    int white = 0;
    for (int y = top; y < top + 16; y++) {
      for (int x = 10 * Block_Size; x < 10 * Block_Size + 64; x++) white += ReadPixel(x, y) == 0xFFFFFF ? 1 : 0;
    }
    return white;
  };
  EXPECT_GT(white_in_band(0), 20);
  EXPECT_GT(white_in_band(2), 20);
  EXPECT_GT(white_in_band(6), 20);
  EXPECT_EQ(white_in_band(4), 0);
  FreeFont(Font_Icon_Word);
  Font_Icon_Word = nullptr;
}

TEST_F(SideBar, ThePopUpWaits300MsThenGrowsEveryFrame) {
  Pop_Text = u"Options";
  Pop_Text_Start = Now + 300;
  Pop_Text_End = Now + 1300;
  Pop_Text_Scale = 1.0f;
  DrawPopText();
  Now += 300;
  DrawPopText();
  EXPECT_FLOAT_EQ(Pop_Text_Scale, 1.0f);
  Now += 1;
  DrawPopText();
  DrawPopText();
  EXPECT_FLOAT_EQ(Pop_Text_Scale, 1.04f);
  EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
  EXPECT_FLOAT_EQ(GetScaleX(), 1.0f);
  Now += 1000;
  DrawPopText();
  EXPECT_FLOAT_EQ(Pop_Text_Scale, 1.04f);
}

TEST_F(SideBar, TheTutorialHandTapsWhileAHintWaits) {
  const int released = 0x30A030, pressed = 0xA03030;
  Img_Cursor = MakeFlatStrip(100, 100, 1, [&](int) { return released; });
  Img_Cursor_Pressed = MakeFlatStrip(100, 100, 1, [&](int) { return pressed; });
  Tutorial_Active = 1;
  Tutorial_Hand_X = 300;
  Tutorial_Hand_Y = 200;
  Tutorial_Hand_Pressed = 0;
  Tutorial_Waiting = 1;
  Tutorial_Wait_Start = 1000;
  struct Case {
    int64_t Now;
    int Colour;
  };
  // Bit 9 of the clock (512) picks the pressed hand once the hint has waited a second.
  const Case cases[] = {{1900, released}, {2048 + 512, pressed}, {2048 + 100, released}, {4096 + 600, pressed}};
  for (const Case& c : cases) {
    Now = c.Now;
    DrawTutorialHand();
    // The fingertip is 85 right and 50 below the picture's corner.
    EXPECT_EQ(ReadPixel(300 - 85 + 2, 200 - 50 + 2), c.Colour) << c.Now;
  }
  Tutorial_Active = 0;
  Tutorial_Waiting = 0;
  FreeImage(Img_Cursor);
  FreeImage(Img_Cursor_Pressed);
  Img_Cursor = Img_Cursor_Pressed = nullptr;
}

TEST_F(SideBar, ATouchBecomesAClickThenAHeldPointer) {
  InitTouch();
  InjectTouch(1, 120, 80);
  PollSystemEvents();
  Mouse_Hit = Mouse_Down = 0;
  PollTouch();
  ASSERT_EQ(Touch_Mode, 1) << "touch not ready";
  EXPECT_EQ(Mouse_Hit, 1);
  EXPECT_NEAR(Mouse_X, 120, 1);
  EXPECT_NEAR(Mouse_Y, 80, 1);

  InjectTouch(1, 200, 150);   // the finger moves
  PollSystemEvents();
  Mouse_Hit = Mouse_Down = 0;
  PollTouch();
  EXPECT_EQ(Mouse_Hit, 0);
  EXPECT_EQ(Mouse_Down, 1);
  EXPECT_NEAR(Mouse_X, 200, 1);
  EXPECT_NEAR(Mouse_Y, 150, 1);

  InjectTouch(0, 0, 0);
  PollSystemEvents();
  PollTouch();   // the lift is reported once more
  Mouse_Hit = Mouse_Down = 0;
  Mouse_X = 7;
  PollTouch();   // no finger: the pointer is left alone
  EXPECT_EQ(Mouse_Down, 0);
  EXPECT_EQ(Mouse_X, 7);
  Touch_Mode = 0;
  ShowPointer();
}

}  // namespace

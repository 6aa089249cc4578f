// The level map: columns and scroll limits for every size, the hit test and its gaps, the
// fling that stops at the top, the keyboard's selection, the wheel, hover sounds, what a
// click is, the zoom's rectangle and capture, leaving during a zoom, a list shorter than the
// board, and the thumbnails' frame, darkening, labels and mini blocks read back as pixels.
#include <cstring>

#include "app/assets.h"
#include "app/sidebar.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "fx/board_scene.h"
#include "fx/level_map.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "tests/flat_images.h"
#include "tests/screen_fixture.h"
#include "tests/sound_probe.h"
#include "ui/menu.h"

namespace {

constexpr int W = 804, H = 592;   // 74-pixel cells, three columns

class LevelMap : public ScreenTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    ASSERT_GE(BufferSize(Official_Bank) / Level_Record_Size, 10);
    ASSERT_NO_FATAL_FAILURE(OpenScreen(W, H));
    SetCurrentScreen(Screen_Level_List);
    ReleaseKeys();
    FlushMouse();
  }
  void TearDown() override {
    ReleaseKeys();
    ScreenTest::TearDown();
  }
  static void ReleaseKeys() {
    for (int key : {KEY_HOME, KEY_END, KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_PAGE_UP, KEY_PAGE_DOWN, KEY_ENTER}) {
      InjectKey(key, 0);
    }
    PollSystemEvents();
    FlushKeys();
  }
  static void Key(int key, int down) {
    InjectKey(key, down);
    PollSystemEvents();
  }
  // One update of the map with the pointer at (x, y).
  static void Frame(int x, int y, int hit = 0, int down = 0) {
    Mouse_X = x;
    Mouse_Y = y;
    Mouse_Hit = hit;
    Mouse_Down = down;
    UpdateLevelMap();
    Mouse_Hit = 0;
    Now += 16;
  }
  // Updates with the pointer off the board until the grid rests; false if it never does.
  static bool Settle(float* highest = nullptr, float* lowest = nullptr) {
    for (int i = 0; i < 5000; i++) {
      Frame(-50, -50);
      if (highest && Level_List_Scroll > *highest) *highest = Level_List_Scroll;
      if (lowest && Level_List_Scroll < *lowest) *lowest = Level_List_Scroll;
      if (Level_List_Speed == 0) return true;
    }
    return false;
  }
};

TEST_F(LevelMap, ColumnsAndTheLowestScrollForEverySize) {
  struct Case {
    int Width, Height, Count, Columns, Bottom;
  };
  const Case cases[] = {
      {640, 448, 553, 2, 448 - 277 * 200},    {804, 592, 553, 3, -36408},
      {1024, 768, 553, 4, 768 - 139 * 200},   {1344, 1024, 553, 5, 1024 - 111 * 200},
      {1564, 1200, 553, 6, 1200 - 93 * 200},  {1404, 1072, 553, 5, 1072 - 111 * 200},   // best fit on 1920 x 1080
      {804, 592, 3, 3, 0},                    {804, 592, 0, 3, 0},   // shorter than the board: rests at the top
      {804, 592, 9, 3, 592 - 600},           {804, 592, 10, 3, 592 - 800},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Width << "x" << c.Height << " " << c.Count);
    Resolution_X = c.Width;
    Resolution_Y = c.Height;
    Official_Level_Count = c.Count;
    EXPECT_EQ(LevelMapColumns(), c.Columns);
    EXPECT_EQ(LevelMapBottom(), c.Bottom);
  }
}

TEST_F(LevelMap, TheHitTestGivesEachGapToAThumbnail) {
  struct Case {
    int Width;
    float Scroll;
    int X, Y, Level;
  };
  const Case cases[] = {
      {804, 0, 0, 0, 0},        // the left margin counts as the first column
      {804, 0, 219, 100, 0},    {804, 0, 259, 100, 0},   // the gap right of a thumbnail is its own
      {804, 0, 260, 100, 1},    {804, 0, 739, 100, 2},
      {804, 0, 100, 199, 0},    // the upper 20 pixels of the gap between rows belong above
      {804, 0, 100, 200, 3},    {804, 0, 100, 219, 3},   // the lower 20 below
      {804, -410.5f, 100, 0, 6},
      {804, 50, 100, 49, -1},   // above the grid entering from below
      {804, 50, 100, 50, 0},
      {804, -184 * 200, 100, 10, 552}, {804, -184 * 200, 300, 10, -1},   // past the last level
      {640, 0, 499, 100, 1},
      // Right of the last column's gap there is no thumbnail, not the next row's first one.
      {640, 0, 500, 100, -1},   {640, 0, 559, 100, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Width << " scroll " << c.Scroll << " at " << c.X << "," << c.Y);
    Resolution_X = c.Width;
    Level_List_Scroll = c.Scroll;
    EXPECT_EQ(LevelAt(c.X, c.Y), c.Level);
  }
}

TEST_F(LevelMap, AFlingPastTheTopStopsExactlyAtZero) {
  for (float speed : {60.0f, 200.0f, 25.0f}) {
    SCOPED_TRACE(speed);
    Level_List_Scroll = -200;
    Level_List_Speed = speed;
    bool past = false, below_after = false;
    for (int i = 0; i < 5000 && !(past && Level_List_Speed == 0); i++) {
      Frame(-50, -50);
      if (Level_List_Scroll > 0) past = true;
      if (past && Level_List_Scroll < 0) below_after = true;
    }
    EXPECT_TRUE(past);
    EXPECT_FALSE(below_after) << "bounced beyond the top";
    EXPECT_EQ(Level_List_Scroll, 0.0f);
    EXPECT_EQ(Level_List_Speed, 0.0f);
  }
}

TEST_F(LevelMap, KeysMoveTheSelectionAndTheMapScrollsToShowIt) {
  const float bottom = static_cast<float>(LevelMapBottom());
  ASSERT_EQ(bottom, -36408.0f);
  Level_Index = 10;
  ResetMapSelection();
  EXPECT_EQ(Map_Selection, 10) << "the selection starts on the current level";
  EXPECT_EQ(Map_Selection_Shown, 0) << "and is not shown to a player using the mouse";
  Map_Selection = 0;
  struct Step {
    int key, selection;
    float scroll;
  } steps[] = {
      {KEY_RIGHT, 1, 0},      {KEY_DOWN, 4, 0},
      {KEY_DOWN, 7, -8},      // the third row ends 8 pixels below the board: just enough scroll
      {KEY_UP, 4, -8},        {KEY_UP, 1, 0},       {KEY_LEFT, 0, 0},   {KEY_LEFT, 0, 0},
      {KEY_PAGE_DOWN, 6, -8}, // a page is the two rows the board shows
      {KEY_RIGHT, 7, -8},     {KEY_PAGE_UP, 1, 0},
      {KEY_END, 552, bottom}, {KEY_DOWN, 552, bottom}, {KEY_RIGHT, 552, bottom},
      {KEY_UP, 549, bottom},  {KEY_HOME, 0, 0},     {KEY_UP, 0, 0},
  };
  for (const Step& st : steps) {
    Key(st.key, 1);
    Key(st.key, 0);
    Frame(-50, -50);
    EXPECT_EQ(Map_Selection, st.selection) << "key " << st.key;
    EXPECT_EQ(Level_List_Scroll, st.scroll) << "key " << st.key;
    EXPECT_EQ(Map_Selection_Shown, 1);
  }
  // Holding a key steps once; the selection rests while the grid glides and the mouse scrolls.
  Key(KEY_DOWN, 1);
  for (int i = 0; i < 20; i++) Frame(-50, -50);
  Key(KEY_DOWN, 0);
  EXPECT_EQ(Map_Selection, 3);
  EXPECT_EQ(Level_Index, 10) << "moving the selection starts nothing";
  Level_List_Scroll = -300;   // the wheel took the selected row half out of view
  Key(KEY_ENTER, 1);
  Key(KEY_ENTER, 0);
  Frame(-50, -50);
  EXPECT_EQ(Level_Index, 3);
  EXPECT_NE(Zoom_Until, 0);
  EXPECT_EQ(Level_List_Scroll, -200.0f);
  EXPECT_EQ(Zoom_Y0, Map_Margin) << "the zoom starts from the selected thumbnail, in view";
}

TEST_F(LevelMap, TheWheelScrollsFortyPixelsANotchOnce) {
  Level_List_Scroll = -1000;
  InjectWheel(-2);
  PollSystemEvents();
  Mouse_Z = MouseZ();
  ASSERT_EQ(Mouse_Z, -2);
  Frame(-50, -50);
  EXPECT_EQ(Level_List_Scroll, -1080.0f);
  EXPECT_EQ(MouseZ(), 0);
}

TEST_F(LevelMap, LettingGoBeyondAnEndPullsBackAtOnce) {
  Frame(100, 100, 1, 1);
  Frame(100, 300, 0, 1);
  EXPECT_EQ(Level_List_Scroll, 200.0f);
  Frame(100, 300, 0, 0);
  EXPECT_EQ(Drag_State, 0);
  EXPECT_FLOAT_EQ(Level_List_Speed, -200.0f / 11);
  EXPECT_EQ(Level_Index, -1);   // a drag is no click

  Level_List_Scroll = -36000;
  Level_List_Speed = 0;
  Frame(100, 500, 1, 1);
  Frame(100, 0, 0, 1);
  Frame(100, 0, 0, 0);
  EXPECT_EQ(Level_List_Scroll, -36500.0f);
  EXPECT_FLOAT_EQ(Level_List_Speed, (-36408.0f + 36500.0f) / 11);
}

TEST_F(LevelMap, HoveringSoundsOncePerLevel) {
  SoundProbe probe;
  if (!probe.Start()) GTEST_SKIP() << "no audio device, not even the dummy one";
  Sound* saved = Sfx_Mouse_Over;
  Sfx_Mouse_Over = SoundProbe::TestSound();
  Sound_Flag = 1;
  struct Step {
    int X, Y, Sounds, Hover;
  };
  const Step steps[] = {
      {100, 100, 1, 0}, {150, 120, 0, 0}, {250, 120, 0, 0},   // one thumbnail and its gap
      {300, 100, 1, 1}, {100, 100, 1, 0},
      {780, 100, 0, -1},                                      // the side bar
      {100, 100, 1, 0},
  };
  for (const Step& s : steps) {
    Frame(s.X, s.Y);
    EXPECT_EQ(probe.Played(), s.Sounds) << s.X << "," << s.Y;
    EXPECT_EQ(Hover_Level, s.Hover);
  }
  Sfx_Mouse_Over = saved;
  Sound_Flag = 0;
}

TEST_F(LevelMap, AShortSmallStillClickChoosesALevel) {
  struct Case {
    int Dx, Dy, Hold, Chosen;
  };
  const Case cases[] = {
      {0, 0, 100, 1}, {7, -7, 100, 1}, {-7, 7, 100, 1}, {0, 0, 383, 1},
      {8, 0, 100, 0}, {0, -8, 100, 0}, {0, 0, 384, 0},   // 16 ms pass with the press
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Dx << "," << c.Dy << " after " << c.Hold);
    Level_Index = -1;
    Zoom_Until = 0;
    Level_List_Scroll = 0;
    Level_List_Speed = 0;
    ClearBoard();
    Frame(360, 300, 1, 1);   // level 5: second column, second row
    if (c.Dx || c.Dy) Frame(360 + c.Dx, 300 + c.Dy, 0, 1);
    Now += c.Hold;
    int64_t release = Now;
    Frame(360 + c.Dx, 300 + c.Dy, 0, 0);
    if (c.Chosen) {
      EXPECT_EQ(Level_Index, 4);
      EXPECT_EQ(Zoom_Until, release + 1000);
      EXPECT_EQ(Return_Screen, Screen_Level_List);
      EXPECT_EQ(Zoom_X0, 260);
      EXPECT_EQ(Zoom_Y0, 220 + c.Dy);   // the grid moved with the pointer
      EXPECT_EQ(Zoom_X1, 260 + 199);
      EXPECT_EQ(Zoom_Y1, 220 + c.Dy + 159);
      EXPECT_EQ(Block_List.empty(), false);
    } else {
      EXPECT_EQ(Level_Index, -1);
      EXPECT_EQ(Zoom_Until, 0);
      EXPECT_TRUE(Block_List.empty());
    }
  }
}

TEST_F(LevelMap, ClicksWaitForTheZoomWhichThenStartsTheLevel) {
  Frame(100, 100, 1, 1);
  Frame(100, 100, 0, 0);
  ASSERT_EQ(Level_Index, 0);
  int64_t end = Zoom_Until;
  std::vector<std::string> board = Picture();
  Frame(600, 100, 1, 1);
  Frame(600, 100, 0, 0);
  EXPECT_EQ(Level_Index, 0);
  EXPECT_EQ(Zoom_Until, end);
  // Scrolling goes on meanwhile, and a key cannot start another level.
  InjectWheel(-1);
  PollSystemEvents();
  Mouse_Z = MouseZ();
  Key(KEY_ENTER, 1);
  Key(KEY_ENTER, 0);
  Frame(-50, -50);
  EXPECT_EQ(Level_List_Scroll, -40.0f);
  EXPECT_EQ(Level_Index, 0);
  EXPECT_EQ(Zoom_Until, end);

  Now = end - 1;
  DrawMapZoom();
  EXPECT_EQ(Current_Screen, Screen_Level_List);
  Now = end;
  DrawMapZoom();
  EXPECT_EQ(Zoom_Until, 0);
  EXPECT_EQ(Current_Screen, Screen_Game);
  EXPECT_EQ(Level_Elapsed, 0);
  EXPECT_EQ(Undo_Count, 1);
  EXPECT_EQ(Picture(), board);
  EXPECT_EQ(Icons[0]->Index, 6);
}

TEST_F(LevelMap, TheLastGameResumedDuringTheZoomKeepsItsOwnLevel) {
  Level_Index = 0;
  ASSERT_EQ(LoadOfficialLevel(Official_Bank, 0), 1);
  StartPlay(1);
  const std::vector<std::string> saved = Picture();
  GotoScreen(Screen_Level_List);
  Frame(360, 300, 1, 1);   // level 5 zooms in
  Frame(360, 300, 0, 0);
  ASSERT_EQ(Level_Index, 4);
  ASSERT_NE(Zoom_Until, 0);
  ASSERT_EQ(Icons[2]->Index, 11);   // LAST
  Mouse_X = 10 * Block_Size + 32;
  Mouse_Y = 2 * Block_Size + Half_Block;
  Mouse_Hit = 1;
  EXPECT_EQ(UpdateSideBar(), 1);
  Mouse_Hit = 0;
  EXPECT_EQ(Current_Screen, Screen_Game);
  EXPECT_EQ(Level_Index, 0);
  EXPECT_EQ(Zoom_Until, 0);
  EXPECT_EQ(Picture(), saved);
}

TEST_F(LevelMap, LeavingDuringTheZoomKeepsTheLevelThatWasCurrent) {
  Level_Index = 2;
  Frame(360, 300, 1, 1);
  Frame(360, 300, 0, 0);
  ASSERT_EQ(Level_Index, 4);
  ASSERT_NE(Zoom_Until, 0);
  GotoScreen(Screen_MainMenu);
  EXPECT_EQ(Zoom_Until, 0);
  EXPECT_EQ(Level_Index, 2);
  // Without a zoom a switch leaves the current level alone.
  Level_Index = 7;
  GotoScreen(Screen_Options);
  EXPECT_EQ(Level_Index, 7);
}

TEST_F(LevelMap, TheZoomGrowsLinearlyFromTheThumbnailToTheBoard) {
  Zoom_X0 = 260;
  Zoom_Y0 = 220;
  Zoom_X1 = 459;
  Zoom_Y1 = 379;
  struct Case {
    int64_t Remaining;
    int Left, Top, Right, Bottom;
  };
  const Case cases[] = {
      {1000, 260, 220, 459, 379},
      {500, 130, 110, 740 - 140, 592 - 106},   // halfway: (281 / 2, 213 / 2) truncated
      {0, 0, 0, 740, 592},
  };
  for (const Case& c : cases) {
    int left, top, right, bottom;
    MapZoomRect(c.Remaining, &left, &top, &right, &bottom);
    EXPECT_EQ(left, c.Left) << c.Remaining;
    EXPECT_EQ(top, c.Top);
    EXPECT_EQ(right, c.Right);
    EXPECT_EQ(bottom, c.Bottom);
  }
}

TEST_F(LevelMap, AListShorterThanTheBoardRestsAtTheTop) {
  Official_Level_Count = 4;
  Level_List_Scroll = static_cast<float>(H);   // entering from below, as at start
  float lowest = Level_List_Scroll;
  ASSERT_TRUE(Settle(nullptr, &lowest));
  EXPECT_EQ(Level_List_Scroll, 0.0f);
  EXPECT_GE(lowest, 0.0f);
  // Dragged up, it comes back down to the top.
  Frame(100, 400, 1, 1);
  Frame(100, 100, 0, 1);
  Frame(100, 100, 0, 0);
  float highest = Level_List_Scroll;
  ASSERT_TRUE(Settle(&highest));
  EXPECT_EQ(Level_List_Scroll, 0.0f);
  EXPECT_LE(highest, 0.0f);
  Key(KEY_END, 1);
  Frame(-50, -50);
  Key(KEY_END, 0);
  EXPECT_EQ(Map_Selection, 3);
  EXPECT_EQ(Level_List_Scroll, 0.0f);
  EXPECT_EQ(LevelAt(100, 300), 3);
  EXPECT_EQ(LevelAt(300, 300), -1);
}

// ---- Drawing, read back as pixels ----

constexpr int Plateau = 0x6080A0, Plateau_Lit = 0xA08060, Backdrop = 0x305030, Picots = 0x50C070;
int FrameColour(int kind, int frame) { return 0x100000 * (kind + 1) + 0x000400 * frame + 0x40; }

class MapDrawing : public LevelMap {
 protected:
  void SetUp() override {
    LevelMap::SetUp();
    Saved_Plateau = {Img_Plateau, Img_Plateau_Highlighted, Img_Background_Game};
    Img_Plateau = MakeFlatStrip(260, 220, 1, [](int) { return Plateau; });
    Img_Plateau_Highlighted = MakeFlatStrip(260, 220, 1, [](int) { return Plateau_Lit; });
    Img_Background_Game = MakeFlatStrip(100, 100, 1, [](int) { return Picots; });
    for (int k = 0; k < 6; k++) {
      Saved_Styles[k] = Style_Images[k];
      Style_Images[k] = MakeFlatStrip(48, 48, 30, [k](int f) { return FrameColour(k, f); });
    }
    Saved_Fonts = {Font_Main, Font_30};
    Font_Main = LoadFont(u"incbin::Data/a2.ttf", 47);
    Font_30 = LoadFont(u"incbin::Data/a2.ttf", 30);
    // A bank of its own, so that solving levels here touches nothing else.
    Bank = CreateBuffer(6 * Level_Record_Size);
    std::memcpy(Bank->Bytes.data(), Official_Bank->Bytes.data(), Bank->Bytes.size());
    for (int level = 0; level < 6; level++) PokeShort(Bank, level * Level_Record_Size + Level_Link_Offset, 0);
    Level_Bank = Bank;
    Official_Level_Count = 6;
    Saved_Scores = Best_Scores;
    Saved_Best_Count = Best_Count;
    Best_Scores = CreateBuffer(Best_Header_Size + 2 * Best_Record_Size);
    Best_Count = 2;
    Clear();
  }
  void TearDown() override {
    for (Image* img : {Img_Plateau, Img_Plateau_Highlighted, Img_Background_Game}) FreeImage(img);
    Img_Plateau = Saved_Plateau[0];
    Img_Plateau_Highlighted = Saved_Plateau[1];
    Img_Background_Game = Saved_Plateau[2];
    for (int k = 0; k < 6; k++) {
      FreeImage(Style_Images[k]);
      Style_Images[k] = Saved_Styles[k];
    }
    FreeFont(Font_Main);
    FreeFont(Font_30);
    Font_Main = Saved_Fonts[0];
    Font_30 = Saved_Fonts[1];
    delete Best_Scores;
    Best_Scores = Saved_Scores;
    Best_Count = Saved_Best_Count;
    LevelMap::TearDown();
    delete Bank;
  }
  static void Clear() {
    SetBlend(BLEND_SOLID);
    SetColour((Backdrop >> 16) & 255, (Backdrop >> 8) & 255, Backdrop & 255);
    DrawRect(0, 0, W, H);
    SetColour(255, 255, 255);
  }
  // Marks `level` solved in record `slot` of the best scores.
  void Solve(int level, int slot, int last, int best) {
    int link = Best_Header_Size + slot * Best_Record_Size;
    PokeShort(Best_Scores, link + Best_Id_Offset, PeekShort(Bank, level * Level_Record_Size + Level_Id_Offset));
    PokeInt(Best_Scores, link + Best_Last_Offset, last);
    PokeInt(Best_Scores, link + Best_Time_Offset, best);
    PokeShort(Bank, level * Level_Record_Size + Level_Link_Offset, link);
  }
  // An empty cell of a level in the first or last column, away from every label.
  int EmptyEdgeCell(int level) {
    for (int r = 0; r < 8; r++) {
      for (int q : {0, 9}) {
        if (PeekByte(Bank, level * Level_Record_Size + Level_Cells_Offset + r * 10 + q) == 0) return r * 10 + q;
      }
    }
    return -1;
  }
  // The first row from `from` down with a white pixel between columns x0 and x1.
  static int FirstWhiteRow(int x0, int x1, int from, int to) {
    for (int y = from; y < to; y++) {
      for (int x = x0; x < x1; x++) {
        int p = ReadPixel(x, y);
        if (((p >> 16) & 255) > 200 && ((p >> 8) & 255) > 200 && (p & 255) > 200) return y;
      }
    }
    return -1;
  }
  ByteBuffer* Bank = nullptr;
  ByteBuffer* Saved_Scores = nullptr;
  int Saved_Best_Count = 0;
  std::vector<Image*> Saved_Plateau;
  Image* Saved_Styles[6] = {};
  std::vector<Font*> Saved_Fonts;
};

TEST_F(MapDrawing, TheCurrentLevelHasTheLitFrameAndSolvedLevelsAreDarkened) {
  int cell = EmptyEdgeCell(1);
  ASSERT_GE(cell, 0);
  int px = 300 + 20 * (cell % 10) + 10, py = 100 + 20 * (cell / 10) + 10;
  DrawThumbnail(300, 100, 1);
  EXPECT_COLOUR_NEAR(ReadPixel(300 - 25, 100 - 25), Plateau, 2);
  EXPECT_COLOUR_NEAR(ReadPixel(px, py), Plateau, 2);

  Level_Index = 1;
  Solve(1, 0, 75, 0);
  Clear();
  DrawThumbnail(300, 100, 1);
  EXPECT_COLOUR_NEAR(ReadPixel(300 - 25, 100 - 25), Plateau_Lit, 2);   // the frame is not darkened
  EXPECT_COLOUR_NEAR(ReadPixel(px, py), (Plateau_Lit >> 1) & 0x7F7F7F, 3);
}

TEST_F(MapDrawing, AFirstSolveShowsItsTimeFifteenPixelsLower) {
  // A wide label: its left part is the only white left of the number and the times.
  Text_Last_Time = u"WWWWWWWW";
  Text_Best_Time = u"B";
  Solve(0, 0, 75, 0);
  DrawThumbnail(100, 100, 0);
  int first = FirstWhiteRow(100 + 22, 100 + 55, 100, 100 + 160);
  Clear();
  Solve(0, 0, 90, 75);
  DrawThumbnail(100, 100, 0);
  int both = FirstWhiteRow(100 + 22, 100 + 55, 100, 100 + 160);
  ASSERT_GT(both, 100);
  EXPECT_EQ(first - both, 15);
}

TEST_F(MapDrawing, MiniBlocksShowTheRecordsQuarterFrames) {
  int record = 2 * Level_Record_Size;
  int cell = 0;
  while (PeekByte(Bank, record + Level_Cells_Offset + cell) == 0) cell++;
  int kind = PeekByte(Bank, record + Level_Cells_Offset + cell) - 1;
  int frames = record + Level_Frames_Offset + 4 * cell;
  DrawMiniBlock(100, 100, kind, frames);
  const int at[4][2] = {{105, 105}, {115, 105}, {115, 115}, {105, 115}};
  for (int q = 0; q < 4; q++) {
    SCOPED_TRACE(q);
    EXPECT_COLOUR_NEAR(ReadPixel(at[q][0], at[q][1]), FrameColour(kind, PeekByte(Bank, frames + q)), 2);
  }
  // Low details: the ready-made small block, stretched over the cell.
  Detail_Previews = 0;
  Clear();
  DrawThumbnail(100, 100, 2);
  int cx = 100 + 20 * (cell % 10), cy = 100 + 20 * (cell / 10);
  EXPECT_COLOUR_NEAR(ReadPixel(cx + 3, cy + 3), FrameColour(kind, 29), 2);
  EXPECT_COLOUR_NEAR(ReadPixel(cx + 16, cy + 16), FrameColour(kind, 29), 2);
}

TEST_F(MapDrawing, TheZoomKeepsAPictureOfTheLevelAndDrawsItInItsRectangle) {
  Img_Board_Capture = CreateImage(10 * Block_Size, 8 * Block_Size, 1, IMAGE_GRABBABLE);
  Level_Index = 0;
  ASSERT_EQ(LoadOfficialLevel(Bank, 0), 1);
  StartMapZoom(260, 220);
  EXPECT_EQ(Zoom_Until, Now + 1000);
  EXPECT_EQ(Time_Icon_Until, Now + 2000);
  Clear();
  Now = Zoom_Until - 500;
  DrawMapZoom();
  // An empty cell of level 1 shows the game's background inside the rectangle; outside it the
  // map is untouched.
  int cell = EmptyEdgeCell(0);
  ASSERT_GE(cell, 0);
  int left, top, right, bottom;
  MapZoomRect(500, &left, &top, &right, &bottom);
  int bx = (cell % 10) * Block_Size + Half_Block, by = (cell / 10) * Block_Size + Half_Block;
  EXPECT_COLOUR_NEAR(ReadPixel(left + bx * (right - left - 1) / (10 * Block_Size),
                               top + by * (bottom - top - 1) / (8 * Block_Size)),
                     Picots, 3);
  EXPECT_COLOUR_NEAR(ReadPixel(left - 3, top - 3), Backdrop, 2);
  EXPECT_COLOUR_NEAR(ReadPixel(right + 3, bottom + 3), Backdrop, 2);
  Zoom_Until = 0;
  FreeImage(Img_Board_Capture);
  Img_Board_Capture = nullptr;
}

}  // namespace

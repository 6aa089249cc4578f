// Level play without a window's frame loop: the clock and its cap, resuming, the win and what
// it waits for, the order of the keys of one frame, "r" and "u" on menus, and the choice of the
// first unsolved level.
#include <limits>

#include "app/sidebar.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "fx/board_scene.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "levels/pending_wins.h"
#include "platform/headless.h"
#include "tests/board_fixture.h"
#include "tests/file_faults.h"
#include "tests/scratch_folder.h"
#include "ui/menu.h"

namespace {

class LevelPlay : public BoardTest {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    if (!Official_Bank) LoadCatalogue(u"incbin::Data/full2.lvl");
  }
  void SetUp() override {
    BoardTest::SetUp();
    ASSERT_GE(Official_Level_Count, 10);
    OpenDisplay(200, 200, 0, 60);
    InitIcons();
    Music_Index = Track_In_Game;
    Level_Index = 0;
    // Play keeps its history on disk: a file of this test's own.
    Saved_Files = {Undo_File, Best_Scores_File, Win_File};
    Undo_File = Scratch.File("level_play_undo.bin");
    Best_Scores_File = Scratch.File("level_play_best.bin");
    Win_File = Scratch.File("level_play_win.bin");
    LinkBestScores();
    PollSystemEvents();
    FlushKeys();
    while (NextChar() != 0) {
    }
  }
  void TearDown() override {
    DeleteFile(Undo_File);
    Undo_File = Saved_Files[0];
    Best_Scores_File = Saved_Files[1];
    Win_File = Saved_Files[2];
    BoardTest::TearDown();
  }

  // One frame as the frame loop runs it for a board screen: input taken, the update, then the
  // drawing pass's removal of blocks whose flash is over.
  static void Frame(int64_t ms = 16) {
    PollSystemEvents();
    Key_Char = NextChar();
    UpdateBoardScreen();
    RemoveExpiredBlocks(Now);
    Now += ms;
  }
  static void Hit(int key) {
    InjectKey(key, 1);
    InjectKey(key, 0);
  }
  static std::vector<std::string> Record(int index) {
    std::vector<std::string> rows(Board_Height, std::string(Board_Width, '.'));
    for (int cell = 0; cell < Board_Cells; cell++) {
      int v = PeekByte(Level_Bank, index * Level_Record_Size + Level_Cells_Offset + cell);
      if (v > 0) rows[cell / Board_Width][cell % Board_Width] = static_cast<char>('0' + v - 1);
    }
    return rows;
  }
  std::vector<String> Saved_Files;
  ScratchFolder Scratch;
};

TEST_F(LevelPlay, TheClockRunsOnTheGameScreenAndStopsAt99Minutes59) {
  Lay({"0........0"});
  StartPlay(1);
  EXPECT_EQ(Current_Screen, Screen_Game);
  EXPECT_EQ(Time_Icon_Until, Now + 2000);
  Now += 5000;
  Frame();
  EXPECT_EQ(Level_Elapsed, 5000);
  Now += 2 * 3600 * 1000;
  Frame();
  EXPECT_EQ(Level_Elapsed, Level_Time_Cap);
  // Won after two hours: the time recorded is the capped one.
  ClearBoard();
  Frame();
  EXPECT_EQ(Current_Screen, Screen_Victory);
  EXPECT_EQ(Level_Final_Time, 5999000);
  EXPECT_EQ(Level_Start, 0);
}

TEST_F(LevelPlay, PlayEnteredDuringAMenuSlideStopsTheSlideAndTheChoice) {
  Lay({"0........0"});
  SetCurrentScreen(Screen_MainMenu);
  Pending_Screen = Screen_Level_List;
  Menu_Slide = 1;
  EnterPlay(1);
  EXPECT_EQ(Current_Screen, Screen_Game);
  EXPECT_EQ(Pending_Screen, 0);
  EXPECT_EQ(Menu_Slide, 0);
  EXPECT_EQ(Music_Index, Track_In_Game);
}

TEST_F(LevelPlay, ResumingCountsOnlyTheTimeAlreadyPlayed) {
  Lay({"0........0"});
  StartPlay(1);
  Now += 30000;
  Frame();
  ASSERT_EQ(Level_Elapsed, 30000);
  GotoScreen(Screen_MainMenu);
  Now += 600000;   // ten minutes on the menus: the level's clock is frozen
  Frame();
  EXPECT_EQ(Level_Elapsed, 30000);
  EnterPlay(0);
  EXPECT_EQ(Music_Index, Track_In_Game);
  Frame();
  EXPECT_EQ(Level_Elapsed, 30000);
  Now += 1000;
  Frame();
  EXPECT_EQ(Level_Elapsed, 31016);
}

TEST_F(LevelPlay, AnEmptyGameBoardIsWonInTheFirstFrame) {
  ClearBoard();
  StartPlay(1);
  Now += 700;
  Undo_Count = 3;
  Frame();
  EXPECT_EQ(Current_Screen, Screen_Victory);
  EXPECT_EQ(Level_Final_Time, 700);
  EXPECT_EQ(Undo_Count, 0);
}

// A disk that takes the win's entry but not the best scores (it stops after 12 bytes): the
// history stays on disk, and the win is written once the next level starts.
TEST_F(LevelPlay, AWinTheDiskRefusesKeepsItsHistoryUntilItIsWritten) {
  ClearBoard();
  StartPlay(1);
  Now += 5000;
  {
    WriteLimit limit(12);
    Frame();
  }
  EXPECT_EQ(Current_Screen, Screen_Victory);
  EXPECT_FALSE(Exists(Best_Scores_File));
  EXPECT_EQ(ReadWhole(Undo_File).size(), 80u) << "the history stays";
  EXPECT_EQ(ReadWhole(Win_File).size(), 8u) << "and so does the win's entry";
  EXPECT_EQ(Best_Count, 1);

  RestartLevel();
  EXPECT_EQ(ReadWhole(Best_Scores_File).size(), 16u);
  EXPECT_EQ(PeekInt(Best_Scores, 4 + Best_Last_Offset), 5);
  EXPECT_FALSE(Exists(Win_File));
  EXPECT_EQ(Best_Count, 1);
}

TEST_F(LevelPlay, AWinWithoutACatalogueLevelLeavesTheCatalogueAlone) {
  std::vector<uint8_t> before = Level_Bank->Bytes;
  for (int index : {-1, Official_Level_Count}) {
    ClearBoard();
    StartPlay(1);
    Level_Index = index;
    Frame();
    EXPECT_EQ(Current_Screen, Screen_Victory) << index;
    EXPECT_TRUE(Level_Bank->Bytes == before) << index;
  }
}

TEST_F(LevelPlay, TheWinAndAMenuChoiceWaitForTheLastFragment) {
  ClearBoard();
  StartPlay(1);
  FX_List.push_back(std::make_unique<T_FX>());
  FX_List.back()->Timer = Now + 100000;   // waits, far from leaving the screen
  Frame();
  EXPECT_EQ(Current_Screen, Screen_Game);
  FX_List.clear();
  Frame();
  EXPECT_EQ(Current_Screen, Screen_Victory);

  SetCurrentScreen(Screen_MainMenu);
  Pending_Screen = Screen_Options;
  Menu_Slide = 1;
  FX_List.push_back(std::make_unique<T_FX>());
  FX_List.back()->Timer = Now + 100000;
  Frame();
  EXPECT_EQ(Current_Screen, Screen_MainMenu);
  EXPECT_EQ(Menu_Slide, 1);
  FX_List.clear();
  Frame();
  EXPECT_EQ(Current_Screen, Screen_Options);
  EXPECT_EQ(Pending_Screen, 0);
  EXPECT_EQ(Menu_Slide, 0);
}

TEST_F(LevelPlay, ArrowHitsOfOneFrameGoRightDownLeftUp) {
  // Right then up ends beside the obstacle; up then right would end in the corner.
  Lay({".1.......0",
       "0........."});
  StartPlay(1);
  ASSERT_TRUE(GrabGroupAt(0, 1));
  Key_Cursor_Mode = 2;
  Key_Cursor_X = 0;
  Key_Cursor_Y = 1;
  Hit(KEY_UP);
  Hit(KEY_RIGHT);
  Frame();
  EXPECT_EQ(Picture()[0], ".1.......0");
  EXPECT_EQ(Picture()[1], ".0........");
}

TEST_F(LevelPlay, EnterAndSpaceInOneFrameAreTwoFrames) {
  Lay({"0........0"});
  StartPlay(1);
  Key_Cursor_X = Key_Cursor_Y = 0;
  Hit(KEY_ENTER);
  Hit(KEY_SPACE);
  Frame();
  EXPECT_EQ(Key_Cursor_Mode, 1);   // Enter showed the cursor; Space waited
  Frame();
  EXPECT_EQ(Key_Cursor_Mode, 2);   // then Space took the group under it
  EXPECT_EQ(Grabbed_Block, BlockAt(0, 0));
}

TEST_F(LevelPlay, UndoLetsGoOfTheKeyboardHoldOnTheGameScreenOnly) {
  for (int screen : {Screen_MainMenu, Screen_Game}) {
    for (bool backspace : {false, true}) {
      SCOPED_TRACE(backspace ? "Backspace" : "u");
      Lay({"0........0"});
      StartPlay(1);
      SetCurrentScreen(screen);
      ASSERT_TRUE(GrabGroupAt(0, 0));
      Key_Cursor_Mode = 2;
      if (backspace) {
        InjectKey(KEY_BACKSPACE, 1);
        InjectKey(KEY_BACKSPACE, 0);
      } else {
        InjectText(u"u");
      }
      Frame();
      if (screen == Screen_Game) {
        EXPECT_EQ(Key_Cursor_Mode, 1);
        EXPECT_EQ(Grabbed_Block, nullptr);
        EXPECT_EQ(T_BLOCK::CountSelected(), 0);
      } else {
        EXPECT_EQ(Key_Cursor_Mode, 2) << "undo on a menu";
        EXPECT_EQ(Grabbed_Block, BlockAt(0, 0));
      }
      T_BLOCK::InitRecursiveSelect();
      ReleaseHold();
      Key_Cursor_Mode = 0;
    }
  }
}

TEST_F(LevelPlay, RestartOnAMenuEntersTheCurrentLevelWithTheMusicUnchanged) {
  Lay({"0........0"});
  SetCurrentScreen(Screen_MainMenu);
  Music_Index = Track_Menu;
  Level_Index = 2;
  Level_Elapsed = 45000;
  InjectText(u"R");
  Frame();
  EXPECT_EQ(Current_Screen, Screen_Game);
  EXPECT_EQ(Picture(), Record(2));
  EXPECT_EQ(Music_Index, Track_Menu);
  EXPECT_EQ(Level_Elapsed, 0);
}

TEST_F(LevelPlay, RestartWithoutACatalogueLevelLeavesTheMenuAlone) {
  for (int index : {-1, Official_Level_Count, std::numeric_limits<int>::max()}) {
    Lay({"0........0"});
    SetCurrentScreen(Screen_MainMenu);
    Level_Index = index;
    InjectText(u"r");
    Frame();
    EXPECT_EQ(Current_Screen, Screen_MainMenu) << index;
    EXPECT_EQ(Picture()[0], "0........0") << index;
    EXPECT_EQ(Level_Index, index);
  }
}

TEST_F(LevelPlay, PlayFirstUnsolvedTakesTheFirstLevelWithoutABestTime) {
  std::vector<uint8_t> saved = Level_Bank->Bytes;
  auto link = [](int i, int value) { PokeShort(Level_Bank, i * Level_Record_Size + Level_Link_Offset, value); };
  for (int i = 0; i < Official_Level_Count; i++) link(i, 0);
  for (int i = 0; i < 3; i++) link(i, 4 + 12 * i);
  SetCurrentScreen(Screen_MainMenu);
  Music_Index = Track_Menu;
  PlayFirstUnsolved();
  EXPECT_EQ(Level_Index, 3);   // level 10 is unsolved too, but later
  EXPECT_EQ(Current_Screen, Screen_Game);
  EXPECT_EQ(Music_Index, Track_In_Game);
  EXPECT_EQ(Picture(), Record(3));

  for (int i = 0; i < Official_Level_Count; i++) link(i, 4 + 12 * i);
  PlayFirstUnsolved();
  EXPECT_EQ(Level_Index, 0);   // every level solved: the first one again
  EXPECT_EQ(Picture(), Record(0));
  Level_Bank->Bytes = saved;
}

TEST_F(LevelPlay, AWinFromTheKeyboardKeepsKeyboardPlay) {
  for (int mode : {0, 1, 2}) {
    ClearBoard();
    StartPlay(1);
    Key_Cursor_Mode = mode;
    Frame();
    ASSERT_EQ(Current_Screen, Screen_Victory);
    EXPECT_EQ(Key_Cursor_Mode, mode == 0 ? 0 : 1) << mode;
  }
}

TEST_F(LevelPlay, AColourClearedByAMoveLeavesAfterItsFlashAndItsFragments) {
  Lay({"0.0......."});
  StartPlay(1);
  ASSERT_TRUE(GrabGroupAt(0, 0));
  Key_Cursor_Mode = 2;
  Hit(KEY_RIGHT);
  Frame();
  EXPECT_EQ(Picture()[0], ".**.......");
  EXPECT_EQ(FX_List.size(), 2u);
  for (int i = 0; i < 25; i++) Frame();
  EXPECT_TRUE(Block_List.empty());
  EXPECT_EQ(Current_Screen, Screen_Game);   // the fragments still fly
  for (int i = 0; i < 400 && Current_Screen == Screen_Game; i++) Frame();
  EXPECT_TRUE(FX_List.empty());
  EXPECT_EQ(Current_Screen, Screen_Victory);
  EXPECT_EQ(Key_Cursor_Mode, 1);
}

}  // namespace

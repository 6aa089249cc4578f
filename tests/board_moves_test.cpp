// The move rules as a player meets them: merging, blocking, the drag that chases the pointer,
// completion, menu clicks, the style row, the keyboard hand, and holds that must end.
#include "tests/board_fixture.h"

#include <limits>

#include "app/sidebar.h"
#include "tests/scratch_folder.h"

namespace {

using Rows = std::vector<std::string>;

TEST_F(BoardTest, GroupsMergeOnSideContactButNotDiagonally) {
  Lay({"00........",
       "...0......",
       "..........",
       "..........",
       "..........",
       "..........",
       "..........",
       ".........0"});
  ASSERT_TRUE(GrabGroupAt(0, 0));
  ASSERT_EQ(TryMove(1, 0), 1);
  // (2,0) and (3,1) touch only at a corner.
  EXPECT_EQ(Held(), (Rows{".HH.......", "..........", "..........", "..........", "..........",
                          "..........", "..........", ".........."}));
  ASSERT_EQ(TryMove(0, 1), 1);
  EXPECT_EQ(Held(), (Rows{"..........", ".HHH......", "..........", "..........", "..........",
                          "..........", "..........", ".........."}));
  EXPECT_EQ(T_BLOCK::CountSelected(), 3);
  EXPECT_EQ(Grabbed_Block->CheckCompleteBlock(), 0);
}

struct StepCase {
  const char* Name;
  Rows Board;
  int GrabX, GrabY, Dx, Dy;
  int Expected;
};

TEST_F(BoardTest, AGroupMovesOnlyIntoFreeCellsOrCellsItLeaves) {
  const StepCase cases[] = {
      {"bar of three into a free cell", {"000.......", ".........0"}, 0, 0, 1, 0, 1},
      {"bar against another colour", {"0001......", ".........0"}, 1, 0, 1, 0, 0},
      {"bar against the right edge", {".......000", "0........."}, 8, 0, 1, 0, 0},
      {"column against the top edge", {"0.........", "0.........", ".........0"}, 0, 1, 0, -1, 0},
      {"L shape turning into its own cells", {"00........", "0.........", ".........0"}, 0, 0, 0, 1, 1},
      {"L shape blocked under its foot", {"00........", "01........", ".........0"}, 0, 0, 0, 1, 0},
      {"staying put is always allowed", {"0001......", ".........0"}, 0, 0, 0, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Rows board = c.Board;
    board.resize(Board_Height, "..........");
    Lay(board);
    ASSERT_TRUE(GrabGroupAt(c.GrabX, c.GrabY));
    auto before = Picture();
    EXPECT_EQ(TryMove(c.Dx, c.Dy), c.Expected);
    if (c.Expected == 0) {
      EXPECT_EQ(Picture(), before);
    }
  }
}

TEST_F(BoardTest, TheDragFollowsTheLargerOffsetAndTiesGoVertical) {
  struct Case {
    int PointerX, PointerY, EndX, EndY;
  };
  const Case cases[] = {
      {6, 3, 5, 4},   // two right, one up: right
      {6, 2, 4, 3},   // two right, two up: up
      {4, 6, 4, 5},   // straight down
      {1, 4, 3, 4},   // left
      {4, 4, 4, 4},   // on its own cell: no step
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.PointerX * 10 + c.PointerY);
    Lay({"..........", "..........", "..........", "..........", "....0.....", "..........",
         "..........", ".........0"});
    MouseFrame(4, 4, 1, 1);
    ASSERT_EQ(Drag_State, 1);
    MouseFrame(c.PointerX, c.PointerY, 0, 1);
    EXPECT_EQ(Grabbed_Block->XMap, c.EndX);
    EXPECT_EQ(Grabbed_Block->YMap, c.EndY);
  }
}

TEST_F(BoardTest, ABlockedDragReanchorsOnTheHeldBlockUnderThePointer) {
  Lay({"..........", "..........", "..........", "..0001....", "..........", "..........",
       "..........", ".........0"});
  MouseFrame(2, 3, 1, 1);
  T_BLOCK* right_end = Block_Grid[4][3];
  MouseFrame(4, 3, 0, 1);   // right is blocked by colour 1
  EXPECT_EQ(Grabbed_Block, right_end);
  EXPECT_EQ(Drag_Cell_X, 4);
  MouseFrame(4, 2, 0, 1);   // measured from the new anchor: one up
  EXPECT_EQ(Picture()[2], "..000.....");
  EXPECT_EQ(Grabbed_Block, right_end);
  MouseFrame(4, 2, 0, 1);   // the pointer is on the anchor: nothing more
  EXPECT_EQ(Picture()[2], "..000.....");
}

TEST_F(BoardTest, AColourAlreadyWholeClearsOnTheFirstDragFrame) {
  Lay({"..........", "....2.....", "..........", "..........", "..........", "..........",
       "..........", "1........."});
  MouseFrame(4, 1, 1, 1);
  EXPECT_EQ(Block_Grid[4][1]->Timer, 0);
  int64_t now = Now;
  MouseFrame(4, 1, 0, 1);   // button still down
  EXPECT_EQ(Block_Grid[4][1]->Timer, now + 300);
  EXPECT_EQ(Drag_State, 0);
  EXPECT_EQ(Grabbed_Block, nullptr);
}

TEST_F(BoardTest, TakenWithTheKeyboardALoneColourClearsOnlyByAStepThatHappens) {
  Lay({"....2.....", "..........", "..........", "..........", "..........", "..........",
       "..........", "1........."});
  Key_Cursor_Mode = 1;
  Key_Cursor_X = 4;
  HandleSelectKey();
  ASSERT_EQ(Key_Cursor_Mode, 2);
  MoveByKey(3);   // up, off the board: refused
  EXPECT_EQ(Block_Grid[4][0]->Timer, 0);
  EXPECT_EQ(Key_Cursor_Mode, 2);
  MoveByKey(1);   // down
  EXPECT_EQ(Block_Grid[4][1]->Timer, Now + 300);
  EXPECT_EQ(Key_Cursor_Mode, 1);
  EXPECT_EQ(Key_Cursor_Y, 1);
}

TEST_F(BoardTest, AFlashingBlockStillBlocksUntilItIsGone) {
  Lay({"..........", "..........", "..........", "....01....", "..........", "..........",
       "..........", ".........0"});
  Block_Grid[5][3]->Timer = Now + 300;
  ASSERT_TRUE(GrabGroupAt(4, 3));
  EXPECT_EQ(TryMove(1, 0), 0);
  EXPECT_FALSE(GrabGroupAt(5, 3));   // and it cannot be taken
  RemoveExpiredBlocks(Now + 300);
  EXPECT_EQ(Block_Grid[5][3], nullptr);
  ASSERT_TRUE(GrabGroupAt(4, 3));
  EXPECT_EQ(TryMove(1, 0), 1);
}

// A menu option: a loose block at (2,3) and the bar "Play" at (4..7, 3), colour 0, choice 10.
static void LayMenuOption() {
  ClearBoard();
  T_BLOCK::addBlock(2, 3, 0)->SetMenu(u"", 10);
  T_BLOCK::addBlock(4, 3, 0)->SetMenu(u"Play", 10);
  for (int x = 5; x <= 7; x++) T_BLOCK::addBlock(x, 3, 0)->SetMenu(u"!", 10);
  T_BLOCK::addBlock(0, 7, 1);   // a decoration of another colour
  T_BLOCK::ShapeAllBlocks();
}

TEST_F(BoardTest, AQuickClickOnAMenuLabelChoosesItsOption) {
  struct Case {
    const char* Name;
    int PressX;
    int HoldMs;
    int MoveDown;   // drag the bar one row down before letting go
    int Chosen;
  };
  const Case cases[] = {
      {"click on the caption block", 4, 100, 0, 1},
      {"click on a continuation block", 6, 100, 0, 1},
      {"held too long", 5, 450, 0, 0},
      {"moved before release", 5, 40, 1, 0},
      {"click on the loose block", 2, 100, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetCurrentScreen(Screen_MainMenu);
    Pending_Screen = 0;
    Menu_Slide = 0;
    LayMenuOption();
    MouseFrame(c.PressX, 3, 1, 1);
    if (c.MoveDown) MouseFrame(c.PressX, 4, 0, 1);
    Now += c.HoldMs;
    MouseFrame(c.PressX, 3 + c.MoveDown, 0, 0);
    EXPECT_EQ(Pending_Screen, c.Chosen ? 10 : 0);
    EXPECT_EQ(Menu_Slide, c.Chosen);
    EXPECT_EQ(Block_Grid[0][7]->Timer, 0);
    int dying = 0;
    for (auto& b : Block_List) dying += b->Timer != 0;
    EXPECT_EQ(dying, c.Chosen ? 5 : 0);
    EXPECT_EQ(Grabbed_Block, nullptr);
    if (c.Chosen) {
      EXPECT_EQ(Pop_Text, u"Play");
      EXPECT_EQ(Pop_Text_X, 4 * Block_Size + 2 * Block_Size);
    }
  }
}

TEST_F(BoardTest, CompletingAMenuColourChoosesItsOptionOnce) {
  SetCurrentScreen(Screen_MainMenu);
  LayMenuOption();
  MouseFrame(2, 3, 1, 1);
  MouseFrame(3, 3, 0, 1);   // the loose block joins the bar
  EXPECT_EQ(Pending_Screen, 10);
  EXPECT_EQ(Drag_State, 0);
  Pending_Screen = 0;   // a later click on the flashing bar takes nothing
  MouseFrame(5, 3, 1, 1);
  MouseFrame(5, 3, 0, 0);
  EXPECT_EQ(Pending_Screen, 0);
}

TEST_F(BoardTest, HoveringALabelMarksItsOption) {
  SetCurrentScreen(Screen_MainMenu);
  LayMenuOption();
  MouseFrame(6, 3, 0, 0);
  EXPECT_EQ(Hover_Menu, 10);
  MouseFrame(2, 3, 0, 0);   // the loose block carries no caption
  EXPECT_EQ(Hover_Menu, -1);
  MouseFrame(4, 3, 0, 0);
  EXPECT_EQ(Hover_Menu, 10);
  MouseFrame(4, 6, 0, 0);
  EXPECT_EQ(Hover_Menu, -1);
}

TEST_F(BoardTest, TheStyleRowBindsColoursToTheBlocksStandingInIt) {
  SetCurrentScreen(Screen_Style);
  ScratchFolder scratch;
  const String saved_profile = Profile_File;
  Profile_File = scratch.File("board_style_profile.txt");
  ClearBoard();
  T_BLOCK::addBlock(5, 3, 12 + 6);
  T_BLOCK::ShapeAllBlocks();
  MouseFrame(5, 3, 1, 1);
  MouseFrame(5, 3, 0, 1);   // a lone style block is never cleared
  MouseFrame(5, 4, 0, 1);
  EXPECT_EQ(User_Style[3], 12);
  EXPECT_EQ(Block_Grid[5][4]->Timer, 0);
  EXPECT_GT(FileSize(Profile_File), 0);
  for (int k : {0, 1, 2, 4, 5}) EXPECT_EQ(User_Style[k], k);
  Profile_File = saved_profile;
}

TEST_F(BoardTest, TheKeyboardShowsTakesMovesAndLetsGo) {
  Lay({"..........", "..........", "..........", "...00.....", "..........", "..........",
       "..........", ".........0"});
  Key_Cursor_X = 3;
  Key_Cursor_Y = 3;
  HandleSelectKey();
  EXPECT_EQ(Key_Cursor_Mode, 1);
  HandleSelectKey();
  EXPECT_EQ(Key_Cursor_Mode, 2);
  EXPECT_EQ(T_BLOCK::CountSelected(), 2);
  MoveByKey(1);
  EXPECT_EQ(Picture()[4], "...00.....");
  EXPECT_EQ(Key_Cursor_Y, 4);
  HandleSelectKey();
  EXPECT_EQ(Key_Cursor_Mode, 1);
  EXPECT_EQ(Grabbed_Block, nullptr);
  EXPECT_EQ(T_BLOCK::CountSelected(), 0);
  MoveByKey(0);   // the free cursor moves alone
  EXPECT_EQ(Key_Cursor_X, 4);
  EXPECT_EQ(Picture()[4], "...00.....");
}

TEST_F(BoardTest, TheHiddenCursorNeverLeavesTheBoardDuringAMouseDrag) {
  Lay({"........0.", "..........", "..........", "0.........", "..........", "..........",
       "..........", ".........1"});
  Key_Cursor_X = 9;
  Key_Cursor_Y = 7;
  MouseFrame(0, 3, 1, 1);
  MoveByKey(0);
  MoveByKey(1);
  EXPECT_EQ(Picture()[4], ".0........");
  EXPECT_EQ(Key_Cursor_X, 9);
  EXPECT_EQ(Key_Cursor_Y, 7);
  // Enter now indexes the grids at the cursor: it must be a cell of the board.
  HandleSelectKey();
  HandleSelectKey();
  EXPECT_EQ(Key_Cursor_Mode, 2);
  EXPECT_EQ(Grabbed_Block, Block_Grid[9][7]);
}

TEST_F(BoardTest, AMousePressEndsAKeyboardHold) {
  Lay({"00........", "..........", "..........", "..........", "..........", "..........",
       "..........", ".........0"});
  Key_Cursor_Mode = 1;
  HandleSelectKey();
  ASSERT_EQ(Key_Cursor_Mode, 2);
  MouseFrame(5, 5, 1, 1);   // on an empty cell
  EXPECT_EQ(Key_Cursor_Mode, 0);
  EXPECT_EQ(Grabbed_Block, nullptr);
  EXPECT_EQ(T_BLOCK::CountSelected(), 0);
  MoveByKey(0);
  EXPECT_EQ(Picture()[0], "00........");
}

TEST_F(BoardTest, ArrowsMoveNothingWhenNoHandHoldsAGroup) {
  Lay({"0.........", "..........", "..........", "..........", "..........", "..........",
       "..........", ".........0"});
  ASSERT_TRUE(GrabGroupAt(0, 0));
  ReleaseHold();
  MoveByKey(0);
  EXPECT_EQ(Picture()[0], "0.........");
}

TEST_F(BoardTest, ClearingTheBoardEndsEveryHold) {
  Lay({"0.........", "..........", "..........", "..........", "..........", "..........",
       "..........", ".........0"});
  MouseFrame(0, 0, 1, 1);
  ASSERT_EQ(Drag_State, 1);
  Lay({"..........", "..........", "..........", "..........", "..........", "..........",
       "..........", "1........1"});   // an undo lays a new board while the button is down
  EXPECT_EQ(Grabbed_Block, nullptr);
  EXPECT_EQ(Drag_State, 0);
  MouseFrame(1, 0, 0, 1);   // still pulling: nothing moves, nothing breaks
  MoveByKey(0);
  EXPECT_EQ(Picture()[7], "1........1");

  Key_Cursor_Mode = 1;
  Key_Cursor_X = 0;
  Key_Cursor_Y = 7;
  HandleSelectKey();
  ASSERT_EQ(Key_Cursor_Mode, 2);
  ClearBoard();
  EXPECT_EQ(Key_Cursor_Mode, 1);
  EXPECT_EQ(Grabbed_Block, nullptr);
}

TEST_F(BoardTest, AGrabbedBlockThatLeavesTheBoardIsLetGo) {
  Lay({"....2.....", "..........", "..........", "..........", "..........", "..........",
       "..........", "1........."});
  Key_Cursor_Mode = 1;
  Key_Cursor_X = 4;
  HandleSelectKey();
  MoveByKey(1);   // completes colour 2; the cursor is shown again, the block flashes
  ASSERT_NE(Grabbed_Block, nullptr);
  RemoveExpiredBlocks(Now + 300);
  EXPECT_EQ(Grabbed_Block, nullptr);
  EXPECT_EQ(Block_List.size(), 1u);
}

TEST_F(BoardTest, APointerJustLeftOfTheBoardReadsColumnZero) {
  Lay({"..........", "..........", "0.........", "..........", "..........", "..........",
       "..........", ".........0"});
  Mouse_X = -(Block_Size - 1);
  Mouse_Y = 2 * Block_Size + 5;
  Mouse_Hit = Mouse_Down = 1;
  MouseControl();
  EXPECT_EQ(Grabbed_Block, Block_Grid[0][2]);
}

TEST_F(BoardTest, AReplayStepGrabsStepsLetsGoAndClears) {
  Lay({"0.0.......", "..........", "1........1", "..........", "..........", "..........",
       "..........", "....2....."});
  EXPECT_FALSE(ReplayStep(0, 0, 2));   // off the board: nothing changes
  EXPECT_FALSE(ReplayStep(1, 0, 0));   // empty cell
  EXPECT_EQ(Picture()[0], "0.0.......");
  EXPECT_TRUE(ReplayStep(0, 0, 0));    // the two blocks of colour 0 meet and leave
  EXPECT_EQ(Picture()[0], "..........");
  EXPECT_TRUE(ReplayStep(4, 7, -1));   // colour 2 is whole already: taking it clears it
  EXPECT_EQ(Picture()[7], "..........");
  for (int i = 0; i < 8; i++) ASSERT_TRUE(ReplayStep(i, 2, 0));
  EXPECT_TRUE(Block_List.empty());
  EXPECT_EQ(Grabbed_Block, nullptr);
  EXPECT_EQ(T_BLOCK::CountSelected(), 0);
}

}  // namespace

// What the rules announce, in order, with nothing but a recorder listening: each row plays a
// few steps on a board of one use and lists the events the game's effects would turn into
// sounds, fragments, particles, a pop-up, a profile write or a message.
#include "tests/rules/rules_fixture.h"

#include "board/undo.h"
#include "tests/scratch_folder.h"

namespace {

std::string Log;

void Record(const std::string& what) { Log += (Log.empty() ? "" : " ") + what; }

class BoardEventsTest : public RulesTest {
 protected:
  void SetUp() override {
    Board_Events = BoardEvents{};
    BoardEvents& e = Board_Events;
    e.Block_Made = [](T_BLOCK* b) { Record("made" + std::to_string(b->XMap) + std::to_string(b->YMap)); };
    e.Block_Removed = [](T_BLOCK* b) { Record("removed" + std::to_string(b->XMap) + std::to_string(b->YMap)); };
    e.Block_Expired = [](T_BLOCK* b) { Record("expired" + std::to_string(b->XMap) + std::to_string(b->YMap)); };
    e.Board_Cleared = [] { Record("cleared"); };
    e.Group_Stepped = [] { Record("stepped"); };
    e.Groups_Merged = [] { Record("merged"); };
    e.Colour_Completed = [](int dx, int dy) { Record("completed" + std::to_string(dx) + std::to_string(dy)); };
    e.Menu_Option_Chosen = [](int menu) { Record("chose" + std::to_string(menu)); };
    e.Style_Row_Changed = [](int changed) { Record("styles" + std::to_string(changed)); };
    e.Step_Undone = [] { Record("undone"); };
    e.File_Problem = [](const String& text) { Record(ToUtf8(text)); };
    RulesTest::SetUp();
    Log.clear();
  }
  void TearDown() override {
    RulesTest::TearDown();
    Board_Events = BoardEvents{};
  }
};

struct Step {
  int X, Y, Dx, Dy;   // grab (X, Y), step by (Dx, Dy), let go
};

TEST_F(BoardEventsTest, EachStepAnnouncesWhatItSetsGoingInOrder) {
  struct Case {
    const char* Name;
    int Use;
    std::vector<std::string> Board;
    std::vector<Step> Steps;
    const char* Expected;
  };
  const Case cases[] = {
      {"a refused step announces nothing", Board_Level, {"01"}, {{0, 0, 1, 0}}, ""},
      {"a step into a free cell", Board_Level, {"0.1", "..1", "0.."}, {{0, 0, 1, 0}}, "stepped"},
      {"a step that merges and completes, then the flash ends", Board_Level, {"0.0", "1.1"}, {{0, 0, 1, 0}},
       "merged stepped completed10 expired10 expired20"},
      {"taking a whole colour completes it without a step", Board_Level, {"00", "1."}, {{0, 0, 0, 0}},
       "completed00 expired00 expired10"},
      {"on a menu a completion also chooses", Board_Menu, {"0.00", "1..."}, {{0, 0, 1, 0}},
       "merged stepped completed10 chose7 expired10 expired20 expired30"},
      {"on the style board nothing clears", Board_Style, {"0.0", "1.1"}, {{0, 0, 1, 0}}, "merged stepped"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Board_Use = c.Use;
    Lay(c.Board);
    for (auto& b : Block_List) b->Menu = 7;
    Log.clear();
    for (const Step& s : c.Steps) {
      ASSERT_TRUE(GrabGroupAt(s.X, s.Y));
      TryMove(s.Dx, s.Dy);
      T_BLOCK::InitRecursiveSelect();
      ReleaseHold();
      RemoveExpiredBlocks(Now + Colour_Flash_Time);
    }
    EXPECT_EQ(Log, c.Expected);
  }
}

TEST_F(BoardEventsTest, BlocksAreAnnouncedAsTheyComeAndGo) {
  Lay({"0", "01"});
  EXPECT_EQ(Log, "cleared made00 made01 made11");
  Log.clear();
  ASSERT_TRUE(GrabGroupAt(0, 0));
  T_BLOCK::DeleteSelectedBlocks();
  EXPECT_EQ(Log, "removed00 removed01");
  Log.clear();
  ClearBoard();
  EXPECT_EQ(Log, "cleared");
}

TEST_F(BoardEventsTest, TheStyleRowAnnouncesHowManyColoursChanged) {
  Board_Use = Board_Style;
  ClearBoard();
  T_BLOCK::addBlock(2, 3, 6 + 9);   // into colour 0's slot
  T_BLOCK::addBlock(4, 4, 6 + 2);   // colour 2's slot already holds style 2
  T_BLOCK::addBlock(7, 3, 6 + 30);  // into colour 5's slot
  Log.clear();
  for (int x : {2, 7}) {
    ASSERT_TRUE(GrabGroupAt(x, 3));
    TryMove(0, 1);
    ReleaseHold();
  }
  EXPECT_EQ(Log, "stepped styles1 stepped styles1");
  EXPECT_EQ(User_Style[0], 9);
  EXPECT_EQ(User_Style[2], 2);
  EXPECT_EQ(User_Style[5], 30);
}

TEST_F(BoardEventsTest, UndoAndFileTroubleAreAnnounced) {
  const String saved = Undo_File;
  ScratchFolder scratch;
  Undo_File = scratch.File("undo.bin");
  Lay({"0.0", "1.1"});
  StartUndoHistory();
  ASSERT_TRUE(GrabGroupAt(2, 1));
  TryMove(0, 1);
  ReleaseHold();
  SaveUndoStep();
  Log.clear();
  EXPECT_EQ(UndoStep(), 1);
  EXPECT_EQ(Log, "cleared made00 made20 made01 made21 undone");

  Log.clear();
  Undo_File = FromUtf8("/nowhere/qUaRk_Undo.bin");
  StartUndoHistory();
  LoadShapeTable(u"/nowhere/TabFrame3.bin");
  EXPECT_EQ(Log, "Can't write /nowhere/qUaRk_Undo.bin error reading /nowhere/TabFrame3.bin");
  Undo_File = saved;
}

// The move that empties the board is announced before its step reaches the history (so the
// game can keep the win safe first), and its undo before the step goes. A history that ends on
// an empty board is never resumed; it is dropped unless a win still waits for it, and with
// nobody to keep wins (the rules alone) none does.
TEST_F(BoardEventsTest, TheWinningStepIsAnnouncedFirstAndAWonHistoryIsNeverResumed) {
  static bool waiting;
  waiting = false;
  const String saved = Undo_File;
  ScratchFolder scratch;
  Undo_File = scratch.File("undo.bin");
  BoardEvents& e = Board_Events;
  e.Block_Made = e.Block_Removed = e.Block_Expired = nullptr;
  e.Board_Cleared = e.Group_Stepped = e.Groups_Merged = nullptr;
  e.Colour_Completed = nullptr;
  e.Winning_Step = [](int moves) {
    Record("won" + std::to_string(moves) + "/" + std::to_string(FileSize(Undo_File) / Board_Cells));
  };
  e.Winning_Step_Undone = [] { Record("unwon/" + std::to_string(FileSize(Undo_File) / Board_Cells)); };
  e.History_Ending = [] { Record("ending"); };
  e.Win_Waiting = [] { return waiting; };

  Lay({"0.0"});
  StartUndoHistory();
  ASSERT_TRUE(GrabGroupAt(0, 0));
  TryMove(1, 0);
  SaveUndoStep();   // the flash has begun: the blocks count as empty
  ReleaseHold();
  EXPECT_EQ(Log, "ending won1/1");
  EXPECT_EQ(Undo_Count, 2);
  Log.clear();
  EXPECT_EQ(UndoStep(), 1);
  EXPECT_EQ(Log, "unwon/2 undone");

  // The history ends on the empty board again, as a kill at the win leaves it.
  ClearBoard();
  SaveUndoStep();
  Lay({"1"});
  for (bool win_waits : {true, false}) {
    SCOPED_TRACE(win_waits ? "a win waits" : "no win waits");
    waiting = win_waits;
    Log.clear();
    EXPECT_EQ(ResumeSavedGame(), 0);
    EXPECT_EQ(Log, "ending");
    EXPECT_EQ(FileSize(Undo_File) > 0, win_waits);
    EXPECT_EQ(Picture()[0][0], '1') << "the board stays as it was";
  }
  ClearBoard();
  StartUndoHistory();
  ClearBoard();
  SaveUndoStep();
  Board_Events = BoardEvents{};
  EXPECT_EQ(ResumeSavedGame(), 0);
  EXPECT_LT(FileSize(Undo_File), 0);
  Undo_File = saved;
}

}  // namespace

// The undo history on disk: steps recorded by real drags, undo and resume, and every way the
// file can be missing, short, damaged or unwritable without the recorded game being lost.
#include <string>
#include <vector>

#include "app/state.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "levels/catalogue.h"
#include "levels/pending_wins.h"
#include "tests/board_fixture.h"
#include "tests/file_faults.h"

namespace {

using Rows = std::vector<std::string>;

const Rows Start = {
    "..........",
    ".0........",
    "..........",
    "...1......",
    "..........",
    "..........",
    ".........0",
    "1.........",
};

// The board of step i of a history, in the fixture's picture rows.
Rows StepRows(const std::string& history, int i) {
  Rows rows(Board_Height, std::string(Board_Width, '.'));
  for (int c = 0; c < Board_Cells; c++) {
    uint8_t v = static_cast<uint8_t>(history.at(static_cast<size_t>(i) * Board_Cells + c));
    if (v != 0) rows[c / Board_Width][c % Board_Width] = static_cast<char>('0' + v - 1);
  }
  return rows;
}

// 80 cell bytes of a picture.
std::string StepBytes(const Rows& rows) {
  std::string bytes(Board_Cells, '\0');
  for (int y = 0; y < Board_Height; y++) {
    for (int x = 0; x < Board_Width; x++) {
      char c = rows[y][x];
      if (c != '.') bytes[y * Board_Width + x] = static_cast<char>(c - '0' + 1);
    }
  }
  return bytes;
}

// The start position with the colour-1 block of row 3 moved k cells right.
Rows Shifted(int k) {
  Rows rows = Start;
  rows[3][3] = '.';
  rows[3][3 + k] = '1';
  return rows;
}

class Undo : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    Saved_Undo_File = Undo_File;
    Saved_Win_File = Win_File;
    Undo_File = Folder.File("qUaRk_Undo.bin");
    Win_File = Folder.File("qUaRk_Win.bin");
  }
  void TearDown() override {
    Undo_File = Saved_Undo_File;
    Win_File = Saved_Win_File;
    BoardTest::TearDown();
  }
  String Temporary() const { return Undo_File + u"_t"; }
  std::string History() const { return ReadWhole(Undo_File); }
  // A history of the given steps on disk, as a resumed game would have it.
  void WriteHistory(const std::vector<Rows>& steps, const std::string& tail = "") const {
    std::string bytes;
    for (const Rows& r : steps) bytes += StepBytes(r);
    WriteWhole(Undo_File, bytes + tail);
  }
  // Drags the colour-1 block `cells` cells to the right, one drag frame per cell.
  void DragRight(int from_x, int cells) {
    MouseFrame(from_x, 3, 1, 1);
    for (int k = 1; k <= cells; k++) MouseFrame(from_x + k, 3, 0, 1);
    MouseFrame(from_x + cells, 3, 0, 0);
  }

  ScratchFolder Folder;
  String Saved_Undo_File, Saved_Win_File;
};

TEST_F(Undo, ALevelJustStartedHasOneStepThatCannotBeTakenBack) {
  Lay(Start);
  StartUndoHistory();
  EXPECT_EQ(Undo_Count, 1);
  EXPECT_EQ(History(), StepBytes(Start));
  EXPECT_EQ(UndoStep(), 0);
  EXPECT_EQ(Undo_Count, 1);
  EXPECT_EQ(Picture(), Start);
}

TEST_F(Undo, StartingAgainDropsTheOldHistory) {
  WriteHistory({Shifted(1), Shifted(2), Shifted(3)});
  Lay(Start);
  StartUndoHistory();
  EXPECT_EQ(Undo_Count, 1);
  EXPECT_EQ(History(), StepBytes(Start));
}

TEST_F(Undo, ThreeDragStepsThenTwoUndosLeaveStepOne) {
  Lay(Start);
  StartUndoHistory();
  DragRight(3, 3);
  ASSERT_EQ(Picture(), Shifted(3));
  EXPECT_EQ(Undo_Count, 4);
  std::string history = History();
  ASSERT_EQ(history.size(), 320u);
  for (int k = 0; k < 4; k++) EXPECT_EQ(StepRows(history, k), Shifted(k)) << "step " << k;

  EXPECT_EQ(UndoStep(), 1);
  EXPECT_EQ(UndoStep(), 1);
  EXPECT_EQ(Undo_Count, 2);
  EXPECT_EQ(Picture(), Shifted(1));
  EXPECT_EQ(History(), history.substr(0, 160));
  EXPECT_FALSE(Exists(Temporary()));

  // The next move is recorded after the restored position.
  DragRight(4, 1);
  EXPECT_EQ(Undo_Count, 3);
  EXPECT_EQ(History(), history.substr(0, 160) + StepBytes(Shifted(2)));
}

TEST_F(Undo, RedoAfterThreeUndosRestoresEachBoardAndWritesTheHistoryAsPlayed) {
  Lay(Start);
  StartUndoHistory();
  DragRight(3, 3);
  const std::string played = History();
  EXPECT_EQ(RedoStep(), 0) << "nothing undone, nothing to redo";
  for (int k = 0; k < 3; k++) ASSERT_EQ(UndoStep(), 1);
  EXPECT_EQ(Picture(), Shifted(0));
  EXPECT_EQ(Redo_Steps.size(), 3u);
  for (int k = 1; k <= 3; k++) {
    ASSERT_EQ(RedoStep(), 1) << "redo " << k;
    EXPECT_EQ(Picture(), Shifted(k)) << "redo " << k;
    EXPECT_EQ(Undo_Count, k + 1) << "redo " << k;
    EXPECT_EQ(History(), played.substr(0, static_cast<size_t>(k + 1) * Board_Cells)) << "redo " << k;
  }
  EXPECT_EQ(RedoStep(), 0);
  EXPECT_EQ(History(), played);
  // Undo and redo again go through the same boards.
  ASSERT_EQ(UndoStep(), 1);
  ASSERT_EQ(RedoStep(), 1);
  EXPECT_EQ(History(), played);
}

TEST_F(Undo, ANewMoveARestartOrAFreshBoardDropTheStepsToRedo) {
  Lay(Start);
  StartUndoHistory();
  DragRight(3, 3);
  ASSERT_EQ(UndoStep(), 1);
  ASSERT_EQ(UndoStep(), 1);
  // The same step as the one undone, but played: the other undone step is gone too.
  DragRight(4, 1);
  EXPECT_TRUE(Redo_Steps.empty());
  EXPECT_EQ(RedoStep(), 0);
  EXPECT_EQ(Picture(), Shifted(2));
  ASSERT_EQ(UndoStep(), 1);
  StartUndoHistory();
  EXPECT_EQ(RedoStep(), 0);
  ASSERT_EQ(UndoStep(), 0);
  DragRight(4, 1);
  ASSERT_EQ(UndoStep(), 1);
  ResetBoardState();
  EXPECT_TRUE(Redo_Steps.empty());
}

TEST_F(Undo, ARedoThatCannotBeWrittenChangesNothing) {
  Lay(Start);
  StartUndoHistory();
  DragRight(3, 1);
  ASSERT_EQ(UndoStep(), 1);
  // The history now lives in a folder that does not exist: nothing can be written there.
  Undo_File = Folder.File("missing_folder/qUaRk_Undo.bin");
  EXPECT_EQ(RedoStep(), 0);
  EXPECT_EQ(Picture(), Shifted(0));
  EXPECT_EQ(Redo_Steps.size(), 1u) << "the step stays to be redone";
}

TEST_F(Undo, AnArrowDuringADragRecordsEachPositionOnce) {
  Lay(Start);
  StartUndoHistory();
  MouseFrame(3, 3, 1, 1);   // takes hold of the colour-1 block
  MoveByKey(0);             // an arrow pushes it one cell right
  ASSERT_EQ(Undo_Count, 2);
  ASSERT_EQ(Picture(), Shifted(1));
  MouseFrame(4, 3, 0, 1);   // the pointer follows it there: nothing new to record
  EXPECT_EQ(Undo_Count, 2);
  MouseFrame(5, 3, 0, 1);
  EXPECT_EQ(Undo_Count, 3);
  const std::string history = History();
  for (int i = 0; i < 3; i++) EXPECT_EQ(StepRows(history, i), Shifted(i)) << "step " << i;
}

TEST_F(Undo, AnUndoDuringADragLetsGoOfTheGroup) {
  Lay(Start);
  StartUndoHistory();
  MouseFrame(3, 3, 1, 1);
  MouseFrame(4, 3, 0, 1);
  MouseFrame(5, 3, 0, 1);
  ASSERT_EQ(Drag_State, 1);
  EXPECT_EQ(UndoStep(), 1);
  EXPECT_EQ(Grabbed_Block, nullptr);
  EXPECT_EQ(Drag_State, 0);
  // The pointer still held down moves nothing and records nothing.
  MouseFrame(7, 3, 0, 1);
  EXPECT_EQ(Picture(), Shifted(1));
  EXPECT_EQ(Undo_Count, 2);
}

// Enter with the keyboard hand on an empty cell takes a move back, but only in play and once no
// fragment flies: on a menu it would lay the level's last position over the menu's board.
TEST_F(Undo, EnterOnAnEmptyCellTakesAMoveBackOnlyInPlayWithNoFragmentFlying) {
  const struct {
    const char* Name;
    int Screen;
    bool Fragment;
    bool Undone;
  } cases[] = {
      {"in play", Screen_Game, false, true},
      {"a fragment still flies", Screen_Game, true, false},
      {"on a menu", Screen_MainMenu, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Lay(Start);
    StartUndoHistory();
    DragRight(3, 1);
    ASSERT_EQ(Undo_Count, 2);
    SetCurrentScreen(c.Screen);
    if (c.Fragment) {
      FX_List.push_back(std::make_unique<T_FX>());
      FX_List.back()->Timer = Now + 100000;
    }
    Key_Cursor_Mode = 1;
    Key_Cursor_X = 0;
    Key_Cursor_Y = 0;
    HandleSelectKey();
    EXPECT_EQ(Undo_Count, c.Undone ? 1 : 2);
    EXPECT_EQ(Picture(), c.Undone ? Shifted(0) : Shifted(1));
    EXPECT_EQ(Key_Cursor_Mode, 1);
    FX_List.clear();
    SetCurrentScreen(Screen_Game);
  }
}

TEST_F(Undo, AStepWrittenWhileAColourFlashesHoldsItsCellsEmpty) {
  Lay({"..........", "00.0......", "..........", "...1......", "..........", "..........", "..........",
       ".........."});
  StartUndoHistory();
  MouseFrame(1, 1, 1, 1);
  MouseFrame(2, 1, 0, 1);   // the pair joins the third block: colour 0 is whole and flashes
  ASSERT_EQ(Picture()[1], ".***......");
  EXPECT_EQ(Undo_Count, 2);
  EXPECT_EQ(StepRows(History(), 1), Rows({"..........", "..........", "..........", "...1......", "..........",
                                          "..........", "..........", ".........."}));
}

// The move that empties the board of a catalogue level puts the win into Win_File before its
// step is recorded, so a kill between the two loses no win; taking the step back takes the
// win back out.
TEST_F(Undo, TheWinIsOnDiskBeforeTheWinningStepAndGoesWithIt) {
  RegisterEmbeddedData();
  if (!Official_Bank) LoadCatalogue(u"incbin::Data/full2.lvl");
  ASSERT_GT(Official_Level_Count, 6);
  Level_Index = 6;
  Level_Elapsed = 41234;
  const Rows two = {"..........", ".0.0......", "..........", "..........",
                    "..........", "..........", "..........", ".........."};
  Lay(two);
  StartUndoHistory();
  EXPECT_FALSE(Exists(Win_File));
  MouseFrame(1, 1, 1, 1);
  MouseFrame(2, 1, 0, 1);   // the two join: the only colour is whole, and the board empties
  ASSERT_EQ(Undo_Count, 2);
  EXPECT_EQ(History().substr(80), std::string(80, '\0'));
  const int id = PeekShort(Level_Bank, 6 * Level_Record_Size + Level_Id_Offset);
  const std::string entry = {static_cast<char>(id & 255), static_cast<char>(id >> 8), 1, 0,
                             static_cast<char>(41234 & 255), static_cast<char>(41234 >> 8), 0, 0};
  EXPECT_EQ(ReadWhole(Win_File), entry);
  MouseFrame(2, 1, 0, 0);
  EXPECT_EQ(UndoStep(), 1);
  EXPECT_FALSE(Exists(Win_File));
  EXPECT_EQ(Picture(), two);

  // A history that ends on an empty board is never resumed, whatever wrote it.
  WriteHistory({two, Rows(8, "..........")});
  Undo_Count = 0;
  EXPECT_EQ(ResumeSavedGame(), 0);
  EXPECT_FALSE(Exists(Undo_File));
  EXPECT_EQ(Picture(), two);
}

TEST_F(Undo, ResumeLaysOutTheLastWholeStep) {
  const struct {
    const char* Name;
    int Steps;
    std::string Tail;   // bytes after the last whole step (a step whose writing failed)
    int Expected;       // ResumeSavedGame's result
  } cases[] = {
      {"three steps", 3, "", 1},
      {"three steps and a part", 3, std::string(10, '\2'), 1},
      {"one step", 1, "", 1},
      {"less than a step", 0, std::string(79, '\1'), 0},
      {"an empty file", 0, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<Rows> steps;
    for (int k = 0; k < c.Steps; k++) steps.push_back(Shifted(k));
    WriteHistory(steps, c.Tail);
    Lay(Start);
    Undo_Count = 0;
    EXPECT_EQ(ResumeSavedGame(), c.Expected);
    EXPECT_EQ(Undo_Count, c.Steps);
    EXPECT_EQ(Picture(), c.Steps > 0 ? Shifted(c.Steps - 1) : Start);
  }
  DeleteFile(Undo_File);
  EXPECT_EQ(ResumeSavedGame(), 0);
  EXPECT_EQ(Undo_Count, 0);
}

TEST_F(Undo, AResumedGameTakesBackItsOwnSteps) {
  WriteHistory({Shifted(0), Shifted(1), Shifted(2)}, std::string(10, '\2'));
  ASSERT_EQ(ResumeSavedGame(), 1);
  ASSERT_EQ(Undo_Count, 3);
  EXPECT_EQ(UndoStep(), 1);
  EXPECT_EQ(Picture(), Shifted(1));
  EXPECT_EQ(Undo_Count, 2);
  EXPECT_EQ(History(), StepBytes(Shifted(0)) + StepBytes(Shifted(1)));
}

TEST_F(Undo, StepsNoMoveCanWriteAreRefusedAndChangeNothing) {
  const struct {
    const char* Name;
    int Cell;
    char Byte;
  } cases[] = {
      {"a seventh colour", 0, 7},
      {"a tile style", 40, 12},
      {"a byte no style has", 79, '\xff'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string damaged = StepBytes(Shifted(1));
    damaged[c.Cell] = c.Byte;
    const std::string history = StepBytes(Shifted(0)) + damaged + StepBytes(Shifted(2));

    // Resuming onto the damaged step.
    WriteWhole(Undo_File, history.substr(0, 160));
    Lay(Start);
    Undo_Count = 0;
    EXPECT_EQ(ResumeSavedGame(), 0);
    EXPECT_EQ(Undo_Count, 0);
    EXPECT_EQ(Picture(), Start);

    // Taking back a move onto it.
    WriteWhole(Undo_File, history);
    Lay(Shifted(2));
    Undo_Count = 3;
    EXPECT_EQ(UndoStep(), 0);
    EXPECT_EQ(Undo_Count, 3);
    EXPECT_EQ(Picture(), Shifted(2));
    EXPECT_EQ(History(), history);
    for (auto& b : Block_List) EXPECT_LE(b->Kind, 5);
  }
}

TEST_F(Undo, AFailedUndoKeepsTheHistoryAndTheBoard) {
  const std::string three = StepBytes(Shifted(0)) + StepBytes(Shifted(1)) + StepBytes(Shifted(2));
  const struct {
    const char* Name;
    int Fault;               // 0 no file, 1 file shorter than the count, 2 the copy cannot be made
    int Count_Before;
    std::string Message;
    int Count_After;
  } cases[] = {
      {"no file", 0, 4, "Can't read ", 4},
      {"a short file", 1, 5, " size error !", 3},
      {"no room for the copy", 2, 4, "Can't write ", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    DeleteFile(Undo_File);
    if (c.Fault != 0) WriteWhole(Undo_File, three);
    if (c.Fault == 2) WriteWhole(Undo_File, three + StepBytes(Shifted(3)));
    if (c.Fault == 2) std::filesystem::create_directory(ToLatin1(Temporary()));
    const std::string before = History();
    Lay(Shifted(3));
    Undo_Count = c.Count_Before;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(UndoStep(), 0);
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(c.Message), std::string::npos) << said;
    EXPECT_EQ(Undo_Count, c.Count_After);
    EXPECT_EQ(Picture(), Shifted(3));
    EXPECT_EQ(History(), before);
    std::filesystem::remove(ToLatin1(Temporary()));
  }
  // After the short file the count matches it, so the next undo takes back a step that exists.
  WriteWhole(Undo_File, three);
  Undo_Count = 3;
  EXPECT_EQ(UndoStep(), 1);
  EXPECT_EQ(Picture(), Shifted(1));
}

TEST_F(Undo, AStepThatCannotBeWrittenLeavesTheRecordedStepsWhole) {
  Lay(Start);
  StartUndoHistory();
  DragRight(3, 2);
  ASSERT_EQ(Undo_Count, 3);
  const std::string recorded = History();

  // The disk fills up halfway through the next step.
  {
    WriteLimit limit(recorded.size() + 40);
    ::testing::internal::CaptureStderr();
    DragRight(5, 1);
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Can't write "), std::string::npos) << said;
  }
  EXPECT_EQ(Undo_Count, 3);
  EXPECT_EQ(History().substr(0, recorded.size()), recorded);

  // What a restart would resume is the last step that was written whole.
  Lay(Start);
  ASSERT_EQ(ResumeSavedGame(), 1);
  EXPECT_EQ(Undo_Count, 3);
  EXPECT_EQ(Picture(), Shifted(2));

  // With room again the next step goes over the part-written one.
  DragRight(5, 1);
  EXPECT_EQ(Undo_Count, 4);
  EXPECT_EQ(History(), recorded + StepBytes(Shifted(3)));
}

TEST_F(Undo, AHistoryThatIsNoFileAtAllRecordsNothingAndSaysSo) {
  Lay(Start);
  std::filesystem::create_directory(ToLatin1(Undo_File));
  Undo_Count = 0;
  ::testing::internal::CaptureStderr();
  SaveUndoStep();
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Can't write " + ToLatin1(Undo_File)), std::string::npos) << said;
  EXPECT_EQ(Undo_Count, 0);
  EXPECT_EQ(ResumeSavedGame(), 0);
}

TEST_F(Undo, TheCountFollowsAFileChangedBehindTheGamesBack) {
  // Steps lost (file deleted or cut short): the next step follows what the file holds, with
  // no gap of empty boards before it.
  WriteHistory({Shifted(0), Shifted(1)});
  Lay(Shifted(2));
  Undo_Count = 5;
  SaveUndoStep();
  EXPECT_EQ(Undo_Count, 3);
  EXPECT_EQ(History(), StepBytes(Shifted(0)) + StepBytes(Shifted(1)) + StepBytes(Shifted(2)));

  DeleteFile(Undo_File);
  SaveUndoStep();
  EXPECT_EQ(Undo_Count, 1);
  EXPECT_EQ(History(), StepBytes(Shifted(2)));

  // Steps beyond the count (another game's) do not outlive the new step.
  WriteHistory({Shifted(0), Shifted(1), Shifted(2), Shifted(3)});
  Lay(Shifted(1));
  Undo_Count = 1;
  SaveUndoStep();
  EXPECT_EQ(Undo_Count, 2);
  EXPECT_EQ(History(), StepBytes(Shifted(0)) + StepBytes(Shifted(1)));
  EXPECT_FALSE(Exists(Temporary()));
}

}  // namespace

// The board tests on an open software display, for the screens drawn and hit-tested around the
// board (side bar, level map): the catalogue, the side bar's icons and a scratch undo file ready.
#pragma once

#include "app/sidebar.h"
#include "board/undo.h"
#include "levels/catalogue.h"
#include "platform/headless.h"
#include "tests/board_fixture.h"
#include "tests/scratch_folder.h"

class ScreenTest : public BoardTest {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    if (!Official_Bank) LoadCatalogue(u"incbin::Data/full2.lvl");
  }
  // Opens a w x h display with the board at its top left and plays from the catalogue; the game
  // keeps its history in a file of this test's own.
  void OpenScreen(int w, int h) {
    OpenDisplay(w, h, 0, 60);
    ASSERT_NE(ReadPixel(0, 0), -1) << "no display";
    Resolution_X = w;
    Resolution_Y = h;
    Origin_X = Origin_Y = 0;
    SetOrigin(0, 0);
    SetViewport(0, 0, w, h);
    InitIcons();
    Level_Bank = Official_Bank;
    Official_Level_Count = BufferSize(Official_Bank) / Level_Record_Size;
    Saved_Undo_File = Undo_File;
    Undo_File = Scratch.File("undo.bin");
  }
  void TearDown() override {
    if (!Saved_Undo_File.empty()) Undo_File = Saved_Undo_File;
    Level_Bank = Official_Bank;
    Official_Level_Count = BufferSize(Official_Bank) / Level_Record_Size;
    BoardTest::TearDown();
  }

  ScratchFolder Scratch;
  String Saved_Undo_File;
};

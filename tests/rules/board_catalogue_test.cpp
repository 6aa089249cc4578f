// Laying catalogue records out on the board: the record layout, offsets that do not address a
// record, and the shipped catalogue's stored frames against the shapes the board computes.
#include "tests/rules/rules_fixture.h"

#include <memory>

#include "levels/catalogue.h"

namespace {

// A bank of records whose cells are given as text rows, one string of 80 characters each.
ByteBuffer MakeBank(const std::vector<std::string>& records) {
  ByteBuffer bank;
  bank.Bytes.assign(records.size() * Level_Record_Size, 0);
  for (size_t r = 0; r < records.size(); r++) {
    uint8_t* rec = bank.Bytes.data() + r * Level_Record_Size;
    rec[0] = static_cast<uint8_t>(r + 1);
    for (int i = 0; i < Board_Cells && i < static_cast<int>(records[r].size()); i++) {
      char c = records[r][i];
      rec[Level_Cells_Offset + i] = c == '.' ? 0 : static_cast<uint8_t>(c - '0');
    }
  }
  return bank;
}

TEST_F(RulesTest, ARecordIsLaidOutRowByRowWithItsKinds) {
  std::string cells(Board_Cells, '.');
  cells.replace(0, 10, "..6..21...");
  cells[7 * 10 + 9] = '3';
  ByteBuffer bank = MakeBank({std::string(Board_Cells, '1'), cells});
  ASSERT_EQ(LoadOfficialLevel(&bank, Level_Record_Size), 1);
  EXPECT_EQ(Picture()[0], "..5..10...");
  EXPECT_EQ(Picture()[7], ".........2");
  // Creation order is reading order.
  ASSERT_EQ(Block_List.size(), 4u);
  EXPECT_EQ(Block_List.front()->XMap, 2);
  EXPECT_EQ(Block_List.back()->YMap, 7);
}

TEST_F(RulesTest, LoadingALevelLeavesNothingOfThePreviousBoard) {
  ByteBuffer bank = MakeBank({std::string(Board_Cells, '1'), std::string(Board_Cells, '.') });
  ASSERT_EQ(LoadOfficialLevel(&bank, 0), 1);
  ASSERT_TRUE(GrabGroupAt(0, 0));
  ASSERT_EQ(LoadOfficialLevel(&bank, Level_Record_Size), 1);
  EXPECT_TRUE(Block_List.empty());
  EXPECT_EQ(Grabbed_Block, nullptr);
  for (int x = 0; x < Board_Width; x++) {
    for (int y = 0; y < Board_Height; y++) EXPECT_EQ(Block_Grid[x][y], nullptr);
  }
}

TEST_F(RulesTest, AnOffsetOutsideTheBankBuildsNothing) {
  ByteBuffer bank = MakeBank({std::string(Board_Cells, '2'), std::string(Board_Cells, '3')});
  Lay({"0.........", "", "", "", "", "", "", ""});
  for (int64_t offset : {int64_t{-404}, int64_t{2 * 404}, int64_t{2 * 404 - 1}, int64_t{405},
                         int64_t{1} << 40}) {
    EXPECT_EQ(LoadOfficialLevel(&bank, offset), 0) << offset;
    EXPECT_EQ(Picture()[0], "0.........");
  }
  EXPECT_EQ(LoadOfficialLevel(nullptr, 0), 0);
}

TEST(Catalogue, EveryShippedRecordStoresTheFramesTheBoardComputes) {
  FillShapeTableFromRule();
  std::unique_ptr<ByteBuffer> owned(LoadBuffer(FromUtf8(std::string(QUARK_SOURCE_DIR) + "/Data/full2.lvl")));
  ByteBuffer* bank = owned.get();
  ASSERT_NE(bank, nullptr);
  int count = BufferSize(bank) / Level_Record_Size;
  EXPECT_EQ(BufferSize(bank) % Level_Record_Size, 0);
  EXPECT_EQ(count, 553);
  for (int level = 0; level < count; level++) {
    int64_t offset = static_cast<int64_t>(level) * Level_Record_Size;
    ASSERT_EQ(LoadOfficialLevel(bank, offset), 1);
    int blocks = 0;
    for (int y = 0; y < Board_Height; y++) {
      for (int x = 0; x < Board_Width; x++) {
        int cell = y * Board_Width + x;
        int v = PeekByte(bank, static_cast<int>(offset) + Level_Cells_Offset + cell);
        ASSERT_LE(v, 6) << "level " << level + 1;
        const T_BLOCK* b = Block_Grid[x][y];
        ASSERT_EQ(b != nullptr, v > 0) << "level " << level + 1 << " cell " << cell;
        for (int q = 0; q < 4; q++) {
          int stored = PeekByte(bank, static_cast<int>(offset) + Level_Frames_Offset + cell * 4 + q);
          ASSERT_EQ(stored, b ? b->Frame[q] : 0) << "level " << level + 1 << " cell " << cell;
        }
        blocks += v > 0;
      }
    }
    EXPECT_EQ(static_cast<size_t>(blocks), Block_List.size());
  }
  ClearBoard();
}

}  // namespace

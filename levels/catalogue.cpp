// The level catalogue: reading it at start-up and laying a level out on the board.
#include "levels/catalogue.h"

#include "board/block.h"

ByteBuffer* Official_Bank = nullptr;
ByteBuffer* Level_Bank = nullptr;
int Official_Level_Count = 0;

int LoadCatalogue(const String& url) {
  ByteBuffer* bank = LoadBuffer(url);
  if (!bank) return 0;
  Official_Bank = Level_Bank = bank;
  Official_Level_Count = BufferSize(bank) / Level_Record_Size;
  return 1;
}

int LoadOfficialLevel(const ByteBuffer* buffer, int64_t offset) {
  if (!buffer || offset < 0 || offset + Level_Record_Size > BufferSize(buffer)) return 0;
  // The stored frames are for the map's previews; the board works its shapes out itself.
  SetBoardCells(buffer->Bytes.data() + offset + Level_Cells_Offset);
  return 1;
}

// The play area: sizes, screen modes, origin, viewport, border fix, fonts and detail levels.
#include "app/display.h"

#include "app/assets.h"
#include "app/state.h"
#include "board/block.h"
#include "ui/menu_table.h"

int Wanted_Resolution_X = 804, Wanted_Resolution_Y = 592, Wanted_Block_Size = 74;
int Resolution_X = 804, Resolution_Y = 592, Block_Size = 74;
int Desktop_Width = 0, Desktop_Height = 0;
int Origin_X = 0, Origin_Y = 0;
int Half_Block = 37;
int Screen_Mode = 0;
int Border_Fix = 0;
int Display_Quality = 0;
int Font_Size_Small = 35;
int Font_Line_Height = 40;
int Detail_Shadows = 1, Detail_Particles = 1, Detail_Previews = 1;
Image* Img_Board_Capture = nullptr;

// The sizes are rows of the menu table, beside the menus that offer them. The table is constant
// data, ready before anything is initialised at run time.
static DisplaySize TableSizeRow(int row) {
  RestoreTable(Label_Display_Sizes);
  for (int skipped = 0; skipped < 3 * row; skipped++) ReadTableInt();
  DisplaySize size;
  size.Width = ReadTableInt();
  size.Height = ReadTableInt();
  size.Cell = ReadTableInt();
  return size;
}
const DisplaySize Display_Sizes[Display_Size_Count] = {
    TableSizeRow(0), TableSizeRow(1), TableSizeRow(2), TableSizeRow(3), TableSizeRow(4),
};

// A hand-edited profile can ask for any size; the window still has to be openable, so sizes
// below one pixel per cell or absurdly large are brought back to the nearest table row.
static void KeepOpenable() {
  bool sane = Block_Size >= 8 && Block_Size <= 1024 && Resolution_X >= 10 * 8 && Resolution_Y >= 8 * 8 &&
              Resolution_X <= 16384 && Resolution_Y <= 16384;
  if (sane) return;
  const DisplaySize& row = Display_Sizes[3];
  Resolution_X = row.Width;
  Resolution_Y = row.Height;
  Block_Size = row.Cell;
}

void ApplyDisplayMode() {
  Resolution_X = Wanted_Resolution_X;
  Resolution_Y = Wanted_Resolution_Y;
  Block_Size = Wanted_Block_Size;
  KeepOpenable();
  if (Screen_Mode == 1 || Screen_Mode == 2) {
    OpenDisplay(Desktop_Width, Desktop_Height, 32, 60);
    if (Screen_Mode == 2) {
      int cell = Desktop_Height / 8;
      if (cell % 2 == 1) cell -= 1;
      // A desktop too low for a usable cell keeps the configured size, centred: a cell of 0
      // pixels would divide every pointer position by zero.
      if (cell >= 8) {
        Block_Size = cell;
        Resolution_Y = 8 * Block_Size;
        Resolution_X = 10 * Block_Size + 64;
      }
    }
    Origin_X = (Desktop_Width - Resolution_X) / 2;
    Origin_Y = (Desktop_Height - Resolution_Y) / 2;
  } else {
    OpenDisplay(Resolution_X, Resolution_Y, 0, 60);
    Origin_X = 0;
    Origin_Y = 0;
  }
  SetWindowTitle(u"qUaRk");
  SetWindowIcon(Img_Window_Icon ? Img_Window_Icon : Img_Bumper);
  ApplyViewport();
  SetOrigin(static_cast<float>(Origin_X), static_cast<float>(Origin_Y));
  Half_Block = Block_Size / 2;

  if (Font_Main) FreeFont(Font_Main);
  Font_Main = LoadFont(Font_Url, Resolution_X * 60 / 1024);
  Font_Size_Small = Resolution_X * 45 / 1024;
  Font_Line_Height = Font_Size_Small + Resolution_Y / 100;
  if (Font_Small) FreeFont(Font_Small);
  Font_Small = LoadFont(Font_Url, Font_Size_Small);
  if (Font_30) FreeFont(Font_30);
  Font_30 = LoadFont(Font_Url, 30);
  if (Font_Icon_Word) FreeFont(Font_Icon_Word);
  Font_Icon_Word = LoadFont(Font_Url, Icon_Word_Size);

  if (Img_Board_Capture) FreeImage(Img_Board_Capture);
  Img_Board_Capture = CreateImage(10 * Block_Size, 8 * Block_Size, 1, IMAGE_GRABBABLE);
}

void ApplyViewport() {
  if (Border_Fix == 0) {
    SetViewport(Origin_X, Origin_Y, Resolution_X, Resolution_Y);
  } else {
    SetViewport(0, 0, Desktop_Width, Desktop_Height);
  }
}

void WidenViewport() { SetViewport(0, 0, Desktop_Width, Desktop_Height); }

int StepDisplaySize(int direction) {
  int match = -1;
  for (int row = 0; row < Display_Size_Count; row++) {
    if (Display_Sizes[row].Height == Wanted_Resolution_Y) {
      match = row;
      break;
    }
  }
  if (match < 0) return 0;
  int target;
  if (direction == 1) {
    if (match == 0) return 0;
    target = match - 1;
  } else {
    if (match == Display_Size_Count - 1) return 0;
    target = match + 1;
  }
  Wanted_Resolution_X = Display_Sizes[target].Width;
  Wanted_Resolution_Y = Display_Sizes[target].Height;
  Wanted_Block_Size = Display_Sizes[target].Cell;
  return 1;
}

void FitDisplayToDesktop() {
  if (Wanted_Resolution_X <= Desktop_Width && Wanted_Resolution_Y <= Desktop_Height) return;
  int chosen = Display_Size_Count - 1;
  for (int row = 0; row < Display_Size_Count; row++) {
    if (Desktop_Width > Display_Sizes[row].Width && Desktop_Height > Display_Sizes[row].Height) {
      chosen = row;
      break;
    }
  }
  Wanted_Resolution_X = Display_Sizes[chosen].Width;
  Wanted_Resolution_Y = Display_Sizes[chosen].Height;
  Wanted_Block_Size = Display_Sizes[chosen].Cell;
}

void ToggleBestFit() {
  Screen_Mode = Screen_Mode == 2 ? 0 : 2;
  ApplyDisplayMode();
  // The cell size changes with the mode: blocks take their new pixel places at once.
  T_BLOCK::ShapeAllBlocks();
}

int MouseOnBoard() {
  return Mouse_X >= 0 && Mouse_X < 10 * Block_Size && Mouse_Y >= 0 && Mouse_Y < 8 * Block_Size;
}

void SetDetailLevel(int quality) {
  Display_Quality = quality;
  if (quality < 0 || quality > 2) return;
  int on = quality == 1 ? 0 : 1;
  Detail_Shadows = on;
  Detail_Particles = on;
  Detail_Previews = on;
}

void DrawBorderBands() {
  SetColour(0, 0, 0);
  SetBlend(BLEND_SOLID);
  float ox = static_cast<float>(Origin_X), oy = static_cast<float>(Origin_Y);
  float rx = static_cast<float>(Resolution_X), ry = static_cast<float>(Resolution_Y);
  DrawRect(-ox, -oy, ox, ry + 2 * oy);
  DrawRect(rx, -oy, ox, ry + 2 * oy);
  DrawRect(-ox, ry, rx + 2 * ox, oy);
  DrawRect(-ox, -oy, rx + 2 * ox, oy);
}

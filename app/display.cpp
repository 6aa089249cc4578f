// The play area: sizes, screen modes, origin, viewport, border fix, fonts and detail levels.
#include "app/display.h"

#include <algorithm>

#include "app/assets.h"
#include "app/state.h"
#include "board/block.h"
#include "ui/menu_table.h"

int Wanted_Resolution_X = Default_Display_Size.Width, Wanted_Resolution_Y = Default_Display_Size.Height;
int Wanted_Block_Size = Default_Display_Size.Cell;
int Resolution_X = Default_Display_Size.Width, Resolution_Y = Default_Display_Size.Height;
int Desktop_Width = 0, Desktop_Height = 0;
int Usable_Width = 0, Usable_Height = 0;
int Origin_X = 0, Origin_Y = 0;
int Half_Block = Default_Display_Size.Cell / 2;
int Screen_Mode = 0;
int Border_Fix = 0;
int Display_Quality = 0;
int Font_Size_Small = Default_Display_Size.Width * 45 / 1024;
int Font_Line_Height = Default_Display_Size.Width * 45 / 1024 + Default_Display_Size.Height / 100;
int Detail_Shadows = 1, Detail_Particles = 1, Detail_Previews = 1;
int Colour_Symbols = 0;
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

void ResetDisplay() {
  Resolution_X = Wanted_Resolution_X = Default_Display_Size.Width;
  Resolution_Y = Wanted_Resolution_Y = Default_Display_Size.Height;
  Block_Size = Wanted_Block_Size = Default_Display_Size.Cell;
  Half_Block = Block_Size / 2;
  Origin_X = Origin_Y = 0;
  Screen_Mode = 0;
  Border_Fix = 0;
  Display_Quality = 0;
  Colour_Symbols = 0;
  Detail_Shadows = Detail_Particles = Detail_Previews = 1;
  Font_Size_Small = Resolution_X * 45 / 1024;
  Font_Line_Height = Font_Size_Small + Resolution_Y / 100;
}

// A hand-edited profile can ask for any size; the window still has to be openable, so sizes
// below one pixel per cell or absurdly large are brought back to the nearest table row.
static void KeepOpenable() {
  bool sane = Block_Size >= 8 && Block_Size <= 1024 && Resolution_X >= 10 * 8 && Resolution_Y >= 8 * 8 &&
              Resolution_X <= 16384 && Resolution_Y <= 16384;
  if (sane) return;
  const DisplaySize& row = Display_Sizes[Default_Size_Row];
  Resolution_X = row.Width;
  Resolution_Y = row.Height;
  Block_Size = row.Cell;
}

DisplayRoom RoomForMode(int mode, int desktop_w, int desktop_h, int usable_w, int usable_h, int frame_w,
                        int frame_h) {
  // A desktop of unknown size (0) limits nothing.
  if (desktop_w <= 0) desktop_w = 1 << 30;
  if (desktop_h <= 0) desktop_h = 1 << 30;
  if (mode != 0) return {desktop_w, desktop_h};
  int w = usable_w > 0 ? std::min(usable_w, desktop_w) : desktop_w;
  int h = usable_h > 0 ? std::min(usable_h, desktop_h) : desktop_h;
  return {w - std::max(frame_w, 0), h - std::max(frame_h, 0)};
}

DisplayRoom CurrentRoom() {
  int frame_w = 0, frame_h = 0;
  WindowFrameSize(&frame_w, &frame_h);
  int mode = Screen_Mode == 1 ? 1 : 0;
  return RoomForMode(mode, Desktop_Width, Desktop_Height, Usable_Width, Usable_Height, frame_w, frame_h);
}

static bool Fits(int w, int h, DisplayRoom room) { return w <= room.Width && h <= room.Height; }

int LargestRowWithin(DisplayRoom room) {
  for (int row = 0; row < Display_Size_Count; row++) {
    if (Fits(Display_Sizes[row].Width, Display_Sizes[row].Height, room)) return row;
  }
  return Display_Size_Count - 1;
}

int BestFitCell(int desktop_w, int desktop_h) {
  int cell = std::min(desktop_h / 8, (desktop_w - 64) / 10);
  if (cell % 2 == 1) cell -= 1;
  return cell >= 8 ? cell : 0;
}

static void WantRow(int row) {
  Wanted_Resolution_X = Display_Sizes[row].Width;
  Wanted_Resolution_Y = Display_Sizes[row].Height;
  Wanted_Block_Size = Display_Sizes[row].Cell;
}

void ApplyDisplayMode() {
  // A window larger than the desktop cannot be reached (its title bar and the side bar lie off
  // screen) and would open there again at every start, so a wanted size that does not fit is
  // brought down to the largest that does, and saved so.
  if (Screen_Mode != 2) {
    DisplayRoom room = CurrentRoom();
    if (!Fits(Wanted_Resolution_X, Wanted_Resolution_Y, room)) WantRow(LargestRowWithin(room));
  }
  Resolution_X = Wanted_Resolution_X;
  Resolution_Y = Wanted_Resolution_Y;
  Block_Size = Wanted_Block_Size;
  KeepOpenable();
  if (Screen_Mode == 1 || Screen_Mode == 2) {
    OpenDisplay(Desktop_Width, Desktop_Height, 32, 60);
    // A desktop too small for a usable cell keeps the configured size, centred: a cell of 0
    // pixels would divide every pointer position by zero.
    int cell = Screen_Mode == 2 ? BestFitCell(Desktop_Width, Desktop_Height) : 0;
    if (cell > 0) {
      Block_Size = cell;
      Resolution_Y = 8 * Block_Size;
      Resolution_X = 10 * Block_Size + 64;
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
  // Small beside the board's blocks, never below what still reads at the smallest size.
  if (Font_Hud) FreeFont(Font_Hud);
  Font_Hud = LoadFont(Font_Url, std::max(15, Resolution_X * 20 / 1024));

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
    // Growing past the desktop would put the window where the player cannot reach it.
    if (!Fits(Display_Sizes[target].Width, Display_Sizes[target].Height, CurrentRoom())) return 0;
  } else {
    if (match == Display_Size_Count - 1) return 0;
    target = match + 1;
  }
  WantRow(target);
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
  WantRow(chosen);
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

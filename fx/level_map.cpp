// The level map.
#include "fx/level_map.h"

#include "app/display.h"

float Level_List_Scroll = 0;

// Columns start at x = 20 + 240 k and one is placed while its x is left of the last 240 pixels.
int LevelMapColumns() {
  int columns = 0;
  while (20 + 240 * columns < Resolution_X - 240) columns++;
  return columns > 0 ? columns : 1;
}

// For now the map has no thumbnails to scroll or draw.
void UpdateLevelMap() {}
void DrawLevelMap() {}
void DrawMapZoom() {}

// The level map: a scrolling grid of thumbnails of every catalogue level.
#pragma once

extern float Level_List_Scroll;   // vertical scroll of the map, pixels

// Thumbnails per row for the current play-area width.
int LevelMapColumns();
void UpdateLevelMap();
void DrawLevelMap();
void DrawMapZoom();

// The level map: a grid of thumbnails of every level of the list, scrolled by wheel and drags
// with inertia and an elastic return at both ends; solved levels darkened with their times; a
// short click, or Enter on the level the keys selected, zooms that level up to the board and
// starts it.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Thumbnails are 200 x 160 on a 240 x 200 grid, starting 20 pixels in from the left and from
// the top of their row.
constexpr int Map_Cell_Width = 240;
constexpr int Map_Row_Height = 200;
constexpr int Map_Margin = 20;
constexpr int Thumb_Width = 200;
constexpr int Thumb_Height = 160;

extern float Level_List_Scroll;   // y of the top of the grid content, board pixels
extern float Level_List_Speed;    // scroll change per update
extern int Map_Press_X, Map_Press_Y;
extern int Map_Press_Scroll;
extern int Map_Last_Y;
extern int Hover_Level;           // level under the pointer, -1 for none
extern int Map_Selection;         // the level the keys point at
extern int Map_Selection_Shown;   // 1 once a key moved the selection on this visit; drawn only then
extern int64_t Zoom_Until;        // end of the zoom into the chosen level, 0 when none runs
extern int Zoom_X0, Zoom_Y0, Zoom_X1, Zoom_Y1;   // the chosen thumbnail, corners inclusive

// Thumbnails per row for the current play-area width (at least one).
// The map at its top and still, nothing pressed, hovered or zooming.
void ResetLevelMap();
int LevelMapColumns();
// The lowest scroll: the last row ends at the bottom of the board. A list shorter than the
// board rests at the top, so it is never above 0.
int LevelMapBottom();
// The level under board pixel (x, y), -1 for none.
int LevelAt(int x, int y);

// The keyboard's selection starts on the current level (the first when there is none), hidden
// until a key moves it, so the map looks the same to a player who uses the mouse.
void ResetMapSelection();
void UpdateLevelMap();
void DrawLevelMap();
// The level's record holds a solution in no more steps than its par (the map's star).
bool SolvedInPar(int level);
void DrawThumbnail(int x, int y, int level);
void DrawThumbLabel(const String& text, int x, int y);
// One cell of a thumbnail from its four quarter frames, read from Level_Bank at byte offset
// `cell` (the cell's entry in its record's frame table).
void DrawMiniBlock(int x, int y, int kind, int cell);
// Draws the loaded level as the game will show it, keeps the picture and starts the zoom from
// the thumbnail at (x, y).
void StartMapZoom(int x, int y);
// The zoom picture's rectangle with `remaining` ms of the zoom to go (1000 down to 0).
void MapZoomRect(int64_t remaining, int* left, int* top, int* right, int* bottom);
// Draws the zoom over the map; when it is over, the level starts.
void DrawMapZoom();
// Stops a running zoom before its level starts (the player left the map): the level that was
// current before the click is current again, so a game left earlier still resumes as itself.
void DropMapZoom();

// The pictures, sounds and fonts loaded at start, the tile-style table and the list of
// embedded data files.
#pragma once

#include "board/board_state.h"   // Style_Sheet_Count and User_Style, which the rules keep
#include "platform/platform.h"

// ---- Pictures ----
extern Image* Img_Bumper;                // 960 x 768 splash
extern Image* Img_Window_Icon;           // 64 x 64, the desktop icon
extern Image* Img_Cursor;                // hand pointer, released (fingertip at +85, +50)
extern Image* Img_Cursor_Pressed;        // hand pointer, pressed
extern Image* Img_Shadows;               // 28 frames of 48 x 48
extern Image* Img_Highlight;             // 28 frames of 48 x 48
extern Image* Img_Plateau;               // 260 x 220
extern Image* Img_Plateau_Highlighted;   // 260 x 220
extern Image* Img_Bravo;                 // 960 x 768
extern Image* Img_Colour_Symbols;        // 6 frames of 64 x 64, one per colour (the colour-blind aid)
extern Image* Img_Side_Bar;              // 64 x 768
extern Image* Img_Background;            // 960 x 768 each
extern Image* Img_Background_Game;
extern Image* Img_Background_Menus;
extern Image* Img_Background_Style;
extern Image* Img_Background_Tutorial;
extern Image* Img_Icons;                 // 11 frames of 64 x 64
extern Image* Img_Icons_Light;           // 11 frames of 64 x 64
extern Image* Img_Digits;                // 10 frames of 10 x 16

// ---- Sounds ----
extern Sound* Sfx_Move;
extern Sound* Sfx_Merge;
extern Sound* Sfx_Disappear;
extern Sound* Sfx_Click;
extern Sound* Sfx_Undo;
extern Sound* Sfx_Mouse_Over;
extern Sound* Sfx_Scroll_Map;
extern Sound* Sfx_Start;
extern Sound* Sfx_Victory_Short;
extern Sound* Sfx_Victory;
extern Sound* Music_Menu;
extern Sound* Music_In_Game;
extern Sound* Music_Tutorial;
// The tracks of Music_Table, in its order. The music icon's double click steps through the
// three loops, never to the victory track.
enum MusicTrack { Track_Victory, Track_Menu, Track_In_Game, Track_Tutorial, Music_Track_Count };
extern Sound* Music_Table[Music_Track_Count];

// ---- Fonts (rebuilt by ApplyDisplayMode) ----
extern Font* Font_Main;
extern Font* Font_Small;
extern Font* Font_30;
// The side-bar buttons' words: fixed like the buttons themselves, which keep their size at every
// display size.
constexpr int Icon_Word_Size = 12;
extern Font* Font_Icon_Word;
extern Font* Font_Hud;   // the small print over the board: steps, par and the hint's words

// ---- Tile styles ----
constexpr int Style_Table_Size = 50;
extern Image* Style_Images[Style_Table_Size];
extern int Style_FX_Mode[Style_Table_Size];
extern int Style_Light_Text[Style_Table_Size];
extern int Style_Count;

struct StyleSheet {
  const char16_t* Sheet;   // file "Data/qUaRk_tiles_" + Sheet + ".png"
  int FX_Mode;
  int Light_Text;
};
extern const StyleSheet Style_Sheets[Style_Sheet_Count];


// ---- Embedded data ----
// Every embedded data file, in the order they are registered at start.
extern const char16_t* const Embedded_Names[];
extern const int Embedded_Count;
void RegisterEmbeddedData();

// The loading steps of start-up.
void LoadSoundsAndPictures();   // the cursors, sounds, musics, strips and backgrounds
void LoadStyleSheets();
void LoadIconStrips();

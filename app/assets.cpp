// The loaded pictures, sounds and fonts, the tile-style table, and the registration of the
// data files the program carries inside itself.
#include "app/assets.h"

#include "app/embedded_table.h"

Image* Img_Bumper = nullptr;
Image* Img_Window_Icon = nullptr;
Image* Img_Cursor = nullptr;
Image* Img_Cursor_Pressed = nullptr;
Image* Img_Shadows = nullptr;
Image* Img_Highlight = nullptr;
Image* Img_Plateau = nullptr;
Image* Img_Plateau_Highlighted = nullptr;
Image* Img_Bravo = nullptr;
Image* Img_Colour_Symbols = nullptr;
Image* Img_Side_Bar = nullptr;
Image* Img_Background = nullptr;
Image* Img_Background_Game = nullptr;
Image* Img_Background_Menus = nullptr;
Image* Img_Background_Style = nullptr;
Image* Img_Background_Tutorial = nullptr;
Image* Img_Icons = nullptr;
Image* Img_Icons_Light = nullptr;
Image* Img_Digits = nullptr;

Sound* Sfx_Move = nullptr;
Sound* Sfx_Merge = nullptr;
Sound* Sfx_Disappear = nullptr;
Sound* Sfx_Click = nullptr;
Sound* Sfx_Undo = nullptr;
Sound* Sfx_Mouse_Over = nullptr;
Sound* Sfx_Scroll_Map = nullptr;
Sound* Sfx_Start = nullptr;
Sound* Sfx_Victory_Short = nullptr;
Sound* Sfx_Victory = nullptr;
Sound* Music_Menu = nullptr;
Sound* Music_In_Game = nullptr;
Sound* Music_Tutorial = nullptr;
Sound* Music_Table[Music_Track_Count] = {};

Font* Font_Main = nullptr;
Font* Font_Small = nullptr;
Font* Font_30 = nullptr;
Font* Font_Icon_Word = nullptr;
Font* Font_Hud = nullptr;

Image* Style_Images[Style_Table_Size] = {};
int Style_FX_Mode[Style_Table_Size] = {};
int Style_Light_Text[Style_Table_Size] = {};
int Style_Count = 0;

const StyleSheet Style_Sheets[Style_Sheet_Count] = {
    {u"sucre_orge_rouge_1", 1, 0}, {u"acide_1", 1, 0},        {u"mandarine", 0, 0},
    {u"trucmuche_3", 3, 0},        {u"coca_2", 2, 1},         {u"dark_pool_3", 3, 0},
    {u"menthe_glace_2", 2, 0},     {u"losanges", 0, 0},       {u"dragon", 0, 1},
    {u"bois", 0, 0},               {u"pomme_amour_1", 1, 0},  {u"violine", 0, 0},
    {u"lustucru", 0, 1},           {u"inclusion_1", 1, 1},    {u"chocolat", 0, 1},
    {u"lego", 0, 1},               {u"vichy_parme", 0, 0},    {u"briques", 0, 0},
    {u"night_3", 3, 1},            {u"radio_moon", 0, 1},     {u"stellaire", 0, 0},
    {u"beurre", 0, 0},             {u"gomme_red", 0, 0},      {u"pierre_ponce", 0, 0},
    {u"purple_dots", 0, 0},        {u"capitons", 0, 0},       {u"carrelage", 0, 1},
    {u"caramel", 0, 0},            {u"metal_indus", 0, 0},    {u"danger", 0, 1},
    {u"menthe_verte_2", 2, 0},     {u"caoutchouc", 0, 0},     {u"malabar", 0, 0},
    {u"vichy_lemon", 0, 0},        {u"scotch", 0, 1},         {u"moule_choc", 0, 0},
    {u"sucre_orge_vert", 0, 0},    {u"chocolat_blanc", 0, 0},
};

// The order of registration: languages and flags, sounds, pictures, tile sheets, the shape
// table, then the splash, the font and the catalogue. The CJK fallback face and the window's
// icon come last.
const char16_t* const Embedded_Names[] = {
    u"Data/qUaRk_text_FR.txt", u"Data/French.png",      u"Data/qUaRk_text_EN.txt", u"Data/English.png",
    u"Data/qUaRk_text_NL.txt", u"Data/Dutch.png",       u"Data/qUaRk_text_PT.txt", u"Data/Portuguese.png",
    u"Data/qUaRk_text_ES.txt", u"Data/Espanol.png",     u"Data/qUaRk_text_PL.txt", u"Data/Polish.png",
    u"Data/qUaRk_text_DE.txt", u"Data/Deutsch.png",     u"Data/qUaRk_text_HU.txt", u"Data/Hungarian.png",
    u"Data/qUaRk_text_IT.txt", u"Data/Italiano.png",    u"Data/qUaRk_text_CN.txt", u"Data/Chinese.png",
    u"Data/qUaRk_text_HE.txt", u"Data/Hebrew.png",      u"Data/qUaRk_text_BG.txt", u"Data/Bulgarian.png",
    u"Data/qUaRk_text_SV.txt", u"Data/Swedish.png",     u"Data/qUaRk_text_ZA.txt", u"Data/Suid-Afrika.png",
    u"Data/qUaRk_text_RO.txt", u"Data/Romanian.png",
    u"Data/Move2fred.wav", u"Data/Merge.wav", u"Data/Disappear.wav", u"Data/qUaRk_SFX_Start_01.ogg",
    u"Data/Click.wav", u"Data/MouseOver2.wav", u"Data/Scroll_Map.wav", u"Data/SFX_Victory_Short_01.ogg",
    u"Data/SFX_Undo.ogg", u"Data/qUaRk_SFX_Victory_01.ogg", u"Data/Quark_InGame.ogg",
    u"Data/Quark_Menu.ogg", u"Data/Quark_Tuto.ogg",
    u"Data/qUaRk_fx_shadows.png", u"Data/qUaRk_fx_highlight.png", u"Data/qUaRk_sprite_plateau.png",
    u"Data/qUaRk_sprite_plateau_highlighted.png", u"Data/qUaRk_sprite_bravo.png", u"Data/qUaRk_symbols.png",
    u"Data/souris_curseur_1.png", u"Data/souris_curseur_2.png", u"Data/qUaRk_chiffres_10x16.png",
    u"Data/qUaRk_icones_normales.png", u"Data/qUaRk_icones_light.png", u"Data/menu_barre_vide.png",
    u"Data/qUaRk_screen_fond.jpg", u"Data/qUaRk_screen_picots.jpg", u"Data/qUaRk_screen_menus.jpg",
    u"Data/qUaRk_screen_style.jpg", u"Data/qUaRk_tuto.jpg",
    u"Data/qUaRk_tiles_sucre_orge_rouge_1.png", u"Data/qUaRk_tiles_acide_1.png",
    u"Data/qUaRk_tiles_mandarine.png", u"Data/qUaRk_tiles_trucmuche_3.png", u"Data/qUaRk_tiles_coca_2.png",
    u"Data/qUaRk_tiles_dark_pool_3.png", u"Data/qUaRk_tiles_menthe_glace_2.png",
    u"Data/qUaRk_tiles_losanges.png", u"Data/qUaRk_tiles_dragon.png", u"Data/qUaRk_tiles_bois.png",
    u"Data/qUaRk_tiles_pomme_amour_1.png", u"Data/qUaRk_tiles_violine.png", u"Data/qUaRk_tiles_lustucru.png",
    u"Data/qUaRk_tiles_inclusion_1.png", u"Data/qUaRk_tiles_chocolat.png", u"Data/qUaRk_tiles_lego.png",
    u"Data/qUaRk_tiles_vichy_parme.png", u"Data/qUaRk_tiles_briques.png", u"Data/qUaRk_tiles_night_3.png",
    u"Data/qUaRk_tiles_radio_moon.png", u"Data/qUaRk_tiles_stellaire.png", u"Data/qUaRk_tiles_beurre.png",
    u"Data/qUaRk_tiles_gomme_red.png", u"Data/qUaRk_tiles_pierre_ponce.png",
    u"Data/qUaRk_tiles_purple_dots.png", u"Data/qUaRk_tiles_capitons.png", u"Data/qUaRk_tiles_carrelage.png",
    u"Data/qUaRk_tiles_caramel.png", u"Data/qUaRk_tiles_metal_indus.png", u"Data/qUaRk_tiles_danger.png",
    u"Data/qUaRk_tiles_menthe_verte_2.png", u"Data/qUaRk_tiles_caoutchouc.png",
    u"Data/qUaRk_tiles_malabar.png", u"Data/qUaRk_tiles_vichy_lemon.png", u"Data/qUaRk_tiles_scotch.png",
    u"Data/qUaRk_tiles_moule_choc.png", u"Data/qUaRk_tiles_sucre_orge_vert.png",
    u"Data/qUaRk_tiles_chocolat_blanc.png",
    u"Data/TabFrame3.bin",
    u"Data/qUaRk_screen_bumper.png", u"Data/a2.ttf", u"Data/full2.lvl",
    u"Data/cjk_fallback.ttf", u"Data/window_icon.png",
};
const int Embedded_Count = sizeof(Embedded_Names) / sizeof(Embedded_Names[0]);

void RegisterEmbeddedData() {
  for (int i = 0; i < Embedded_Count; i++) {
    for (int j = 0; j < Embedded_File_Count; j++) {
      const EmbeddedFile& f = Embedded_Files[j];
      if (String(f.Name) == Embedded_Names[i]) {
        RegisterResource(f.Name, f.Begin, static_cast<size_t>(f.End - f.Begin));
        break;
      }
    }
  }
}

static String Embedded(const char16_t* name) { return String(u"incbin::Data/") + name; }

void LoadSoundsAndPictures() {
  Img_Cursor = LoadImage(Embedded(u"souris_curseur_1.png"));
  Img_Cursor_Pressed = LoadImage(Embedded(u"souris_curseur_2.png"));
  Sfx_Move = LoadSound(Embedded(u"Move2fred.wav"));
  Sfx_Merge = LoadSound(Embedded(u"Merge.wav"));
  Sfx_Disappear = LoadSound(Embedded(u"Disappear.wav"));
  Sfx_Click = LoadSound(Embedded(u"Click.wav"));
  Sfx_Undo = LoadSound(Embedded(u"SFX_Undo.ogg"));
  Sfx_Mouse_Over = LoadSound(Embedded(u"MouseOver2.wav"));
  Sfx_Scroll_Map = LoadSound(Embedded(u"Scroll_Map.wav"));
  Sfx_Start = LoadSound(Embedded(u"qUaRk_SFX_Start_01.ogg"));
  Sfx_Victory_Short = LoadSound(Embedded(u"SFX_Victory_Short_01.ogg"));
  // The victory track plays once on the music channel, so it is streamed like the musics.
  Sfx_Victory = LoadSound(Embedded(u"qUaRk_SFX_Victory_01.ogg"), SOUND_STREAM);
  Music_Menu = LoadSound(Embedded(u"Quark_Menu.ogg"), SOUND_LOOP | SOUND_STREAM);
  Music_In_Game = LoadSound(Embedded(u"Quark_InGame.ogg"), SOUND_LOOP | SOUND_STREAM);
  Music_Tutorial = LoadSound(Embedded(u"Quark_Tuto.ogg"), SOUND_LOOP | SOUND_STREAM);
  Music_Table[Track_Victory] = Sfx_Victory;
  Music_Table[Track_Menu] = Music_Menu;
  Music_Table[Track_In_Game] = Music_In_Game;
  Music_Table[Track_Tutorial] = Music_Tutorial;
  Img_Shadows = LoadImageStrip(Embedded(u"qUaRk_fx_shadows.png"), 48, 48, 0, 28);
  Img_Highlight = LoadImageStrip(Embedded(u"qUaRk_fx_highlight.png"), 48, 48, 0, 28);
  Img_Plateau = LoadImage(Embedded(u"qUaRk_sprite_plateau.png"));
  Img_Plateau_Highlighted = LoadImage(Embedded(u"qUaRk_sprite_plateau_highlighted.png"));
  Img_Bravo = LoadImage(Embedded(u"qUaRk_sprite_bravo.png"));
  Img_Colour_Symbols = LoadImageStrip(Embedded(u"qUaRk_symbols.png"), 64, 64, 0, 6);
  Img_Side_Bar = LoadImage(Embedded(u"menu_barre_vide.png"));
  Img_Background = LoadImage(Embedded(u"qUaRk_screen_fond.jpg"));
  Img_Background_Game = LoadImage(Embedded(u"qUaRk_screen_picots.jpg"));
  Img_Background_Menus = LoadImage(Embedded(u"qUaRk_screen_menus.jpg"));
  Img_Background_Style = LoadImage(Embedded(u"qUaRk_screen_style.jpg"));
  Img_Background_Tutorial = LoadImage(Embedded(u"qUaRk_tuto.jpg"));
}

void LoadStyleSheets() {
  for (int i = 0; i < Style_Sheet_Count; i++) {
    String url = String(u"incbin::Data/qUaRk_tiles_") + Style_Sheets[i].Sheet + u".png";
    Style_Images[i] = LoadImageStrip(url, 48, 48, 0, 30);
    Style_FX_Mode[i] = Style_Sheets[i].FX_Mode;
    Style_Light_Text[i] = Style_Sheets[i].Light_Text;
  }
  Style_Count = Style_Sheet_Count;
}

void LoadIconStrips() {
  Img_Icons = LoadImageStrip(Embedded(u"qUaRk_icones_normales.png"), 64, 64, 0, 11);
  Img_Icons_Light = LoadImageStrip(Embedded(u"qUaRk_icones_light.png"), 64, 64, 0, 11);
  Img_Digits = LoadImageStrip(Embedded(u"qUaRk_chiffres_10x16.png"), 10, 16, 0, 10);
}

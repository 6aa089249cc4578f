// quark-datagen: writes every data file of the game into the folder given on the command line.
// Usage: quark-datagen <repo>/Data [--placeholder-catalogue]
//        quark-datagen --icons <repo>/tools/desktop/icons     (the desktop icon in five sizes)
//        quark-datagen --contact-sheet <repo>/docs/styles.png (every block style, for the docs)
//        quark-datagen --colour-check [picture.png]  (the six default colours as colour-blind
//                                                    players see them: figures and a picture)
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "catalogue.h"
#include "colour_check.h"
#include "desktop.h"
#include "picture.h"
#include "shape_table.h"
#include "sounds.h"
#include "texts.h"
#include "tiles.h"
#include "ui_pictures.h"

namespace {

bool ok = true;

void Png(const std::string& dir, const std::string& name, const Picture& pic) {
  if (!SavePng(pic, dir + "/" + name)) ok = false;
}

void Jpg(const std::string& dir, const std::string& name, const Picture& pic) {
  if (!SaveJpg(pic, dir + "/" + name, 86)) ok = false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) return WriteAppIcons(argv[2]) ? 0 : 1;
  if (argc == 3 && std::strcmp(argv[1], "--contact-sheet") == 0) {
    if (SavePng(RenderContactSheet(), argv[2])) return 0;
    std::fprintf(stderr, "Can't write %s\n", argv[2]);
    return 1;
  }
  if ((argc == 2 || argc == 3) && std::strcmp(argv[1], "--colour-check") == 0) {
    return RunColourCheck(argc == 3 ? argv[2] : "") ? 0 : 1;
  }
  std::string dir;
  bool catalogue = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--placeholder-catalogue") == 0)
      catalogue = true;
    else
      dir = argv[i];
  }
  if (dir.empty()) {
    std::fprintf(stderr, "Usage: quark-datagen <Data folder> [--placeholder-catalogue]\n");
    return 2;
  }

  if (!WriteShapeTable(dir + "/TabFrame3.bin")) {
    std::fprintf(stderr, "Can't write %s/TabFrame3.bin\n", dir.c_str());
    ok = false;
  }
  ok &= WriteLanguageFiles(dir);
  for (const char* flag : {"French.png", "English.png", "Dutch.png", "Portuguese.png", "Espanol.png",
                           "Polish.png", "Deutsch.png", "Hungarian.png", "Italiano.png", "Chinese.png",
                           "Hebrew.png", "Bulgarian.png", "Swedish.png", "Suid-Afrika.png",
                           "Romanian.png"})
    Png(dir, flag, RenderFlag(flag));

  for (const TileStyle& style : TileStyles())
    Png(dir, "qUaRk_tiles_" + style.Sheet + ".png", RenderTileSheet(style));
  Png(dir, "qUaRk_fx_shadows.png", RenderShadowStrip());
  Png(dir, "qUaRk_fx_highlight.png", RenderHighlightStrip());

  Png(dir, "qUaRk_icones_normales.png", RenderIcons(false));
  Png(dir, "qUaRk_icones_light.png", RenderIcons(true));
  Png(dir, "qUaRk_chiffres_10x16.png", RenderDigits());
  Png(dir, "souris_curseur_1.png", RenderHand(false));
  Png(dir, "souris_curseur_2.png", RenderHand(true));
  Png(dir, "menu_barre_vide.png", RenderSideBar());
  Png(dir, "qUaRk_sprite_plateau.png", RenderPlateau(false));
  Png(dir, "qUaRk_sprite_plateau_highlighted.png", RenderPlateau(true));
  Png(dir, "qUaRk_symbols.png", RenderColourSymbols());
  Png(dir, "qUaRk_sprite_bravo.png", RenderBravo());
  Png(dir, "qUaRk_screen_bumper.png", RenderBumper());

  Jpg(dir, "qUaRk_screen_fond.jpg", RenderBackground("fond"));
  Jpg(dir, "qUaRk_screen_picots.jpg", RenderBackground("picots"));
  Jpg(dir, "qUaRk_screen_menus.jpg", RenderBackground("menus"));
  Jpg(dir, "qUaRk_screen_style.jpg", RenderBackground("style"));
  Jpg(dir, "qUaRk_tuto.jpg", RenderBackground("tuto"));

  ok &= WriteSounds(dir);
  ok &= WriteMusic(dir);

  if (catalogue && !WritePlaceholderCatalogue(dir + "/full2.lvl")) {
    std::fprintf(stderr, "Can't write %s/full2.lvl\n", dir.c_str());
    ok = false;
  }
  if (!ok) return 1;
  std::printf("Data written to %s\n", dir.c_str());
  return 0;
}

// The board scene in its fixed layer order, the level-number and hint overlays, the link row.
#include "fx/board_scene.h"

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/state.h"
#include "board/block.h"
#include "board/level_play.h"
#include "board/moves.h"
#include "fx/fragments.h"
#include "fx/hint_marks.h"
#include "fx/particles.h"
#include "fx/text_layout.h"
#include "ui/tutorial.h"

int Link_Hover = 0;
int Menu_Slide = 0;
int64_t Menu_Slide_Start = 0;
int Menu_Slide_Offset = 0;
int64_t Time_Icon_Until = 0;
// Set when the game is built (-DQUARK_HOME_PAGE=...); a build without a home page shows no link.
#ifndef QUARK_HOME_PAGE
#define QUARK_HOME_PAGE ""
#endif
String Link_Page = FromUtf8(QUARK_HOME_PAGE);

namespace {
constexpr int Slide_Step = 25;          // pixels per drawn frame
constexpr float Number_Scale = 5;
constexpr int Number_Shadow = 20;
constexpr int64_t Number_Fade = 2000;   // ms

bool MouseInRow(int row) {
  return Mouse_X >= 0 && Mouse_X < 10 * Block_Size && Mouse_Y >= row * Block_Size && Mouse_Y <= (row + 1) * Block_Size;
}
}  // namespace

void DrawBoardScene() {
  float ox = static_cast<float>(Origin_X), oy = static_cast<float>(Origin_Y);
  // The blocks and what rides on them slide away; what flies free stays in place.
  if (Menu_Slide != 0 && Menu_Slide_Start < Now) {
    Menu_Slide_Offset -= Slide_Step;
    SetOrigin(ox, oy + static_cast<float>(Menu_Slide_Offset));
  }
  T_BLOCK::DrawAll();
  MarkBackdrop();
  if (Detail_Particles == 1) T_PARTICLE::DrawAll(1);
  T_BLOCK::DrawSelectedBlocks();
  SetOrigin(ox, oy);
  if (Detail_Particles == 1) T_PARTICLE::DrawAll(0);
  DrawHint();
  DrawHintMarks();
  T_FX::DrawAll();
  DrawParCorner();
  DrawLevelNumber();
}

void DrawLevelNumber() {
  if (Time_Icon_Until == 0) return;
  // Without a level there is no number; the deadline stays for when one is chosen.
  if (Level_Index == -1) return;
  String text = IntText(Level_Index + 1);
  if (Now > Time_Icon_Until) {
    Time_Icon_Until = 0;
    return;
  }
  float opacity = static_cast<float>(Time_Icon_Until - Now) / static_cast<float>(Number_Fade);
  SetFont(Font_Main);
  int tw = TextWidth(text), th = TextHeight(text);
  int scale = static_cast<int>(Number_Scale);
  int x = (10 * Block_Size) / 2 - (tw * scale) / 2;
  int y = (8 * Block_Size) / 2 - (th * scale) / 2;
  SetBlend(BLEND_ALPHA);
  SetAlpha(opacity);
  SetScale(Number_Scale, Number_Scale);
  SetColour(0, 0, 0);
  DrawText(text, static_cast<float>(x + Number_Shadow), static_cast<float>(y + Number_Shadow));
  SetColour(255, 255, 255);
  DrawText(text, static_cast<float>(x), static_cast<float>(y));
  SetFont(nullptr);
  SetScale(1, 1);
  SetAlpha(1);
}

void DrawHint() {
  if (Tutorial_Active == 0 || Info_Text.empty()) return;
  DrawWrappedText(10, Tutorial_Text_Y, 10 * Block_Size, 255, 255, 255, Info_Text);
}

String LinkLabel(const String& page) {
  String label = page;
  for (const String scheme : {u"https://", u"http://"}) {
    if (label.compare(0, scheme.size(), scheme) == 0) {
      label.erase(0, scheme.size());
      break;
    }
  }
  if (!label.empty() && label.back() == u'/') label.pop_back();
  return label;
}

void DrawLinkRow(int row) {
  // Without a page there is nothing to show: the row stays empty and never reacts.
  if (Link_Page.empty()) {
    Link_Hover = 0;
    return;
  }
  const String label = LinkLabel(Link_Page);
  SetBlend(BLEND_ALPHA);
  SetAlpha(1);
  SetFont(Font_Main);
  int x = (10 * Block_Size - TextWidth(label)) / 2;
  int y = row * Block_Size + 10;
  SetColour(0, 0, 0);
  DrawText(label, static_cast<float>(x), static_cast<float>(y));
  if (MouseInRow(row)) {
    int j1 = Rand(-1, 1);
    int j2 = Rand(-1, 1);
    SetColour(255, 255, 255);
    DrawText(label, static_cast<float>(x + j1), static_cast<float>(y + j2));
    if (Link_Hover == 0) PlayEffect(Sfx_Mouse_Over);
    Link_Hover = 1;
  } else {
    Link_Hover = 0;
  }
  SetColour(255, 255, 255);
  SetFont(nullptr);
}

void ClickLinkRow(int row) {
  if (Link_Page.empty() || !MouseInRow(row)) return;
  PlayEffect(Sfx_Click);
  PlayEffect(Sfx_Disappear);
  // The browser opens on the desktop, which best-fit full screen would hide.
  if (Screen_Mode == 2) ToggleBestFit();
  OpenUrl(Link_Page);
}

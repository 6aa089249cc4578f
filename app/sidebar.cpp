// The side bar of icons, the pop-up text of a chosen menu entry, the tutorial's hand, and touch
// input turned into pointer input.
#include "app/sidebar.h"

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/state.h"
#include "board/block.h"
#include "board/level_play.h"
#include "board/undo.h"
#include "fx/board_scene.h"
#include "fx/level_map.h"
#include "i18n/language.h"
#include "levels/best_scores.h"
#include "ui/menu.h"
#include "ui/tutorial.h"

T_ICON* Icons[8] = {};
int Hover_Icon = -1;
int64_t Icon_Blink_End = 0;
String Icon_Words[8];

String Pop_Text;
int Pop_Text_X = 0, Pop_Text_Y = 0;
int64_t Pop_Text_Start = 0, Pop_Text_End = 0;
float Pop_Text_Scale = 1.0f;
int Pop_Text_White = 1;

std::vector<TouchPoint> Touch_Points;

const char16_t* IconWordKey(int index) {
  switch (index) {
    case Icon_Menu: return u"Menu Button";
    case Icon_Undo: return u"Undo Button";
    case Icon_Restart: return u"Restart Button";
    case Icon_Back: return u"Back Button";
    case Icon_Last: return u"Last Button";
    default: return nullptr;
  }
}

void InitIcons() {
  for (auto& icon : Icons) {
    if (!icon) icon = new T_ICON;
    icon->Index = 0;
    icon->Timer = 0;
  }
  for (String& word : Icon_Words) word.clear();
}

void SetIconRow(const int row[8]) {
  for (int i = 0; i < 8; i++) {
    Icons[i]->Index = row[i];
    Icons[i]->State = 1;
    Icons[i]->Timer = 0;
    // The pictures carry pictograms only; the word comes from the language, so a button says
    // what the tutorial's hints call it.
    const char16_t* key = IconWordKey(row[i]);
    Icon_Words[i] = key ? Translate(key) : String();
  }
  Hover_Icon = -1;
  RefreshIconStates();
}

void RefreshIconStates() {
  for (T_ICON* icon : Icons) {
    switch (icon->Index) {
      case Icon_Restart:
        icon->State = Undo_Count < 2 ? 0 : (icon->State | 1);
        break;
      case Icon_Undo:
        // In the tutorial the script lights the icon itself.
        if (Current_Screen != Screen_Tutorial) icon->State = Undo_Count < 2 ? 0 : 1;
        break;
      case Icon_Time:
        icon->State = Prev_Best_Time == 0 ? 0 : 1;
        break;
      case Icon_Last:
        icon->State = Undo_Count == 0 ? 0 : 1;
        break;
      case Icon_Music:
        icon->State = Music_Flag == 1 ? 2 : 1;
        break;
      default:
        break;
    }
  }
}

// The music icon: a click switches music off; a second click within half a second moves on to
// the next track (the victory track is skipped); a later click turns the same track on again.
static void ClickMusicIcon() {
  if (Music_Flag == 1) {
    Music_Off_Time = Now + 500;
    SetMusic(0);
    return;
  }
  if (Music_Off_Time > Now) {
    Music_Off_Time = 0;
    Music_Index = Music_Index + 1;
    if (Music_Index > Track_Tutorial) Music_Index = Track_Menu;
  }
  SetMusic(1);
}

int UpdateSideBar() {
  RefreshIconStates();
  int clicked = 0;
  int left = 10 * Block_Size;
  if (Mouse_X >= left && Mouse_X < left + 64 && Mouse_Y >= 0 && Mouse_Y < 8 * Block_Size) {
    int slot = Mouse_Y / Block_Size;
    T_ICON* icon = Icons[slot];
    if (icon->Index == 0) {
      Hover_Icon = -1;
    } else if (icon->State > 0 && Hover_Icon != slot) {
      Hover_Icon = slot;
      PlayEffect(Sfx_Mouse_Over);
    }
    if (Mouse_Hit && icon->State > 0) {
      switch (icon->Index) {
        case Icon_Menu:
          GotoScreen(Screen_MainMenu);
          clicked = 1;
          break;
        case Icon_Last:
          // A level just chosen on the map is not the saved game's level.
          DropMapZoom();
          if (ResumeSavedGame() == 1) EnterPlay(0);
          clicked = 1;
          break;
        case Icon_Back:
          GotoScreen(Return_Screen);
          clicked = 1;
          break;
        case Icon_Restart:
          // The first click only arms the icon; a second click while it blinks restarts.
          if (icon->State == 3) {
            RestartLevel();
            clicked = 1;
          }
          if (icon->State == 1) {
            icon->State = 3;
            Icon_Blink_End = Now + 2000;
          }
          break;
        case Icon_Undo:
          if (Current_Screen == Screen_Game) {
            if (UndoStep() == 1) clicked = 1;
          } else if (Current_Screen == Screen_Tutorial) {
            clicked = 1;
          }
          break;
        case Icon_Time:
          Time_Icon_Until = Now + 2000;
          clicked = 1;
          break;
        case Icon_Music:
          ClickMusicIcon();
          break;
        default:
          break;
      }
    }
    if (clicked) PlayEffect(Sfx_Click);
  } else {
    Hover_Icon = -1;
  }
  return clicked;
}

// White over a one-pixel dark shadow, readable on the normal and on the lit badge.
static void DrawIconWord(const String& word, int x, int y) {
  if (word.empty()) return;
  SetFont(Font_Icon_Word);
  const int w = TextWidth(word);
  float squeeze = 1;
  if (w > Icon_Word_Room) squeeze = static_cast<float>(Icon_Word_Room) / static_cast<float>(w);
  SetScale(squeeze, 1);
  const float left = static_cast<float>(x + 32) - static_cast<float>(w) * squeeze / 2;
  const float top = static_cast<float>(y + Icon_Word_Top);
  SetBlend(BLEND_ALPHA);
  SetColour(0, 0, 0);
  SetAlpha(0.7f);
  DrawText(word, left + 1, top + 1);
  SetColour(255, 255, 255);
  SetAlpha(1);
  DrawText(word, left, top);
  SetScale(1, 1);
  SetFont(nullptr);
}

void DrawSideBar() {
  SetBlend(BLEND_SOLID);
  SetColour(255, 255, 255);
  int left = 10 * Block_Size;
  DrawImageRect(Img_Side_Bar, static_cast<float>(left), 0, static_cast<float>(Resolution_X - left),
                static_cast<float>(Resolution_Y));
  SetBlend(BLEND_ALPHA);
  for (int i = 0; i < 8; i++) {
    T_ICON* icon = Icons[i];
    if (!icon || icon->Index == 0) continue;
    float px = static_cast<float>(left);
    float py = static_cast<float>(i * Block_Size + (Block_Size - 48) / 2);
    int frame = icon->Index - 1;
    if (icon->State == 1) {
      DrawImage(Img_Icons, px, py, frame);
    } else if (icon->State == 2) {
      DrawImage(Img_Icons_Light, px, py, frame);
    } else if (icon->State == 3) {
      if (Icon_Blink_End < Now) {
        Icon_Blink_End = 0;
        icon->State = 1;
      }
      DrawImage((Now & 128) ? Img_Icons : Img_Icons_Light, px, py, frame);
    }
    if (Hover_Icon == i) {
      SetBlend(BLEND_ALPHA);
      SetAlpha(0.5f);
      DrawImage(Img_Icons_Light, px, py, frame);
      SetAlpha(1);
    }
    if (icon->Index == Icon_Time && icon->State != 0) {
      DrawTimeIcon(static_cast<int>(px), static_cast<int>(py));
    }
    if (icon->State != 0) DrawIconWord(Icon_Words[i], static_cast<int>(px), static_cast<int>(py));
  }
}

void DrawTimeIcon(int x, int y) {
  SetFont(nullptr);
  // The upper field beside the clock, the lower one beside the cup.
  DrawTimeDigits(Level_Elapsed, x, y + 7);
  SetColour(255, 255, 255);
  if (Level_Elapsed < Prev_Best_Time) DrawTimeDigits(Prev_Best_Time - Level_Elapsed, x, y + 38);
}

void DrawTimeDigits(int64_t ms, int x, int y) {
  // A clock that wrapped (the 31-bit counter restarting mid-level) shows 00'00", not garbage.
  int64_t s = ms < 0 ? 0 : ms / 1000;
  int seconds = static_cast<int>(s % 60);
  int minutes = static_cast<int>(s / 60);
  float fy = static_cast<float>(y);
  // Right of the field's sign; the icon picture has the colon between the pairs.
  DrawImage(Img_Digits, static_cast<float>(x + 16), fy, (minutes / 10) % 10);
  DrawImage(Img_Digits, static_cast<float>(x + 26), fy, minutes % 10);
  DrawImage(Img_Digits, static_cast<float>(x + 40), fy, seconds / 10);
  DrawImage(Img_Digits, static_cast<float>(x + 50), fy, seconds % 10);
}

void StartPopText(int menu) {
  // The bar is the caption block and the "!" blocks that carry it on: the pop-up is centred on
  // the bar, whatever the caption's length ("-" has a bar of one block, a one-character Chinese
  // caption a bar of four).
  int bar = 1;
  for (auto& b : Block_List) {
    if (b->Menu == menu && b->Text == u"!") bar++;
  }
  for (auto& b : Block_List) {
    if (b->Menu != menu || b->Text.empty() || b->Text == u"!") continue;
    Pop_Text_X = b->X + bar * Block_Size / 2;
    Pop_Text_Y = b->Y + Half_Block;
    Pop_Text = b->Text;
    Pop_Text_Start = Now + 300;
    Pop_Text_End = Now + 1300;
    Pop_Text_Scale = 1.0f;
    int style = b->Style();
    Pop_Text_White = style >= 0 ? Style_Light_Text[style] : 0;
    return;
  }
}

static void DrawCentred(const String& text, float scale) {
  SetScale(scale, scale);
  float w = static_cast<float>(TextWidth(text)), h = static_cast<float>(TextHeight(text));
  DrawText(text, static_cast<float>(Pop_Text_X - static_cast<int>(w * scale / 2)),
           static_cast<float>(Pop_Text_Y - static_cast<int>(h * scale / 2)));
}

void DrawPopText() {
  if (!(Pop_Text_Start < Now && Now < Pop_Text_End)) return;
  SetFont(Font_Main);
  if (Pop_Text_White == 1) SetColour(255, 255, 255); else SetColour(0, 0, 0);
  Pop_Text_Scale += 0.02f;
  SetBlend(BLEND_ALPHA);
  SetAlpha(static_cast<float>(0.0004 * static_cast<double>(Pop_Text_End - Now)));
  DrawCentred(Pop_Text, Pop_Text_Scale);
  // A fainter ghost three times as large.
  SetAlpha(static_cast<float>(0.0004 * static_cast<double>(Pop_Text_End - Now) / 3));
  DrawCentred(Pop_Text, 3 * Pop_Text_Scale);
  SetAlpha(1);
  SetScale(1, 1);
  SetFont(nullptr);
}

void DrawTutorialHand() {
  if (!Tutorial_Active) return;
  int pressed = Tutorial_Hand_Pressed;
  if (!pressed && Tutorial_Waiting && Now > Tutorial_Wait_Start + 1000) pressed = (Now & 512) ? 1 : 0;
  SetBlend(BLEND_ALPHA);
  DrawImage(pressed ? Img_Cursor_Pressed : Img_Cursor, static_cast<float>(Tutorial_Hand_X - 85),
            static_cast<float>(Tutorial_Hand_Y - 50));
}

void InitTouch() { EnableTouch(); }

void PollTouch() {
  if (!TouchReady()) return;
  Touch_Points = TouchPoints();
  if (Touch_Points.empty()) return;
  if (Touch_Mode == 0) {
    HidePointer();
    MovePointer(0, 0);
    Touch_Mode = 1;
  }
  for (const TouchPoint& p : Touch_Points) {
    if (!p.Primary) continue;
    if (p.New_Contact) {
      Mouse_Hit = 1;
      Mouse_X = static_cast<int>(p.Start_X);
      Mouse_Y = static_cast<int>(p.Start_Y);
    } else {
      Mouse_Down = 1;
      Mouse_X = static_cast<int>(p.X);
      Mouse_Y = static_cast<int>(p.Y);
    }
  }
}

// The credits page: the translation of "Credits Text", laid out by the text wrapper over the
// plain background (the frame loop draws the background).
#include "ui/credits.h"

#include <algorithm>

#include "app/assets.h"
#include "app/display.h"
#include "fx/text_layout.h"
#include "i18n/language.h"
#include "ui/tutorial.h"

void ShowCredits() { Info_Text = Translate(u"Credits Text"); }

int CreditsLineHeight() {
  SetFont(Font_Small);
  WrapText(Info_Text, 10 * Block_Size - 10);
  const int lines = Text_Line_Count - 2;   // the closing empty line is not drawn
  SetFont(nullptr);
  if (lines <= 1) return Font_Line_Height;
  // The last line's glyphs and its shadow, 4 pixels lower, end on the board.
  SetFont(Font_Small);
  const int glyphs = TextHeight(u"Ag") + 4;
  SetFont(nullptr);
  const int fitting = (8 * Block_Size - Credits_Top - glyphs) / (lines - 1);
  return std::max(std::min(Font_Line_Height, fitting), Font_Size_Small * 3 / 4);
}

void DrawCreditsPage() {
  DrawWrappedText(10, Credits_Top, 10 * Block_Size, 255, 255, 255, Info_Text, CreditsLineHeight());
}

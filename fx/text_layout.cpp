// Word wrapping with forced breaks, the shadowed text drawing, and the time format.
#include "fx/text_layout.h"

#include "app/assets.h"
#include "app/display.h"

String Text_Lines[Text_Line_Table];
int Text_Line_Count = 0;

namespace {
// The first word of text: up to and including the first space (all of it when it has none).
String FirstWord(const String& text) {
  size_t space = text.find(u' ');
  return space == String::npos ? text : text.substr(0, space + 1);
}
}  // namespace

void WrapText(const String& text, int width) {
  String rest = text + u" ";
  int entry = 1;
  for (;;) {
    String line;
    String word = FirstWord(rest);
    // The first word of a line is always taken, however wide.
    for (;;) {
      line += word;
      rest.erase(0, word.size());
      if (!rest.empty() && rest[0] == u'@') {
        rest.erase(0, 1);
        break;
      }
      word = FirstWord(rest);
      if (word.empty() || TextWidth(line + word) > width) break;
    }
    Text_Lines[entry++] = line;
    if (line.empty()) break;
    // The table ends here: the closing empty line takes the last entry and the rest of the
    // text is dropped.
    if (entry == Text_Line_Table - 1) {
      Text_Lines[entry++] = String();
      break;
    }
  }
  Text_Line_Count = entry;
}

void DrawWrappedText(int left, int top, int right, int red, int green, int blue, const String& text,
                     int line_height) {
  SetFont(Font_Small);
  SetScale(1, 1);
  WrapText(text, right - left);
  int centre = (left + right) / 2;
  const int step = line_height > 0 ? line_height : Font_Line_Height;
  // The shadow is part of the text, not a detail of the scene: white hints and credits over a
  // light background would be unreadable without it, so "Low details" keeps it.
  SetBlend(BLEND_ALPHA);
  SetColour(0, 0, 0);
  SetAlpha(0.5f);
  for (int k = 1; k < Text_Line_Count; k++) {
    int x = centre - TextWidth(Text_Lines[k]) / 2 + 4;
    int y = top + 4 + (k - 1) * step;
    DrawText(Text_Lines[k], static_cast<float>(x), static_cast<float>(y));
  }
  SetBlend(BLEND_ALPHA);
  SetColour(red, green, blue);
  SetAlpha(1);
  for (int k = 1; k < Text_Line_Count; k++) {
    int x = centre - TextWidth(Text_Lines[k]) / 2;
    int y = top + (k - 1) * step;
    DrawText(Text_Lines[k], static_cast<float>(x), static_cast<float>(y));
  }
  SetFont(nullptr);
}

String FormatTime(int64_t seconds) {
  // Built a character at a time: g++ 12 at -O2 sees an overlapping copy in u"0" + text that
  // is not there and warns in every release build.
  String twodigit = IntText(seconds % 60);
  if (twodigit.size() < 2) twodigit.insert(twodigit.begin(), u'0');
  String text = IntText(seconds / 60);
  text += u'\'';
  text += twodigit.substr(twodigit.size() - 2);
  text += u'"';
  return text;
}

// Text services shared by the screens: word-wrapped centred text with "@" as a forced break
// and a soft shadow, and the minutes-and-seconds display of a duration.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr int Text_Line_Table = 30;   // entry 0 is not used
// The lines of the last wrapped text, from entry 1; the last line written is empty.
extern String Text_Lines[Text_Line_Table];
// One more than the index of that closing empty line.
extern int Text_Line_Count;

// Breaks text into Text_Lines for a width of `width` pixels in the current font. A word is the
// text up to and including the next space and keeps that space; "@" right after a word forces
// a break. A text that would need more lines than the table holds is cut after line 28.
void WrapText(const String& text, int width);
// Wraps text with Font_Small between left and right and draws it centred from top, first a
// half-transparent black shadow 4 pixels down and right, then the text in (red, green, blue).
// Lines are Font_Line_Height apart unless line_height gives another spacing.
void DrawWrappedText(int left, int top, int right, int red, int green, int blue, const String& text,
                     int line_height = 0);
// Minutes, "'", two-digit seconds and '"': 754 gives 12'34".
String FormatTime(int64_t seconds);

// T_STRING_PARSER: cuts one line of the profile or of a language file into key, separator and
// value tokens, consuming the line from the front.
#pragma once

#include <cstdint>

#include "platform/platform.h"

class T_STRING_PARSER {
 public:
  String CurrentLine;   // what is left of the line

  // A parser over `line` exactly as given (no trimming).
  static T_STRING_PARSER InitString(const String& line);

  // Cuts the line at the first "{" (quotes do not protect it) and trims; returns 0.
  int StripComments();
  // 1 when nothing but white space is left; the line is not changed.
  int IsEmpty() const;
  // The text between a leading pair of double quotes, or "" (see the .cpp for what stays).
  String GetString();
  // The trimmed text before the first "=", leaving the "=" in front; "" when none.
  String GetParam();
  // The first character, or "" when the line is used up.
  String GetCharacter();
  // A leading run of decimal digits as a 64-bit value that wraps; 0 when there are none.
  int64_t GetValue();
};

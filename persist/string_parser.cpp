// The line tokenizer shared by the profile and the language files. Its quirks are part of both
// file formats (players' files rely on them), so they are kept as they are: "{" cuts the line
// even inside quotes, there are no escapes, numbers have no sign and wrap in 64 bits.
#include "persist/string_parser.h"

T_STRING_PARSER T_STRING_PARSER::InitString(const String& line) {
  T_STRING_PARSER parser;
  parser.CurrentLine = line;
  return parser;
}

int T_STRING_PARSER::StripComments() {
  const size_t brace = CurrentLine.find(u'{');
  if (brace != String::npos) CurrentLine.resize(brace);
  CurrentLine = Trimmed(CurrentLine);
  return 0;
}

int T_STRING_PARSER::IsEmpty() const { return Trimmed(CurrentLine).empty() ? 1 : 0; }

String T_STRING_PARSER::GetString() {
  if (CurrentLine.empty() || CurrentLine[0] != u'"') return String();
  CurrentLine.erase(0, 1);
  const size_t close = CurrentLine.find(u'"');
  // An empty "" or an unterminated string gives "", and the opening quote stays consumed: for
  // `"" = x` the line now starts with the closing quote, which the next reader sees.
  if (close == String::npos || close == 0) return String();
  String result = CurrentLine.substr(0, close);
  CurrentLine = Trimmed(CurrentLine.substr(close + 1));
  return result;
}

String T_STRING_PARSER::GetParam() {
  const size_t equals = CurrentLine.find(u'=');
  if (equals == String::npos || equals == 0) return String();
  String result = Trimmed(CurrentLine.substr(0, equals));
  CurrentLine = Trimmed(CurrentLine.substr(equals));
  return result;
}

String T_STRING_PARSER::GetCharacter() {
  if (CurrentLine.empty()) return String();
  String result = CurrentLine.substr(0, 1);
  CurrentLine = Trimmed(CurrentLine.substr(1));
  return result;
}

int64_t T_STRING_PARSER::GetValue() {
  // Unsigned arithmetic: a run of digits too long for 64 bits wraps instead of being undefined.
  uint64_t value = 0;
  size_t taken = 0;
  while (taken < CurrentLine.size() && CurrentLine[taken] >= u'0' && CurrentLine[taken] <= u'9') {
    value = value * 10 + static_cast<uint64_t>(CurrentLine[taken] - u'0');
    ++taken;
  }
  CurrentLine = Trimmed(CurrentLine.substr(taken));
  return static_cast<int64_t>(value);
}

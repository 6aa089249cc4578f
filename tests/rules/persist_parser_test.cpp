// The line tokenizer on the lines players' files really contain, quirks included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persist/string_parser.h"

namespace {

struct ParserCase {
  const char* Name;
  String Line;
  // One letter per call: X StripComments, E IsEmpty, S GetString, P GetParam,
  // C GetCharacter, V GetValue.
  const char* Calls;
  std::vector<String> Results;
  String Rest;   // CurrentLine after the last call
};

String RunCall(T_STRING_PARSER& parser, char call) {
  switch (call) {
    case 'X': return IntText(parser.StripComments());
    case 'E': return IntText(parser.IsEmpty());
    case 'S': return parser.GetString();
    case 'P': return parser.GetParam();
    case 'C': return parser.GetCharacter();
    case 'V': return IntText(parser.GetValue());
  }
  ADD_FAILURE() << "unknown call " << call;
  return String();
}

TEST(PersistParser, CallsOnLinesGiveTokensAndRest) {
  const std::vector<ParserCase> cases = {
      {"tabs around the separator", u"\"Play\"\t=\t\"Play\"\r", "XSCS", {u"0", u"Play", u"=", u"Play"}, u""},
      {"brace inside quotes cuts the text", u"\"Credits\" = \"a { b\"", "XSCS",
       {u"0", u"Credits", u"=", u""}, u"a"},
      {"spaces inside quotes stay", u"\"K\" = \"  two  words \"  ", "XSCS",
       {u"0", u"K", u"=", u"  two  words "}, u""},
      {"digits then letters", u"\"N\" = 42abc", "XSCV", {u"0", u"N", u"=", u"42"}, u"abc"},
      {"no sign", u"\"N\" = -5", "XSCV", {u"0", u"N", u"=", u"0"}, u"-5"},
      {"the user style list", u"\"User Style\" = 0,1,2,3,4,5", "XSCVCVCVCVCVCVC",
       {u"0", u"User Style", u"=", u"0", u",", u"1", u",", u"2", u",", u"3", u",", u"4", u",", u"5", u""},
       u""},
      {"comment only", u"  { QUARK user config", "XE", {u"0", u"1"}, u""},
      {"blank", u"", "XE", {u"0", u"1"}, u""},
      {"white space only", u" \t\r\x01 ", "XE", {u"0", u"1"}, u""},
      {"IsEmpty leaves the line", u"  \t", "E", {u"1"}, u"  \t"},
      {"IsEmpty on text", u"  x", "E", {u"0"}, u"  x"},
      {"unquoted key", u"Key = 12", "XSPCV", {u"0", u"", u"Key", u"=", u"12"}, u""},
      {"byte-order mark blocks the key", u"\uFEFF\"Key\" = 1", "XS", {u"0", u""}, u"\uFEFF\"Key\" = 1"},
      {"mark is not trimmed", u"  \uFEFF  ", "XE", {u"0", u"0"}, u"\uFEFF"},
      {"empty quoted key keeps its closing quote", u"\"\" = 5", "SC", {u"", u"\""}, u"= 5"},
      {"unterminated string", u"\"abc", "S", {u""}, u"abc"},
      {"string not at the front", u" \"a\"", "S", {u""}, u" \"a\""},
      {"string consumes and trims", u"\"a\"  b ", "S", {u"a"}, u"b"},
      {"no quote in the string", u"\"a\"\"b\"", "SS", {u"a", u"b"}, u""},
      {"separator first gives no param", u"= 5", "P", {u""}, u"= 5"},
      {"param keeps the equals sign", u" a b = \"c\" ", "P", {u"a b"}, u"= \"c\""},
      {"no equals sign", u"abc", "P", {u""}, u"abc"},
      {"character of an empty line", u"", "C", {u""}, u""},
      {"character is one code unit", u"\U0001F600x", "C", {u"\xD83D"}, u"\xDE00x"},
      {"value without digits trims", u"  x", "V", {u"0"}, u"x"},
      {"value stops at the comma", u"12,3", "V", {u"12"}, u",3"},
      {"largest value", u"9223372036854775807", "V", {u"9223372036854775807"}, u""},
      {"wraps past the top bit", u"9223372036854775808", "V", {u"-9223372036854775808"}, u""},
      {"wraps past 64 bits", u"18446744073709551617", "V", {u"1"}, u""},
      {"line kept untrimmed until stripped", u"  \"a\" {c", "", {}, u"  \"a\" {c"},
      {"strip cuts at the first brace", u"  \"a\" {c {d", "X", {u"0"}, u"\"a\""},
  };
  for (const ParserCase& c : cases) {
    SCOPED_TRACE(c.Name);
    T_STRING_PARSER parser = T_STRING_PARSER::InitString(c.Line);
    const std::string calls = c.Calls;
    ASSERT_EQ(calls.size(), c.Results.size());
    for (size_t i = 0; i < calls.size(); i++) {
      EXPECT_EQ(RunCall(parser, calls[i]), c.Results[i]) << "call " << i << " " << calls[i];
    }
    EXPECT_EQ(parser.CurrentLine, c.Rest);
  }
}

TEST(PersistParser, NewParserHoldsNothing) {
  T_STRING_PARSER parser;
  EXPECT_TRUE(parser.CurrentLine.empty());
  EXPECT_EQ(parser.IsEmpty(), 1);
  EXPECT_EQ(parser.GetValue(), 0);
}

}  // namespace

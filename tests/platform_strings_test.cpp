// Text helpers: UTF-8 and Latin-1 conversions, numbers as text, upper case, trimming and
// file-name extensions.
#include <gtest/gtest.h>

#include <climits>

#include "platform/platform.h"

namespace {

TEST(PlatformStrings, Utf8DecodesToUtf16Units) {
  struct Case {
    std::string utf8;
    String units;
  } cases[] = {
      {"abc", u"abc"},
      {"\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},
      {"\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},   // outside the BMP: a surrogate pair
      {"a\xFF" "b", u"a\uFFFD" "b"},            // a byte that starts nothing
      {"\xC3", u"\uFFFD"},                      // cut in the middle of a character
      {"\xE6\x97" "x", u"\uFFFD\uFFFD" "x"},
      {"\xC0\xAF", u"\uFFFD\uFFFD"},            // overlong '/'
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
      {std::string("a\0b", 3), String(u"a\0b", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(FromUtf8(c.utf8), c.units) << c.utf8;
}

TEST(PlatformStrings, Utf16EncodesToUtf8) {
  EXPECT_EQ(ToUtf8(u"\u00E9\u65E5\xD83D\xDE00"), "\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80");
  EXPECT_EQ(ToUtf8(String(1, char16_t(0xD800))), "\xEF\xBF\xBD");   // a lone surrogate
  String all;
  for (int u = 1; u < 0xD800; u += 7) all.push_back(char16_t(u));
  EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
}

TEST(PlatformStrings, Latin1KeepsEveryByte) {
  std::string bytes;
  for (int b = 0; b < 256; b++) bytes.push_back(char(b));
  String units = FromLatin1(bytes);
  ASSERT_EQ(units.size(), 256u);
  EXPECT_EQ(units[0xE9], u'\u00E9');
  EXPECT_EQ(ToLatin1(units), bytes);
  EXPECT_EQ(ToLatin1(u"\u0141x"), "\x41x");   // only the low byte of a wide unit
}

TEST(PlatformStrings, NumbersAsText) {
  EXPECT_EQ(IntText(0), u"0");
  EXPECT_EQ(IntText(-42), u"-42");
  EXPECT_EQ(IntText(INT64_MAX), u"9223372036854775807");
  EXPECT_EQ(IntText(INT64_MIN), u"-9223372036854775808");
  struct Case {
    String text;
    int64_t value;
  } cases[] = {{u"123", 123}, {u"-17", -17}, {u"12ab", 12}, {u"ab", 0},  {u"", 0},
               {u"-", 0},     {u"  8", 8},   {u"+5", 5},    {u"3.9", 3}, {u"9223372036854775807", INT64_MAX}};
  for (const Case& c : cases) EXPECT_EQ(TextToInt(c.text), c.value) << ToUtf8(c.text);
}

TEST(PlatformStrings, UpperCaseByTheUnicodeTable) {
  struct Case {
    String in, out;
  } cases[] = {
      {u"abc xyz 09", u"ABC XYZ 09"},
      {u"\u00E9\u00E0\u00F6\u00FF", u"\u00C9\u00C0\u00D6\u0178"},   // Latin-1 letters, y diaeresis
      {u"\u00DF\u00F7", u"\u00DF\u00F7"},                            // no single capital, a sign
      {u"\u0105\u0142\u017C", u"\u0104\u0141\u017B"},                // Polish
      {u"\u0431\u044A\u0451", u"\u0411\u042A\u0401"},                // Cyrillic
      {u"\u03B1\u03C9", u"\u0391\u03A9"},                            // Greek
      // Greek with the iota below: each small form becomes its title-case form.
      {u"\u1F80\u1F87\u1F90\u1F97\u1FA0\u1FA7\u1FB3\u1FC3\u1FF3",
       u"\u1F88\u1F8F\u1F98\u1F9F\u1FA8\u1FAF\u1FBC\u1FCC\u1FFC"},
      {u"\u1F88\u1FB2\u1FB4\u1FF2", u"\u1F88\u1FB2\u1FB4\u1FF2"},   // no single capital, or already one
      {u"\u05D0\u65E5", u"\u05D0\u65E5"},                            // no case at all
      {u"\u00AA\u00B4", u"\u00AA\u00B4"},                            // at or below 180
  };
  for (const Case& c : cases) EXPECT_EQ(UpperCase(c.in), c.out) << ToUtf8(c.in);
}

TEST(PlatformStrings, TrimmedAndExtension) {
  EXPECT_EQ(Trimmed(u" \t a b \r\n"), u"a b");
  EXPECT_EQ(Trimmed(u"   "), u"");
  struct Case {
    String path, ext;
  } cases[] = {{u"font.ttf", u"ttf"},  {u"/a/b/x.tar.gz", u"gz"}, {u"/a.b/noext", u""},
               {u"name.", u""},       {u".hidden", u"hidden"},   {u"C:\\dir.x\\file", u""},
               {u"", u""}};
  for (const Case& c : cases) EXPECT_EQ(ExtensionOf(c.path), c.ext) << ToUtf8(c.path);
}

}  // namespace

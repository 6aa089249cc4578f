// Language files: encodings told by their marks, the line rules, the loader and the lookup
// with its "@" fallback, and files no one should have to load but players may drop in.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/assets.h"
#include "i18n/language.h"
#include "i18n/text_reader.h"

namespace {

using namespace std::string_literals;

const std::string English_File = QUARK_SOURCE_DIR "/Data/qUaRk_text_EN.txt";

std::string Utf16Bytes(const String& text, bool big_endian) {
  std::string bytes;
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

class I18nLanguage : public ::testing::Test {
 protected:
  std::string Dir;

  void SetUp() override {
    char pattern[] = "/tmp/quark-lang-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Dir = pattern;
    Text_List.clear();
    Fallback_Text_List.clear();
  }
  void TearDown() override {
    std::filesystem::remove_all(Dir);
    Text_List.clear();
    Fallback_Text_List.clear();
  }
  String Write(const char* name, const std::string& bytes) const {
    std::ofstream(Dir + "/" + name, std::ios::binary) << bytes;
    return FromLatin1(Dir + "/" + name);
  }
  static std::vector<String> Lines(const String& url, int encoding) {
    std::vector<String> lines;
    std::unique_ptr<TextStream> stream = TextFileReader::CreateStream(url, 0, encoding);
    EXPECT_TRUE(stream);
    while (stream && !stream->Eof()) lines.push_back(stream->ReadLine());
    return lines;
  }
  static std::vector<std::pair<String, String>> Entries() {
    std::vector<std::pair<String, String>> entries;
    for (const T_LTEXT& entry : Text_List) entries.emplace_back(entry.Key, entry.Text);
    return entries;
  }
};

TEST_F(I18nLanguage, EncodingToldByTheFirstBytes) {
  const struct {
    const char* Name;
    std::string Bytes;
    int Code;
  } cases[] = {
      {"empty", "", ENCODING_LATIN1},
      {"one byte", "\xFE", ENCODING_LATIN1},
      {"plain text", "{ x", ENCODING_LATIN1},
      {"UTF-16 BE", "\xFE\xFF", ENCODING_UTF16_BE},
      {"UTF-16 LE", "\xFF\xFE{\0", ENCODING_UTF16_LE},
      {"UTF-8", "\xEF\xBB\xBF{", ENCODING_UTF8},
      {"UTF-8 mark alone", "\xEF\xBB\xBF", ENCODING_UTF8},
      {"two bytes of the UTF-8 mark", "\xEF\xBB", ENCODING_LATIN1},
      {"broken UTF-8 mark", "\xEF\xBB\x41", ENCODING_LATIN1},
      {"mark not at the start", " \xFF\xFE", ENCODING_LATIN1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TextFileReader::EncodingDetector(Write("probe.txt", c.Bytes)), c.Code);
  }
  EXPECT_EQ(TextFileReader::EncodingDetector(FromLatin1(Dir + "/missing.txt")), ENCODING_LATIN1);
  EXPECT_FALSE(TextFileReader::CreateStream(FromLatin1(Dir + "/missing.txt"), 1, 0));
}

TEST_F(I18nLanguage, LinesDecodedInEachEncoding) {
  // LF ends a line, CR is dropped anywhere, NUL ends a line, the last line needs no end, and a
  // mark is the first character of line 1.
  const String text = u"\uFEFFa\r\nb\rc\0d\n\u00E9\u4E2D\U0001F600\n\nlast"s;
  const std::vector<String> expected = {u"\uFEFFa", u"bc", u"d", u"\u00E9\u4E2D\U0001F600", u"", u"last"};
  const std::string text_bytes = ToUtf8(text);
  EXPECT_EQ(Lines(Write("u8.txt", text_bytes), ENCODING_UTF8), expected);
  EXPECT_EQ(Lines(Write("be.txt", Utf16Bytes(text, true)), ENCODING_UTF16_BE), expected);
  EXPECT_EQ(Lines(Write("le.txt", Utf16Bytes(text, false)), ENCODING_UTF16_LE), expected);

  const std::vector<String> latin = {u"\u00E9t\u00E9", u"\u00FF\u00FE"};
  EXPECT_EQ(Lines(Write("l1.txt", "\xE9t\xE9\r\n\xFF\xFE"), ENCODING_LATIN1), latin);
  // The same bytes read as Latin-1 whatever they look like.
  EXPECT_EQ(Lines(Write("u8l1.txt", "\xC3\xA9"), ENCODING_LATIN1), std::vector<String>{u"\u00C3\u00A9"});
}

TEST_F(I18nLanguage, BrokenUtf8BecomesReplacementCharacters) {
  const struct {
    const char* Name;
    std::string Bytes;
    String Line;
  } cases[] = {
      {"stray continuation", "a\x80z", u"a\uFFFDz"},
      {"lead byte cut by LF", "a\xE4\xB8\nz", u"a\uFFFD"},
      {"lead byte at the end", "a\xF0", u"a\uFFFD"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
      {"invalid lead", "\xFFx", u"\uFFFDx"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::vector<String> lines = Lines(Write("bad.txt", c.Bytes), ENCODING_UTF8);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], c.Line);
  }
}

TEST_F(I18nLanguage, FirstLineOnlyWithoutMark) {
  const std::string entry = "\"Play\" = \"Jouer\"\r\n\"Quit\" = \"Quitter\"\r\n";
  ASSERT_EQ(LoadLanguage(Write("latin1.txt", entry)), 1);
  EXPECT_EQ(Text_List.size(), 2u);
  EXPECT_EQ(Translate(u"Play"), u"Jouer");

  ASSERT_EQ(LoadLanguage(Write("utf8.txt", "\xEF\xBB\xBF" + entry)), 1);
  EXPECT_EQ(Text_List.size(), 1u);
  EXPECT_EQ(Translate(u"Play"), u"@PLAY");
  EXPECT_EQ(Translate(u"Quit"), u"Quitter");
}

TEST_F(I18nLanguage, EntryLines) {
  const std::string file =
      "{ language name XX\r\n"
      "\"LCode\"\t=\t\"XX\"\r\n"
      "\"Credits\" : \"Cr\u00e9dits\"\r\n"          // a colon works like "="
      "\"Dup\" = \"first\"\r\n"
      "\"dup\" = \"second\"\r\n"                    // same key in other letters: first wins
      "\"NoText\" =\r\n"
      "\"Unquoted\" = text\r\n"
      "\"Unterminated\" = \"abc\r\n"
      "\"Empty\" = \"\"\r\n"
      "\"Brace\" = \"a { b\"\r\n"
      "\"\" = \"empty key\"\r\n"
      "Bare = \"no quotes\"\r\n"
      "   \t\r\n"
      "\"Spaces\" = \" x  \" { trailing comment\r\n";
  ASSERT_EQ(LoadLanguage(Write("xx.txt", "\xEF\xBB\xBF" + file)), 1);
  const std::vector<std::pair<String, String>> expected = {
      {u"LCODE", u"XX"},      {u"CREDITS", u"Cr\u00e9dits"}, {u"DUP", u"first"},  {u"DUP", u"second"},
      {u"NOTEXT", u""},       {u"UNQUOTED", u""},            {u"UNTERMINATED", u""}, {u"EMPTY", u""},
      {u"BRACE", u""},        {u"SPACES", u" x  "},
  };
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(Translate(u"dUp"), u"first");
  EXPECT_EQ(Translate(u"Tuto5"), u"@TUTO5");
  EXPECT_EQ(Translate(u"credits"), u"Cr\u00e9dits");
}

// A player's own file (or one exported by an older version) lacks the newer keys: they read as
// the fallback's English, and only a key both lack shows as "@KEY".
TEST_F(I18nLanguage, KeysALanguageLacksReadAsTheFallback) {
  ASSERT_EQ(LoadFallbackLanguage(Write("en.txt", "\"Play\" = \"Play\"\r\n\"Symbols\" = \"Symbols\"\r\n")), 1);
  ASSERT_EQ(LoadLanguage(Write("old_fr.txt", "\"Play\" = \"Jouer\"\r\n")), 1);
  EXPECT_EQ(Translate(u"Play"), u"Jouer");
  EXPECT_EQ(Translate(u"symbols"), u"Symbols");
  EXPECT_EQ(Translate(u"Tuto5"), u"@TUTO5");
  EXPECT_EQ(LoadFallbackLanguage(u""), 0);
  EXPECT_EQ(Translate(u"Symbols"), u"@SYMBOLS");
}

TEST_F(I18nLanguage, MissingFileKeepsTheOldTexts) {
  ASSERT_EQ(LoadLanguage(Write("a.txt", "\"Play\" = \"Spielen\"")), 1);
  EXPECT_EQ(LoadLanguage(FromLatin1(Dir + "/no_such_language.txt")), 0);
  EXPECT_EQ(Translate(u"PLAY"), u"Spielen");
  // A folder is no language file, even one named like one.
  std::filesystem::create_directory(Dir + "/qUaRk_text_XX.txt");
  EXPECT_EQ(LoadLanguage(FromLatin1(Dir + "/qUaRk_text_XX.txt")), 0);
  EXPECT_EQ(Translate(u"PLAY"), u"Spielen");
  // A second file replaces the first one's texts altogether.
  ASSERT_EQ(LoadLanguage(Write("b.txt", "\"Quit\" = \"Sluiten\"")), 1);
  EXPECT_EQ(Translate(u"Play"), u"@PLAY");
}

TEST_F(I18nLanguage, Utf16TwinsLoadTheSameTexts) {
  // Every shipped file, plus one of our own in case none is there; each gets an extra line of
  // characters from all three UTF-8 lengths and one above U+FFFF.
  std::vector<std::string> files = {"\xEF\xBB\xBF{ language name ZZ\r\n"};
  for (const auto& entry : std::filesystem::directory_iterator(QUARK_SOURCE_DIR "/Data")) {
    if (entry.path().filename().string().rfind("qUaRk_text_", 0) != 0) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    files.push_back(all.str());
  }
  for (std::string utf8 : files) {
    SCOPED_TRACE(utf8.substr(0, 24));
    utf8 += "\r\n\"Extra\"\t=\t\"\u00e9\u4e2d\u6587 \U0001F600\"\r\n";
    // The twins are made from the platform's own UTF-8 decoding, not from the reader under test.
    const String text = FromUtf8(utf8);
    ASSERT_EQ(text[0], u'\uFEFF');

    ASSERT_EQ(LoadLanguage(Write("u8.txt", utf8)), 1);
    const auto from_utf8 = Entries();
    ASSERT_FALSE(from_utf8.empty());
    EXPECT_EQ(from_utf8.back().second, u"\u00e9\u4e2d\u6587 \U0001F600");
    ASSERT_EQ(LoadLanguage(Write("le.txt", Utf16Bytes(text, false))), 1);
    EXPECT_EQ(Entries(), from_utf8);
    ASSERT_EQ(LoadLanguage(Write("be.txt", Utf16Bytes(text, true))), 1);
    EXPECT_EQ(Entries(), from_utf8);
  }
}

TEST_F(I18nLanguage, ShippedEnglishFile) {
  if (!std::filesystem::exists(English_File)) GTEST_SKIP() << "no " << English_File << " yet";
  ASSERT_EQ(LoadLanguage(FromLatin1(English_File)), 1);
  EXPECT_EQ(Text_List.size(), 68u);
  for (const char16_t* key : {u"play", u"Play", u"PLAY", u"pLaY"}) EXPECT_EQ(Translate(key), u"Play");
  EXPECT_EQ(Translate(u"LCode"), u"EN");
  EXPECT_EQ(Translate(u"LLanguage"), u"English");
  EXPECT_EQ(Translate(u"LFlagFile"), u"English.png");
  EXPECT_EQ(Translate(u"Time"), u"Time: ");
  EXPECT_EQ(Translate(u"Center"), u"Centered");
  EXPECT_EQ(Translate(u"Tuto5"), u"@TUTO5");
  EXPECT_EQ(Translate(u"Tuto7").substr(0, 11), u"That's all!");
  EXPECT_EQ(Translate(u"Undo Button"), u"UNDO");
}

TEST_F(I18nLanguage, APlayersFileWithoutTheLaterKeysShowsTheirEnglishTexts) {
  RegisterEmbeddedData();
  ASSERT_EQ(LoadFallbackLanguage(u"incbin::Data/qUaRk_text_EN.txt"), 1);
  // Written before the side-bar words and the style hint existed.
  ASSERT_EQ(LoadLanguage(Write("old.txt", "\"Play\" = \"Spielen\"\r\n\"Back Button\" = \"Z\"\r\n")), 1);
  const struct {
    const char16_t* Key;
    const char16_t* Text;
  } rows[] = {
      {u"Play", u"Spielen"},
      {u"back button", u"Z"},                 // the file's own word wins
      {u"Undo Button", u"UNDO"},              // the game's English
      {u"RESTART BUTTON", u"RESTART"},
      {u"Last Button", u"RESUME"},
      {u"Menu Button", u"MENU"},
      {u"Style Hint", u"Drag a style onto a numbered slot to use it for that color."},
      {u"Hint Key", u"? or F1: hint"},        // the hint and the par came later still
      {u"No Way Out", u"No way out from here."},
      {u"In Par", u"Solved in par!"},
      {u"Options", u"Options"},
      {u"Tuto5", u"@TUTO5"},                  // a key no file has still shows what is missing
  };
  for (const auto& row : rows) EXPECT_EQ(Translate(row.Key), row.Text) << ToUtf8(row.Key);
}

TEST_F(I18nLanguage, AnyBytesLoadWithoutHarm) {
  // A player's broken file: junk, a megabyte on one line, no line ends, odd UTF-16 lengths.
  std::string junk;
  uint32_t state = 12345;
  for (int i = 0; i < 200000; i++) {
    state = state * 1103515245u + 12345u;
    junk += static_cast<char>(state >> 16);
  }
  const std::string long_line = "\"Long\" = \"" + std::string(1 << 20, 'x') + "\"";
  const struct {
    const char* Name;
    std::string Bytes;
  } cases[] = {
      {"junk", junk},
      {"junk as UTF-8", "\xEF\xBB\xBF" + junk},
      {"junk as UTF-16 BE", "\xFE\xFF" + junk},
      {"junk as UTF-16 LE, odd length", "\xFF\xFE" + junk + "!"},
      {"one long line", "\n" + long_line},
      {"only quotes and braces", std::string(100000, '"') + std::string(1000, '{')},
      {"empty", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(LoadLanguage(Write("junk.txt", c.Bytes)), 1);
  }
  LoadLanguage(Write("long.txt", "\n" + long_line));
  EXPECT_EQ(Translate(u"Long").size(), size_t{1} << 20);
}

}  // namespace

// Loading a language file and looking texts up in it.
#include "i18n/language.h"

#include "i18n/text_reader.h"
#include "persist/string_parser.h"

std::vector<T_LTEXT> Text_List;

namespace {

// Keys that came after the first language files. A player's own file written before them does
// not have them, and "@KEY" on a button or a hint would say nothing to that player; the game's
// own English text says more.
const char16_t* const Later_Keys[] = {
    u"STYLE HINT", u"UNDO BUTTON", u"MENU BUTTON", u"BACK BUTTON", u"RESTART BUTTON", u"LAST BUTTON",
};
const String English_File = u"incbin::Data/qUaRk_text_EN.txt";

// The entries of a language file in file order; false when it cannot be opened.
bool ReadEntries(const String& path, std::vector<T_LTEXT>* entries) {
  std::unique_ptr<TextStream> stream = TextFileReader::CreateStream(path, 1, 0);
  if (!stream) return false;
  entries->clear();
  while (!stream->Eof()) {
    T_STRING_PARSER parser = T_STRING_PARSER::InitString(stream->ReadLine());
    parser.StripComments();
    if (parser.IsEmpty()) continue;
    const String key = parser.GetString();
    parser.GetCharacter();   // the separator: "=" in our files, but any one character will do
    const String text = parser.GetString();
    if (!key.empty()) entries->push_back(T_LTEXT{UpperCase(key), text});
  }
  stream->Close();
  return true;
}

const String* FindText(const std::vector<T_LTEXT>& entries, const String& upper_key) {
  for (const T_LTEXT& entry : entries) {
    if (entry.Key == upper_key) return &entry.Text;
  }
  return nullptr;
}

// The embedded English texts, read at the first lookup that needs them.
const std::vector<T_LTEXT>& EnglishTexts() {
  static std::vector<T_LTEXT> english;
  static bool read = false;
  if (!read) read = ReadEntries(English_File, &english);
  return english;
}

}  // namespace

void T_LTEXT::AddText(const String& key, const String& text) {
  T_LTEXT entry;
  entry.Key = UpperCase(key);
  entry.Text = text;
  Text_List.push_back(std::move(entry));
}

String T_LTEXT::GetText(const String& key) {
  const String wanted = UpperCase(key);
  if (const String* text = FindText(Text_List, wanted)) return *text;
  for (const char16_t* later : Later_Keys) {
    if (wanted != later) continue;
    if (const String* text = FindText(EnglishTexts(), wanted)) return *text;
  }
  // A missing translation shows on screen as "@KEY", which a translator spots at once.
  return u"@" + wanted;
}

String Translate(const String& key) { return T_LTEXT::GetText(key); }

int LoadLanguage(const String& path) {
  std::vector<T_LTEXT> entries;
  if (!ReadEntries(path, &entries)) return 0;
  Text_List = std::move(entries);
  return 1;
}

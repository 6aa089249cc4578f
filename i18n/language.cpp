// Loading a language file and looking texts up in it.
#include "i18n/language.h"

#include "i18n/text_reader.h"
#include "persist/string_parser.h"

std::vector<T_LTEXT> Text_List;
std::vector<T_LTEXT> Fallback_Text_List;

void T_LTEXT::AddText(const String& key, const String& text) {
  T_LTEXT entry;
  entry.Key = UpperCase(key);
  entry.Text = text;
  Text_List.push_back(std::move(entry));
}

namespace {

// Reads the "Key" = "Text" lines of a language file into `texts`; false when it cannot be opened.
bool ReadTexts(const String& path, std::vector<T_LTEXT>* texts) {
  std::unique_ptr<TextStream> stream = TextFileReader::CreateStream(path, 1, 0);
  if (!stream) return false;
  while (!stream->Eof()) {
    T_STRING_PARSER parser = T_STRING_PARSER::InitString(stream->ReadLine());
    parser.StripComments();
    if (parser.IsEmpty()) continue;
    const String key = parser.GetString();
    parser.GetCharacter();   // the separator: "=" in our files, but any one character will do
    const String text = parser.GetString();
    if (key.empty()) continue;
    T_LTEXT entry;
    entry.Key = UpperCase(key);
    entry.Text = text;
    texts->push_back(std::move(entry));
  }
  stream->Close();
  return true;
}

const String* Find(const std::vector<T_LTEXT>& texts, const String& wanted) {
  for (const T_LTEXT& entry : texts) {
    if (entry.Key == wanted) return &entry.Text;
  }
  return nullptr;
}

}  // namespace

String T_LTEXT::GetText(const String& key) {
  const String wanted = UpperCase(key);
  if (const String* text = Find(Text_List, wanted)) return *text;
  if (const String* text = Find(Fallback_Text_List, wanted)) return *text;
  // A key missing everywhere shows on screen as "@KEY", which a translator spots at once.
  return u"@" + wanted;
}

String Translate(const String& key) { return T_LTEXT::GetText(key); }

int LoadLanguage(const String& path) {
  std::vector<T_LTEXT> texts;
  if (!ReadTexts(path, &texts)) return 0;
  Text_List = std::move(texts);
  return 1;
}

int LoadFallbackLanguage(const String& path) {
  Fallback_Text_List.clear();
  return !path.empty() && ReadTexts(path, &Fallback_Text_List) ? 1 : 0;
}

// Loading a language file and looking texts up in it.
#include "i18n/language.h"

#include "i18n/text_reader.h"
#include "persist/string_parser.h"

std::vector<T_LTEXT> Text_List;

void T_LTEXT::AddText(const String& key, const String& text) {
  T_LTEXT entry;
  entry.Key = UpperCase(key);
  entry.Text = text;
  Text_List.push_back(std::move(entry));
}

String T_LTEXT::GetText(const String& key) {
  const String wanted = UpperCase(key);
  for (const T_LTEXT& entry : Text_List) {
    if (entry.Key == wanted) return entry.Text;
  }
  // A missing translation shows on screen as "@KEY", which a translator spots at once.
  return u"@" + wanted;
}

String Translate(const String& key) { return T_LTEXT::GetText(key); }

int LoadLanguage(const String& path) {
  std::unique_ptr<TextStream> stream = TextFileReader::CreateStream(path, 1, 0);
  if (!stream) return 0;
  Text_List.clear();
  while (!stream->Eof()) {
    T_STRING_PARSER parser = T_STRING_PARSER::InitString(stream->ReadLine());
    parser.StripComments();
    if (parser.IsEmpty()) continue;
    const String key = parser.GetString();
    parser.GetCharacter();   // the separator: "=" in our files, but any one character will do
    const String text = parser.GetString();
    if (!key.empty()) T_LTEXT::AddText(key, text);
  }
  stream->Close();
  return 1;
}

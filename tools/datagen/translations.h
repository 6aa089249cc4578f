// The texts of the fifteen languages the game ships, one table per language, written as a
// translator reads them: UTF-8, right-to-left languages in their natural (logical) order.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct Translation {
  const char* Code;     // "LCode", also the file name's suffix
  const char* Name;     // "LLanguage": the language's own name
  const char* Flag;     // "LFlagFile"
  bool Right_To_Left;   // stored in display order by the writer
  // Every text key of the game with its text. "@" at the start of a word breaks the line in
  // the wrapped texts (tutorial and credits); right-to-left texts place their own breaks.
  std::vector<std::pair<const char*, const char*>> Texts;
};

// The keys every language file carries, in file order.
const std::vector<const char*>& TextKeys();

// In the order the files are listed at start-up.
Translation French();
Translation English();
Translation Dutch();
Translation Portuguese();
Translation Spanish();
Translation Polish();
Translation German();
Translation Hungarian();
Translation Italian();
Translation Chinese();
Translation Hebrew();
Translation Bulgarian();
Translation Swedish();
Translation Afrikaans();
Translation Romanian();

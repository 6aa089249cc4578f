// The language files "qUaRk_text_<code>.txt".
#pragma once

#include <string>

// Writes the fifteen language files into `dir`; false when one could not be written.
bool WriteLanguageFiles(const std::string& dir);

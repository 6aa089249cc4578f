// A stand-in level catalogue "full2.lvl" of easy levels, for builds without the real one.
#pragma once

#include <string>

bool WritePlaceholderCatalogue(const std::string& path);

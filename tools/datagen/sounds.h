// The sound effects and the three music loops of the game.
#pragma once

#include <string>

// Writes every effect and music file into `dir`; false when one could not be written.
bool WriteSounds(const std::string& dir);
bool WriteMusic(const std::string& dir);

// Reading a board typed by a person: 80 cells 0..6, as one string of digits or as numbers
// separated by spaces or commas. Anything else is refused with a message saying why.
#pragma once

#include <cstdint>
#include <string>

// Fills cells[80] and returns true, or returns false with `error` set.
bool ParseBoardText(const std::string& text, uint8_t* cells, std::string& error);

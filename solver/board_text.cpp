// Reading a board typed by a person.
#include "solver/board_text.h"

#include <vector>

#include "solver/bitboard.h"

bool ParseBoardText(const std::string& text, uint8_t* cells, std::string& error) {
  std::vector<std::string> tokens;
  std::string cur;
  for (char ch : text) {
    if (ch == ' ' || ch == ',' || ch == '\n' || ch == '\t' || ch == '\r' || ch == ';') {
      if (!cur.empty()) tokens.push_back(cur);
      cur.clear();
    } else {
      cur += ch;
    }
  }
  if (!cur.empty()) tokens.push_back(cur);
  // One run of 80 digits is a board written without separators.
  if (tokens.size() == 1 && tokens[0].size() > 1) {
    std::string run = tokens[0];
    tokens.clear();
    for (char ch : run) tokens.push_back(std::string(1, ch));
  }
  for (const std::string& t : tokens) {
    for (char ch : t) {
      if (ch < '0' || ch > '9') {
        error = "not a cell value: \"" + t + "\" (cells are whole numbers 0 to 6)";
        return false;
      }
    }
  }
  if (tokens.size() != size_t(Grid_Cells)) {
    error = "a board has 80 cells (10 columns by 8 rows), this one has " +
            std::to_string(tokens.size());
    return false;
  }
  for (int i = 0; i < Grid_Cells; i++) {
    if (tokens[i].size() > 1 || tokens[i][0] > '6') {
      error = "cell " + std::to_string(i) + " (column " + std::to_string(i % Grid_W) + ", row " +
              std::to_string(i / Grid_W) + ") holds " + tokens[i] +
              ": cells are 0 (empty) or a colour 1 to 6";
      return false;
    }
    cells[i] = uint8_t(tokens[i][0] - '0');
  }
  return true;
}

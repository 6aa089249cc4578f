// The shipped solutions of the catalogue (Data/full2.solutions.txt) and driver scripts that play
// them through the real interface: mouse drags from cell to cell, or the keyboard cursor.
// A line is "INDEX ID MOVES optimal|best TOKEN...", a token "XYD": the group at cell (X, Y) takes
// one step in D (R, D, L, U), or G: take hold of a colour that is already whole.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct SolutionStep {
  int x, y;
  char dir;   // R, D, L, U or G
};

// The shipped solution of catalogue record `index`; empty when the file has none.
inline std::vector<SolutionStep> ShippedSolution(int index) {
  std::ifstream in(std::string(QUARK_SOURCE_DIR) + "/Data/full2.solutions.txt");
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    int record = -1, id = -1, moves = 0;
    std::string kind, token;
    words >> record >> id >> moves >> kind;
    if (record != index) continue;
    std::vector<SolutionStep> steps;
    while (words >> token && token != "#") {
      if (token.size() != 3) return {};
      steps.push_back({token[0] - '0', token[1] - '0', token[2]});
    }
    return steps;
  }
  return {};
}

inline int StepDirX(char d) { return d == 'R' ? 1 : d == 'L' ? -1 : 0; }
inline int StepDirY(char d) { return d == 'D' ? 1 : d == 'U' ? -1 : 0; }

// The window pixel at the centre of a cell of `cell` pixels (windowed: the play area's origin
// is the window's).
inline std::string CellCentre(int x, int y, int cell) {
  return std::to_string(x * cell + cell / 2) + " " + std::to_string(y * cell + cell / 2);
}

// The window pixel at the centre of side-bar slot `slot` (0 at the top), beside a board of
// `cell`-pixel cells; the side bar is 64 pixels wide.
inline std::string IconCentre(int slot, int cell) {
  return std::to_string(10 * cell + 32) + " " + std::to_string(slot * cell + cell / 2);
}

// Each step: press on a block of the group, move the pointer into the next cell, let go; then
// `settle` (time for a completed colour's 300 ms flash to end).
inline std::string MouseSolutionScript(const std::vector<SolutionStep>& steps, int cell,
                                       const std::string& settle = "wait 20\n") {
  std::string s;
  for (const SolutionStep& st : steps) {
    s += "move " + CellCentre(st.x, st.y, cell) + "\npress 1\nwait 1\n";
    if (st.dir != 'G') s += "move " + CellCentre(st.x + StepDirX(st.dir), st.y + StepDirY(st.dir), cell) + "\n";
    s += "wait 1\nrelease 1\n" + settle;
  }
  return s;
}

// The same with the keyboard cursor, which must already show at (*kx, *ky); they follow it.
// A colour already whole has no keyboard step: such a solution cannot be played this way.
inline std::string KeyboardSolutionScript(const std::vector<SolutionStep>& steps, int* kx, int* ky,
                                          const std::string& settle = "wait 20\n") {
  std::string s;
  auto arrow = [&](const char* name) { s += std::string("key ") + name + "\nwait 1\n"; };
  for (const SolutionStep& st : steps) {
    for (; *kx < st.x; (*kx)++) arrow("Right");
    for (; *kx > st.x; (*kx)--) arrow("Left");
    for (; *ky < st.y; (*ky)++) arrow("Down");
    for (; *ky > st.y; (*ky)--) arrow("Up");
    s += "key Return\nwait 1\n";
    arrow(st.dir == 'R' ? "Right" : st.dir == 'L' ? "Left" : st.dir == 'D' ? "Down" : "Up");
    *kx += StepDirX(st.dir);
    *ky += StepDirY(st.dir);
    // Lets go; after a completing step the hand is already open over a dying block.
    s += "key Return\nwait 1\n" + settle;
  }
  return s;
}

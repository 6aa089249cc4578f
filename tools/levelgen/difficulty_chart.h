// The chart of the catalogue's difficulty curve: moves per level (proven fewest in green,
// best known in orange with its lower bound in red) and the block count in grey.
#pragma once

#include <string>
#include <vector>

struct ChartLevel {
  int moves;
  int lower_bound;
  bool optimal;
  int blocks;
};

bool WriteDifficultyChart(const std::string& path, const std::vector<ChartLevel>& levels);

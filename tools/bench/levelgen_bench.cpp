// quark-levelgen-bench: how long a random level takes to make, per difficulty, over many seeds
// (median and 95th percentile of the wall time, the walks tried, the pars found).
// Usage: quark-levelgen-bench [SEEDS] [CATALOGUE] (defaults 100 and Data/full2.lvl).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "levelgen/random_level.h"

int main(int argc, char** argv) {
  int seeds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  std::string catalogue = argc > 2 ? argv[2] : "Data/full2.lvl";
  std::ifstream in(catalogue, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> keys = CatalogueKeys(bytes.data(), int(bytes.size() / 404));
  std::printf("%zu catalogue levels kept apart\n", keys.size());
  const char* names[Difficulty_Count] = {"easy", "medium", "hard", "expert"};
  for (int d = 0; d < Difficulty_Count; d++) {
    std::vector<double> times;
    std::vector<int> pars, walks;
    for (int s = 0; s < seeds; s++) {
      LevelCode code;
      code.seed = uint32_t(1000 + s);
      code.difficulty = d;
      MadeLevel made;
      auto t0 = std::chrono::steady_clock::now();
      MakeRandomLevel(code, keys, nullptr, made);
      times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
      pars.push_back(made.par);
      walks.push_back(made.walks);
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    auto at = [&](double q) { return sorted[std::min<size_t>(sorted.size() - 1, size_t(q * sorted.size()))]; };
    int par_low = *std::min_element(pars.begin(), pars.end()), par_high = *std::max_element(pars.begin(), pars.end());
    double mean_walks = 0;
    for (int w : walks) mean_walks += w;
    std::printf("%-7s %3d seeds: median %.3f s, 95th percentile %.3f s, slowest %.3f s; pars %d-%d; %.1f walks each\n",
                names[d], seeds, at(0.5), at(0.95), sorted.back(), par_low, par_high, mean_walks / seeds);
    std::fflush(stdout);
  }
}

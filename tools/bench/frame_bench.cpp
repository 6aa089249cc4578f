// quark-frame-bench: times whole frames of play (input, update, drawing, present) on the
// software renderer at 1024 x 768, on the fullest catalogue level with an effect style on every
// colour, a colour bursting every second so fragments and burst particles are always in flight.
// Usage: quark-frame-bench [frames] [whole|texture|hint|idle]   (default 1200, after 120 frames of
// warm-up; "whole" draws and presents every frame whole, for comparison; "hint" keeps a hint's
// search running on the hardest level's start in the background all along; "idle" is instead
// level 1 untouched at the first window size with the first styles, as a new player first sees it)
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/frame_loop.h"
#include "app/startup.h"
#include "app/state.h"
#include "board/block.h"
#include "board/level_play.h"
#include "fx/fragments.h"
#include "fx/particles.h"
#include "levels/catalogue.h"
#include "platform/headless.h"
#include "solver/hint.h"

namespace {

int FullestLevel() {
  int best = 0, most = -1;
  for (int i = 0; i < Official_Level_Count; i++) {
    int n = 0;
    for (int c = 0; c < Board_Cells; c++) n += PeekByte(Level_Bank, i * Level_Record_Size + Level_Cells_Offset + c) != 0;
    if (n > most) most = n, best = i;
  }
  return best;
}

void LayLevel(int index) {
  Level_Index = index;
  LoadOfficialLevel(Level_Bank, static_cast<int64_t>(index) * Level_Record_Size);
}

// The colour of the first live block bursts, thrown to the right as by a move.
void BurstOneColour() {
  for (auto& b : Block_List) {
    if (b->Timer != 0) continue;
    T_BLOCK::SelectAllSameColor(b->Kind);
    T_FX::ExplodeSelectedBlocks(300, 1, 0);
    T_BLOCK::SetSelectedBlocksTimer(300);
    T_BLOCK::InitRecursiveSelect();
    return;
  }
}

bool AnyLiveBlock() {
  for (auto& b : Block_List) {
    if (b->Timer == 0) return true;
  }
  return false;
}

// Writes a buffer larger than the processor's caches, so that the next frame finds none of its
// own memory there.
void ColdCaches() {
  static std::vector<uint8_t> sweep(64 << 20);
  static uint8_t round = 0;
  round++;
  for (size_t i = 0; i < sweep.size(); i += 64) sweep[i] = round;
}

}  // namespace

int main(int argc, char** argv) {
  int frames = argc > 1 ? std::max(1, atoi(argv[1])) : 1200;
  const int warm_up = 120;
  // A throwaway user folder: the player's own files are never touched.
  char folder[] = "/tmp/quark-frame-bench-XXXXXX";
  if (!mkdtemp(folder)) return 1;
  setenv("XDG_DATA_HOME", folder, 1);

  EnterHeadlessMode();
  if (argc > 2 && std::string(argv[2]) == "whole") SetFullFrameRedraw(1);
  if (argc > 2 && std::string(argv[2]) == "texture") KeepFrameInTexture(1);
  SetDesktopSize(1920, 1080);
  double clock = 100000;
  SetVirtualMillisecs(static_cast<uint32_t>(clock));
  StartGame();
  const bool idle = argc > 2 && std::string(argv[2]) == "idle";
  Screen_Mode = 0;
  if (!idle) {
    Wanted_Resolution_X = 1024;
    Wanted_Resolution_Y = 768;
    Wanted_Block_Size = 96;
    // Glints, sparkles and drips: two styles of each effect.
    const int effect_styles[6] = {0, 3, 4, 1, 5, 6};
    for (int k = 0; k < 6; k++) User_Style[k] = effect_styles[k];
  }
  ApplyDisplayMode();
  int level = idle ? 0 : FullestLevel();
  LayLevel(level);
  EnterPlay(1);

  // The hint's own thread, searching one answer after another at its usual budget.
  const bool hint = argc > 2 && std::string(argv[2]) == "hint";
  HintWorker searching;
  BoardCells hardest{};
  for (int c = 0; c < Board_Cells; c++)
    hardest[c] = static_cast<uint8_t>(PeekByte(Level_Bank, (Official_Level_Count - 1) * Level_Record_Size + Level_Cells_Offset + c));
  int searches = 0;

  std::vector<double> ms;
  size_t most_particles = 0, most_fragments = 0;
  double draws = 0, replayed = 0, dirty = 0, prefix = 0;
  // Processor time of this thread beside the wall clock: on a shared machine the wall clock also
  // counts the time other programs held the processor.
  std::vector<double> cpu_ms;
  for (int i = 0; i < warm_up + frames; i++) {
    if (!idle && i >= warm_up / 2 && i % 60 == 0) {
      if (!AnyLiveBlock()) LayLevel(level);
      BurstOneColour();
    }
    clock += 1000.0 / 60;
    SetVirtualMillisecs(static_cast<uint32_t>(clock));
    if (hint && !searching.Busy()) {
      searching.Request(hardest, {}, HintBudget());
      searches++;
    }
    // Between two frames of a resting game the processor serves other programs for 16 ms, and
    // little of the game stays in its caches: the idle frames start cold, as they do there.
    if (idle) ColdCaches();
    auto start = std::chrono::steady_clock::now();
    timespec cpu_start, cpu_end;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu_start);
    RunOneFrame();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu_end);
    auto end = std::chrono::steady_clock::now();
    if (i >= warm_up) {
      ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
      cpu_ms.push_back((cpu_end.tv_sec - cpu_start.tv_sec) * 1e3 + (cpu_end.tv_nsec - cpu_start.tv_nsec) / 1e6);
      FrameComposition made = LastFrameComposition();
      draws += made.Commands;
      replayed += made.Replayed;
      dirty += double(made.Dirty_Pixels);
      prefix += made.Common_Prefix;
      if (getenv("QUARK_BENCH_TRACE")) {
        std::printf("frame %d: %d draws, %d as before, %d drawn again, %.0f %% redrawn, %.2f ms\n", i, made.Commands,
                    made.Common_Prefix, made.Replayed, 100.0 * double(made.Dirty_Pixels) / (double(Resolution_X) * Resolution_Y),
                    cpu_ms.back());
      }
    }
    most_particles = std::max(most_particles, Particle_List.size());
    most_fragments = std::max(most_fragments, FX_List.size());
  }
  std::sort(ms.begin(), ms.end());
  double median = ms[ms.size() / 2];
  double p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
  std::printf("level %d at %dx%d, %d frames: median %.2f ms, 99th percentile %.2f ms, max %.2f ms\n",
              level + 1, Resolution_X, Resolution_Y, frames, median, p99, ms.back());
  std::sort(cpu_ms.begin(), cpu_ms.end());
  std::printf("processor time of the frame: median %.2f ms, 99th percentile %.2f ms\n", cpu_ms[cpu_ms.size() / 2],
              cpu_ms[std::min(cpu_ms.size() - 1, cpu_ms.size() * 99 / 100)]);
  std::printf("per frame: %.0f draws (the first %.0f as in the frame before), %.0f drawn again, %.0f %% of the window redrawn\n",
              draws / frames, prefix / frames, replayed / frames, 100.0 * dirty / frames / (double(Resolution_X) * Resolution_Y));
  std::printf("up to %zu particles and %zu fragments at once; screen %d at the end\n", most_particles,
              most_fragments, Current_Screen);
  if (hint) std::printf("hint searches started in the background: %d\n", searches);
  std::string cleanup = std::string("rm -rf ") + folder;
  int ignored = std::system(cleanup.c_str());
  (void)ignored;
  EndProgram();
}

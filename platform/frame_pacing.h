// The frame schedule: one frame to each display period, so that the animations that count
// frames keep their pace, and input that comes between two frames drawn at once. Apart from
// the real clock and event queue, so that the schedule's rules can be checked on a made-up one.
#pragma once

#include <cstdint>
#include <functional>

struct PacingClock {
  std::function<uint64_t()> Now;
  std::function<void(uint64_t)> Sleep_Until;         // to that time, whatever comes meanwhile
  std::function<bool(uint64_t)> Wait_Input_Until;    // to that time or the first input: true then
};

// Waits for the time of the next frame and returns the mark to pass the next time (0 the first
// time). The frame of a period runs when the period ends, or at once when input comes during
// it; a frame that ran early leaves the next period closed until it opens. A loop that fell
// more than two periods behind starts afresh rather than running the frames it missed.
uint64_t WaitForFrameTime(uint64_t mark, uint64_t period, const PacingClock& clock);

// Whether a renderer that says its presents wait for the vertical blank really waits. A present
// that waits returns at least a display period after the one before it; one that does not,
// paced only by the half-period floor kept for such renderers, returns every half period. Many
// quick presents in a row, and the renderer is not believed again (some drivers, with the wait
// turned off in their settings or on a virtual screen, would run the game at twice its pace).
class VerticalBlankCheck {
 public:
  // The time between the ends of two presents of frames shown one after the other.
  void Presented(uint64_t interval, uint64_t period);
  bool Believed() const { return Quick_In_A_Row < Quick_Presents_To_Doubt; }
  void Reset() { Quick_In_A_Row = 0; }

 private:
  static constexpr int Quick_Presents_To_Doubt = 30;
  int Quick_In_A_Row = 0;
};

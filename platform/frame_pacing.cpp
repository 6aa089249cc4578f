#include "platform/frame_pacing.h"

uint64_t WaitForFrameTime(uint64_t mark, uint64_t period, const PacingClock& clock) {
  uint64_t now = clock.Now();
  if (!mark || now > mark + 2 * period) return now;
  if (now < mark) clock.Sleep_Until(mark);
  // The mark moves by whole periods whenever the frame runs, so the rate stays right on average
  // although the real clock's sleeps are counted in milliseconds.
  uint64_t due = mark + period;
  clock.Wait_Input_Until(due);
  return due;
}

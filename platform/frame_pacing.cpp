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

void VerticalBlankCheck::Presented(uint64_t interval, uint64_t period) {
  if (!Believed()) return;
  // Three quarters of a period: a real wait is never shorter than the display's period; the
  // floor of a wait that is not done is half of it.
  Quick_In_A_Row = interval * 4 < period * 3 ? Quick_In_A_Row + 1 : 0;
}

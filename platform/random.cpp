// The random number generator: the minimal standard generator with a fixed start state, so
// every run of the game draws the same sequence.
#include <cmath>
#include <numbers>

#include "platform/platform.h"

namespace {

constexpr int32_t Modulus = 2147483647;   // 2^31 - 1
constexpr int32_t Multiplier = 48271;
constexpr int32_t Quotient = 44488;       // Modulus / Multiplier
constexpr int32_t Remainder = 3399;       // Modulus % Multiplier

int32_t State = 4660;

// Schrage's decomposition keeps every product inside 32 bits.
int32_t Step() {
  State = Multiplier * (State % Quotient) - Remainder * (State / Quotient);
  if (State < 0) State += Modulus;
  return State;
}

// A double in [0, 1) from two steps: 27 bits of the first and 26 of the second.
double Unit() {
  double a = double(Step() & 0x1FFFFFFC);
  double b = double(Step() & 0x1FFFFFF8);
  return (a + b / 134217728.0) / 536870912.0;   // 2^27, 2^29
}

}  // namespace

void SeedRandom(int32_t state) { State = state; }

int Rand(int lo, int hi) {
  int64_t d = int64_t(hi) - lo;
  if (d > 0) return int(lo + int64_t(Unit() * double(d + 1)));
  return int(hi + int64_t(Unit() * double(1 - d)));
}

double Rnd(double lo, double hi) {
  double v = Unit();
  if (hi > lo) return lo + v * (hi - lo);
  return hi + v * (lo - hi);
}

double SinDeg(double degrees) { return std::sin(degrees * (std::numbers::pi / 180.0)); }

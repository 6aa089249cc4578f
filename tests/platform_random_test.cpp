// The random number generator: its sequence against an independent reference, the ranges of
// Rand and Rnd, swapped bounds and repeatability.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>

#include "platform/platform.h"

namespace {

// The value a double draw must take from two consecutive generator states.
double UnitFrom(uint32_t a, uint32_t b) {
  return (double(a & 0x1FFFFFFC) + double(b & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
}

TEST(PlatformRandom, FollowsTheMinimalStandardSequenceFromItsStartState) {
  // std::minstd_rand is the same recurrence (multiplier 48271, modulus 2^31 - 1), computed
  // without Schrage's decomposition, so it checks every state independently.
  SeedRandom(4660);
  std::minstd_rand reference(4660);
  for (int i = 0; i < 5000; i++) {
    uint32_t a = reference(), b = reference();
    ASSERT_EQ(Rnd(0, 1), UnitFrom(a, b)) << "draw " << i;
  }
}

TEST(PlatformRandom, SchrageStepMatchesAtStatesNearTheModulus) {
  for (int32_t seed : {1, 44487, 44488, 44489, 2147483646, 123456789}) {
    SeedRandom(seed);
    std::minstd_rand reference{uint32_t(seed)};
    uint32_t a = reference(), b = reference();
    EXPECT_EQ(Rnd(0, 1), UnitFrom(a, b)) << "seed " << seed;
  }
}

TEST(PlatformRandom, RandCoversBothEndsAndNothingElse) {
  struct Case {
    int lo, hi, min, max;
  } cases[] = {{20, 50, 20, 50}, {50, 20, 20, 50}, {-3, 3, -3, 3}, {0, 1, 0, 1}, {7, 6, 6, 7}};
  SeedRandom(4660);
  for (const Case& c : cases) {
    std::set<int> seen;
    for (int i = 0; i < 20000; i++) {
      int v = Rand(c.lo, c.hi);
      ASSERT_GE(v, c.min) << c.lo << ".." << c.hi;
      ASSERT_LE(v, c.max) << c.lo << ".." << c.hi;
      seen.insert(v);
    }
    EXPECT_EQ(int(seen.size()), c.max - c.min + 1) << c.lo << ".." << c.hi;
  }
}

TEST(PlatformRandom, EqualBoundsAndExtremeBounds) {
  SeedRandom(4660);
  for (int i = 0; i < 100; i++) EXPECT_EQ(Rand(5, 5), 5);
  for (int i = 0; i < 1000; i++) {
    int v = Rand(INT_MIN, INT_MAX);   // the span does not fit an int
    (void)v;
    int w = Rand(INT_MAX - 1, INT_MAX);
    EXPECT_GE(w, INT_MAX - 1);
  }
}

TEST(PlatformRandom, RndStaysInsideTheHalfOpenRange) {
  SeedRandom(4660);
  for (int i = 0; i < 20000; i++) {
    double v = Rnd(2.0, 5.0);
    ASSERT_GE(v, 2.0);
    ASSERT_LT(v, 5.0);
    double w = Rnd(5.0, 2.0);
    ASSERT_GE(w, 2.0);
    ASSERT_LT(w, 5.0);
  }
  EXPECT_EQ(Rnd(3.0, 3.0), 3.0);
}

TEST(PlatformRandom, SameStartSameSequence) {
  SeedRandom(4660);
  std::vector<double> first;
  for (int i = 0; i < 50; i++) first.push_back(i % 2 ? Rnd(0, 10) : double(Rand(1, 1000)));
  SeedRandom(4660);
  for (int i = 0; i < 50; i++) {
    double v = i % 2 ? Rnd(0, 10) : double(Rand(1, 1000));
    EXPECT_EQ(v, first[size_t(i)]) << "draw " << i;
  }
}

TEST(PlatformRandom, SineTakesDegrees) {
  EXPECT_NEAR(SinDeg(30), 0.5, 1e-12);
  EXPECT_NEAR(SinDeg(90), 1.0, 1e-12);
  EXPECT_NEAR(SinDeg(-90), -1.0, 1e-12);
  EXPECT_NEAR(SinDeg(180), 0.0, 1e-12);
}

}  // namespace

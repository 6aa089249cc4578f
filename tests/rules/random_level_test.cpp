// Random levels: each difficulty gives a board whose par the solver confirms from scratch and
// the game's own rules replay, the same code gives the same board, the day's level of a fixed
// date is a fixed board, level codes and dates round-trip, and the integer chance draws match
// the floating-point ones the catalogue was made with.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "levelgen/backward.h"
#include "levelgen/random_level.h"
#include "levelgen/records.h"
#include "solver/game_board.h"
#include "tests/rules/rules_fixture.h"

namespace {

std::vector<std::string> ShippedCatalogueKeys() {
  std::ifstream in(std::string(QUARK_SOURCE_DIR) + "/Data/full2.lvl", std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  return CatalogueKeys(bytes.data(), int(bytes.size() / Record_Size));
}

std::string CellText(const LevelCells& cells) {
  std::string s;
  for (uint8_t v : cells) s += char('0' + v);
  return s;
}

class RandomLevelTest : public RulesTest {};

TEST_F(RandomLevelTest, EachDifficultyIsSolvableInExactlyItsParAsTheSolverFindsFromScratch) {
  const std::vector<std::string> keys = ShippedCatalogueKeys();
  ASSERT_EQ(keys.size(), 553u);
  for (int difficulty = 0; difficulty < Difficulty_Count; difficulty++) {
    for (uint32_t seed : {7u, 2024u}) {
      SCOPED_TRACE("difficulty " + std::to_string(difficulty) + " seed " + std::to_string(seed));
      LevelCode code{seed, difficulty, false};
      MadeLevel made;
      ASSERT_TRUE(MakeRandomLevel(code, keys, nullptr, made));
      EXPECT_GE(made.par, Difficulty_Steps[difficulty].low);
      EXPECT_LE(made.par, Difficulty_Steps[difficulty].high);
      EXPECT_EQ(CountSteps(made.solution), made.par);

      SolveOptions options;
      options.max_states = 4'000'000;
      SolveReport fresh = Solve(PositionFromCells(made.cells.data()), options);
      ASSERT_TRUE(fresh.optimal);
      EXPECT_EQ(fresh.moves, made.par);

      std::string why;
      EXPECT_TRUE(GameReplayEmpties(made.cells.data(), made.solution, why)) << why;
      Cells cells;
      std::copy(made.cells.begin(), made.cells.end(), cells.begin());
      EXPECT_FALSE(std::binary_search(keys.begin(), keys.end(), CanonicalKey(cells)));
      EXPECT_GE(ColourCount(cells), 3);
      EXPECT_LE(ColourCount(cells), 6);
    }
  }
}

TEST_F(RandomLevelTest, TheSameCodeGivesTheSameBoardAndAnotherSeedAnother) {
  const std::vector<std::string> keys = ShippedCatalogueKeys();
  LevelCode code{123456u, Difficulty_Medium, false};
  MadeLevel a, b, other;
  ASSERT_TRUE(MakeRandomLevel(code, keys, nullptr, a));
  ASSERT_TRUE(MakeRandomLevel(code, keys, nullptr, b));
  EXPECT_EQ(a.cells, b.cells);
  EXPECT_EQ(a.par, b.par);
  code.seed++;
  ASSERT_TRUE(MakeRandomLevel(code, keys, nullptr, other));
  EXPECT_NE(a.cells, other.cells);
}

// Kept as made on the first day it was written: a change to the generator, the walks' settings
// or the solver's budgets that changes this board changes every player's level of the day.
TEST_F(RandomLevelTest, TheLevelOfAFixedDateIsAFixedBoard) {
  LevelCode code = DayLevelCode(DayNumber(2026, 12, 9));
  EXPECT_EQ(LevelCodeText(code), "QR00-0M9W");
  MadeLevel made;
  ASSERT_TRUE(MakeRandomLevel(code, ShippedCatalogueKeys(), nullptr, made));
  EXPECT_EQ(CellText(made.cells), "00015500050000550000000005001104000500110006000011006644001006004440500000446660");
  EXPECT_EQ(made.par, 20);
}

TEST_F(RandomLevelTest, ARaisedCancelStopsTheMaking) {
  std::atomic<bool> cancel{true};
  MadeLevel made;
  EXPECT_FALSE(MakeRandomLevel(LevelCode{1u, Difficulty_Expert, false}, {}, &cancel, made));
}

TEST(LevelCode, RoundTripsAndRefusesWhatDoesNotRead) {
  const LevelCode codes[] = {
      {0u, Difficulty_Easy, false},          {1u, Difficulty_Medium, false},
      {0xFFFFFFFFu, Difficulty_Expert, true}, {20431u, Day_Difficulty, true},
      {987654321u, Difficulty_Hard, false},
  };
  for (const LevelCode& code : codes) {
    std::string text = LevelCodeText(code);
    SCOPED_TRACE(text);
    ASSERT_EQ(text.size(), 9u);
    EXPECT_EQ(text[4], '-');
    LevelCode back;
    ASSERT_TRUE(ParseLevelCode(text, back));
    EXPECT_EQ(back, code);
    // As a player may type it: small letters, no dash, spaces around.
    std::string typed = " " + text.substr(0, 4) + text.substr(5) + " ";
    for (char& c : typed) c = char(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_TRUE(ParseLevelCode(typed, back));
    EXPECT_EQ(back, code);
    // Every single letter changed to the next one of the alphabet is caught by the check or
    // reads as another level, never as this one.
    int caught = 0;
    for (size_t i = 0; i < text.size(); i++) {
      if (text[i] == '-') continue;
      std::string wrong = text;
      wrong[i] = wrong[i] == 'Z' ? '0' : wrong[i] == '9' ? 'A' : char(wrong[i] + 1);
      LevelCode misread;
      if (!ParseLevelCode(wrong, misread)) {
        caught++;
      } else {
        EXPECT_NE(misread, code);
      }
    }
    EXPECT_GE(caught, 6);
  }
  // O reads as 0, I and L as 1.
  LevelCode a, b;
  ASSERT_TRUE(ParseLevelCode(LevelCodeText({10u, 0, false}), a));
  std::string with_o = LevelCodeText({10u, 0, false});
  for (char& c : with_o) {
    if (c == '0') c = 'O';
  }
  ASSERT_TRUE(ParseLevelCode(with_o, b));
  EXPECT_EQ(a, b);
  LevelCode ignored;
  for (const char* bad : {"", "ABCD-EFG", "ABCD-EFGHJ", "ABCD-EFG!", "UUUU-UUUU"}) EXPECT_FALSE(ParseLevelCode(bad, ignored)) << bad;
}

TEST(LevelCode, DaysCountFromTheFirstOfJanuary1970BothWays) {
  struct Row {
    int year, month, day, number;
    const char* text;
  };
  const Row rows[] = {
      {1970, 1, 1, 0, "1970-01-01"},     {1969, 12, 31, -1, "1969-12-31"},
      {2000, 2, 29, 11016, "2000-02-29"}, {2000, 3, 1, 11017, "2000-03-01"},
      {2026, 12, 9, 20796, "2026-12-09"}, {2100, 3, 1, 47541, "2100-03-01"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(DayNumber(r.year, r.month, r.day), r.number) << r.text;
    int y, m, d;
    DayDate(r.number, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, r.year * 10000 + r.month * 100 + r.day) << r.text;
    if (r.number >= 0) {
      EXPECT_EQ(DayText(r.number), r.text);
    }
  }
  LevelCode day = DayLevelCode(20796);
  EXPECT_TRUE(day.daily);
  EXPECT_EQ(day.difficulty, Day_Difficulty);
  EXPECT_EQ(day.seed, 20796u);
}

// The catalogue was made with "a uniform [0, 1) draw < p"; the integer draw must agree on every
// draw, or the catalogue tool would no longer make the same catalogue.
TEST(LevelCode, IntegerChancesAgreeWithTheFloatingPointDraws) {
  Rng reals(99), chances(99), settings(5);
  for (int i = 0; i < 20000; i++) {
    double p = i % 4 == 0 ? 0.3 : i % 4 == 1 ? 0.8 : 0.5 + 0.2 * settings.Real();
    ASSERT_EQ(reals.Real() < p, chances.Chance(ChanceOdds(p))) << "draw " << i << " p " << p;
  }
  EXPECT_EQ(ChanceOdds(0), 0u);
  EXPECT_EQ(ChanceOdds(1), uint64_t(1) << 53);
  EXPECT_EQ(ChanceOdds(0.5), uint64_t(1) << 52);
  EXPECT_EQ(PerMilleOdds(500), uint64_t(1) << 52);
}

}  // namespace

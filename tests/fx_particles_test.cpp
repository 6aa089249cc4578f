// Particles: what may be created, glints that keep to their group, sparkles and drips that
// travel through it, emitters, the burst of a leaving block, and the margins of free flight.
#include <algorithm>
#include <set>

#include "fx/particles.h"
#include "tests/board_fixture.h"

namespace {

class Particles : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    // Blocks laid here carry no effect of their own; each test adds the particles it needs.
    std::copy(std::begin(Style_FX_Mode), std::end(Style_FX_Mode), Saved_FX_Mode);
    std::fill(std::begin(Style_FX_Mode), std::end(Style_FX_Mode), 0);
    SeedRandom(4660);
  }
  void TearDown() override {
    std::copy(std::begin(Saved_FX_Mode), std::end(Saved_FX_Mode), Style_FX_Mode);
    BoardTest::TearDown();
  }
  static std::vector<T_PARTICLE*> Of(int mode) {
    std::vector<T_PARTICLE*> out;
    for (auto& p : Particle_List) {
      if (p->Mode == mode) out.push_back(p.get());
    }
    return out;
  }
  static void Update(int times = 1) {
    for (int i = 0; i < times; i++) {
      T_PARTICLE::DoParticles();
      Now += 16;
    }
  }
  int Saved_FX_Mode[Style_Table_Size] = {};
};

TEST_F(Particles, OnlyWhatCanLiveIsCreated) {
  Lay({"..........",
       "....0.1...",
       "....0.0..."});
  T_BLOCK* upper = BlockAt(4, 1);
  T_BLOCK* covered = BlockAt(4, 2);       // the same colour lies above
  T_BLOCK* under_other = BlockAt(6, 2);   // another colour lies above
  struct Case {
    T_BLOCK* owner;
    int mode, count;
    int detail;
    size_t made;
  } cases[] = {
      {upper, Particle_Glint, 3, 0, 0},          // particles switched off
      {nullptr, Particle_Glint, 3, 1, 0},        // no owner: a message, nothing else
      {upper, Particle_None, 3, 1, 0},
      {covered, Particle_Drip_Emitter, 1, 1, 0},   // a same-colour block lies above
      {covered, Particle_Drip_Emitter, 10, 1, 0},
      {upper, Particle_Drip_Emitter, 3, 1, 3},
      {under_other, Particle_Drip_Emitter, 2, 1, 2},
      {covered, Particle_Sparkle_Emitter, 3, 1, 3},
      {covered, Particle_Glint, 5, 1, 5},
  };
  for (const Case& c : cases) {
    Particle_List.clear();
    Detail_Particles = c.detail;
    T_PARTICLE::AddParticles(c.owner, c.mode, c.count);
    EXPECT_EQ(Particle_List.size(), c.made) << "mode " << c.mode << " count " << c.count;
    for (auto& p : Particle_List) EXPECT_EQ(p->Owner, c.owner);
  }
  // In row 0 there is nothing above.
  Lay({"0.........", "0........."});
  Particle_List.clear();
  T_PARTICLE::AddParticles(BlockAt(0, 0), Particle_Drip_Emitter, 1);
  EXPECT_EQ(Particle_List.size(), 1u);
}

TEST_F(Particles, AGlintBouncesInALoneBlockAndWandersThroughItsGroup) {
  Lay({"..........",
       ".00.......",
       "..0....0..",
       "..11......"});
  std::set<T_BLOCK*> group = {BlockAt(1, 1), BlockAt(2, 1), BlockAt(2, 2)};
  T_BLOCK* lone = BlockAt(7, 2);
  T_PARTICLE::AddParticles(lone, Particle_Glint, 3);
  for (T_BLOCK* b : group) T_PARTICLE::AddParticles(b, Particle_Glint, 4);
  std::set<T_BLOCK*> visited;
  for (int i = 0; i < 6000; i++) {
    Update();
    for (auto& p : Particle_List) {
      if (p->Owner == lone) {
        ASSERT_GE(p->fX, 0);
        ASSERT_LE(p->fX, 74 - p->Size);
        ASSERT_GE(p->fY, 0);
        ASSERT_LE(p->fY, 74 - p->Size);
        continue;
      }
      ASSERT_TRUE(group.count(p->Owner)) << "a glint left its group";
      visited.insert(p->Owner);
      // Crossing into a neighbour it may straddle the two cells, but every corner of the
      // sprite stays on a block of the group.
      float x = p->Owner->X + p->fX, y = p->Owner->Y + p->fY;
      for (float cx : {x, x + p->Size - 1}) {
        for (float cy : {y, y + p->Size - 1}) {
          ASSERT_TRUE(group.count(BlockAt(static_cast<int>(cx) / 74, static_cast<int>(cy) / 74)))
              << "corner " << cx << "," << cy;
        }
      }
    }
  }
  EXPECT_EQ(Particle_List.size(), 15u);
  EXPECT_EQ(std::count_if(Particle_List.begin(), Particle_List.end(),
                          [&](const std::unique_ptr<T_PARTICLE>& p) { return p->Owner == lone; }),
            3);
  EXPECT_EQ(visited, group);
}

TEST_F(Particles, AnEmitterEmitsAtOnceAndTheSparkleGrowsInTheSamePass) {
  Lay({"..........", "...0......", "...0......"});
  T_PARTICLE::AddParticles(BlockAt(3, 2), Particle_Sparkle_Emitter, 1);
  T_PARTICLE::DoParticles();
  std::vector<T_PARTICLE*> sparkles = Of(Particle_Sparkle);
  ASSERT_EQ(sparkles.size(), 1u);
  T_PARTICLE* s = sparkles[0];
  EXPECT_FLOAT_EQ(s->Scale, s->vScale) << "appended during the pass, updated in it";
  EXPECT_FLOAT_EQ(s->vY, -0.004f);
  EXPECT_GE(s->Timer, Now + 1000);
  EXPECT_LE(s->Timer, Now + 1800);
  // The next one comes 500 to 1000 ms later, not before.
  int64_t next = Of(Particle_Sparkle_Emitter)[0]->Timer;
  EXPECT_GE(next, Now + 500);
  EXPECT_LE(next, Now + 1000);
  Now = next;
  T_PARTICLE::DoParticles();
  EXPECT_EQ(Of(Particle_Sparkle).size(), 1u);
  Now = next + 1;
  T_PARTICLE::DoParticles();
  EXPECT_EQ(Of(Particle_Sparkle).size(), 2u);
}

TEST_F(Particles, ASparkleGrowsToItsSizeThenRisesThroughTheGroupAndEndsAtItsTop) {
  Lay({"..........", "..0.......", "..0.......", "..0.......", "..0.......", "..0.......", "..0......."});
  T_PARTICLE::AddParticles(BlockAt(2, 6), Particle_Sparkle, 1);
  T_PARTICLE* s = Particle_List.front().get();
  // 60 updates a second reach the final size when the growth time is over.
  double clock = static_cast<double>(Now);
  while (Now < s->Timer) {
    T_PARTICLE::DoParticles();
    clock += 1000.0 / 60;
    Now = static_cast<int64_t>(clock);
  }
  EXPECT_NEAR(s->Scale, s->ScaleDest, s->ScaleDest * 0.03);
  float scale = s->Scale;
  std::vector<int> rows = {6};
  float fastest = 0;
  while (!Particle_List.empty()) {
    T_PARTICLE::DoParticles();
    if (Particle_List.empty()) break;
    fastest = std::min(fastest, s->vY);
    if (s->Owner->YMap != rows.back()) rows.push_back(s->Owner->YMap);
    EXPECT_FLOAT_EQ(s->Scale, scale);
  }
  EXPECT_EQ(rows, (std::vector<int>{6, 5, 4, 3, 2, 1}));
  EXPECT_LE(fastest, -4.0f);
  EXPECT_GE(fastest, -4.03f - 1e-4f);   // at most one step past -4
}

TEST_F(Particles, ADripSinksThroughTheGroupAndEndsAtItsBottom) {
  Lay({"..........", "..........", ".....0....", ".....0....", ".....0....", ".....1...."});
  T_PARTICLE::AddParticles(BlockAt(5, 2), Particle_Drip, 1);
  T_PARTICLE* d = Particle_List.front().get();
  EXPECT_EQ(d->fY, 0);
  std::vector<int> rows = {2};
  for (int i = 0; i < 20000 && !Particle_List.empty(); i++) {
    T_PARTICLE::DoParticles();
    if (!Particle_List.empty() && d->Owner->YMap != rows.back()) rows.push_back(d->Owner->YMap);
  }
  EXPECT_TRUE(Particle_List.empty());
  EXPECT_EQ(rows, (std::vector<int>{2, 3, 4}));
}

TEST_F(Particles, ADripEmitterEndsWhenCoveredAndIsNotMadeAgain) {
  Lay({"..........", "..........", "..........", "....0....."});
  T_PARTICLE::AddParticles(BlockAt(4, 3), Particle_Drip_Emitter, 1);
  Update();
  EXPECT_EQ(Of(Particle_Drip_Emitter).size(), 1u);
  EXPECT_EQ(Of(Particle_Drip).size(), 1u);
  T_BLOCK* cover = T_BLOCK::addBlock(4, 2, 0);
  Update();
  EXPECT_TRUE(Of(Particle_Drip_Emitter).empty());
  RemoveBlock(cover);
  Update(300);
  EXPECT_TRUE(Of(Particle_Drip_Emitter).empty());
}

TEST_F(Particles, ABurstFreesWhatShowsAndDropsTheEmitters) {
  Lay({"..........", "..........", "..........", "..2.......", "..........", "..........", "..........",
       ".......2.."});
  T_BLOCK* b = BlockAt(2, 3);
  T_BLOCK* other = BlockAt(7, 7);
  T_PARTICLE::AddParticles(b, Particle_Glint, 2);
  T_PARTICLE::AddParticles(b, Particle_Sparkle_Emitter, 1);
  T_PARTICLE::AddParticles(b, Particle_Drip_Emitter, 1);
  T_PARTICLE::AddParticles(other, Particle_Glint, 1);
  Update(3);   // each emitter has made one: a sparkle still growing, a drip
  ASSERT_EQ(Of(Particle_Sparkle).size(), 1u);
  ASSERT_EQ(Of(Particle_Drip).size(), 1u);
  struct Before {
    T_PARTICLE* p;
    float x, y, scale;
  };
  std::vector<Before> before;
  for (auto& p : Particle_List) {
    if (p->Owner == b && p->Mode != Particle_Sparkle_Emitter && p->Mode != Particle_Drip_Emitter) {
      before.push_back({p.get(), p->fX, p->fY, p->Scale});
    }
  }
  ASSERT_EQ(before.size(), 4u);
  T_PARTICLE::ExplodeParticle(b);
  EXPECT_TRUE(Of(Particle_Sparkle_Emitter).empty());
  EXPECT_TRUE(Of(Particle_Drip_Emitter).empty());
  EXPECT_EQ(Particle_List.size(), 5u);   // the four freed, and the glint of the other block
  for (const Before& w : before) {
    EXPECT_EQ(w.p->Owner, nullptr);
    EXPECT_EQ(w.p->Mode, Particle_Burst);
    EXPECT_EQ(w.p->Size, 2);   // the kind it shows
    EXPECT_FLOAT_EQ(w.p->fX, w.x + 2 * 74);
    EXPECT_FLOAT_EQ(w.p->fY, w.y + 3 * 74);
    EXPECT_FLOAT_EQ(w.p->Scale, w.scale);
    EXPECT_GE(w.p->vX, -6);
    EXPECT_LT(w.p->vX, 6);
    EXPECT_GE(w.p->vY, -6);
    EXPECT_LT(w.p->vY, 2);
  }
  T_PARTICLE::RemoveParticle(other);
  EXPECT_EQ(Particle_List.size(), 4u);
  Update(400);
  EXPECT_TRUE(Particle_List.empty()) << "burst particles fall off the screen";
}

TEST_F(Particles, AFreeParticleLeavesPastTheMarginWithoutRounding) {
  struct Case {
    float x, y;
    bool kept;
  } cases[] = {
      {0, 666, true},  {0, 666.5f, false}, {0, -74, true},  {0, -74.5f, false},
      {878, 0, true},  {878.5f, 0, false}, {-74, 0, true},  {-74.5f, 0, false},
  };
  for (const Case& c : cases) {
    Particle_List.clear();
    auto p = std::make_unique<T_PARTICLE>();
    p->Mode = Particle_Burst;
    p->fX = c.x;
    p->fY = c.y;
    Particle_List.push_back(std::move(p));
    T_PARTICLE::DoParticles();
    EXPECT_EQ(Particle_List.size(), c.kept ? 1u : 0u) << c.x << ", " << c.y;
  }
}

}  // namespace

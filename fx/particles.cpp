// Particles on blocks of the effect styles: creation per mode, one update per frame, the burst
// when a block leaves, and drawing as added light.
#include "fx/particles.h"

#include "app/assets.h"
#include "app/display.h"
#include "app/state.h"
#include "board/block.h"

std::list<std::unique_ptr<T_PARTICLE>> Particle_List;

namespace {
constexpr int Particle_Frame = 28;    // the sprite in every tile strip
constexpr float Sprite_Size = 48;     // pixels of that frame, whatever the cell size
constexpr float Gravity = 0.2f;
constexpr float Frame_Ms = 16.666666f;   // sparkles grow for 60 updates a second

// The neighbouring block of the same kind as `owner`, or none. Reading the block grid keeps
// this in step with the hand, which also looks blocks up there.
T_BLOCK* SameKindAt(const T_BLOCK* owner, int dx, int dy) {
  T_BLOCK* n = BlockAt(owner->XMap + dx, owner->YMap + dy);
  return n && n->Kind == owner->Kind ? n : nullptr;
}

Image* KindImage(int kind) {
  int style = KindStyle(kind);
  return style >= 0 ? Style_Images[style] : nullptr;
}

float Uniform(double lo, double hi) { return static_cast<float>(Rnd(lo, hi)); }

void SetUp(T_PARTICLE& p, T_BLOCK* owner) {
  float b = static_cast<float>(Block_Size);
  switch (p.Mode) {
    case Particle_Glint:
      p.Scale = Uniform(0.2, 0.6);
      p.Size = static_cast<int>(Sprite_Size * p.Scale);
      p.fX = Uniform(0, b - p.Size);
      p.fY = Uniform(0, b - p.Size);
      p.vX = Uniform(-0.2, 0.2);
      p.vY = Uniform(-0.2, 0.2);
      p.Timer = 0;
      p.Alpha = 1;
      break;
    case Particle_Sparkle: {
      p.Scale = 0;
      p.ScaleDest = Uniform(0.1, 0.24);
      p.Size = static_cast<int>(Sprite_Size * p.ScaleDest);
      p.fX = Uniform(0, b - p.Size);
      p.fY = Uniform(0, b - p.Size);
      p.vX = p.vY = 0;
      int grow = Rand(1000, 1800);
      p.Timer = Now + grow;
      p.Alpha = 1;
      // Full size after `grow` milliseconds of updates.
      p.vScale = p.ScaleDest * Frame_Ms / static_cast<float>(grow);
      break;
    }
    case Particle_Drip:
      p.Scale = Uniform(0.2, 0.4);
      p.Size = static_cast<int>(Sprite_Size * p.Scale);
      p.fX = Uniform(0, b - p.Size);
      p.fY = 0;
      p.vX = 0;
      p.vY = Uniform(0.02, 0.2);
      p.Timer = 0;
      p.Alpha = Uniform(0.2, 1);
      break;
    default:   // emitters: invisible, and due at their first update
      p.Timer = 0;
      break;
  }
  p.Owner = owner;
}

// A glint bounces off the outer edges of its group and crosses into same-kind neighbours. Each
// check works with the owner the previous one left.
void MoveGlint(T_PARTICLE& p) {
  float b = static_cast<float>(Block_Size);
  float far = b - p.Size;
  p.fX += p.vX;
  p.fY += p.vY;
  if (p.fX < 0) {
    if (T_BLOCK* n = SameKindAt(p.Owner, -1, 0)) {
      p.Owner = n;
      p.fX += b;
    } else {
      p.vX = -p.vX;
      p.fX = 0;
    }
  }
  if (p.fX >= far) {
    if (T_BLOCK* n = SameKindAt(p.Owner, 1, 0)) {
      p.Owner = n;
      p.fX -= b;
    } else {
      p.vX = -p.vX;
      p.fX = far;
    }
  }
  if (p.fY < 0) {
    if (T_BLOCK* n = SameKindAt(p.Owner, 0, -1)) {
      p.Owner = n;
      p.fY += b;
    } else {
      p.vY = -p.vY;
      p.fY = 0;
    }
  }
  if (p.fY >= far) {
    if (T_BLOCK* n = SameKindAt(p.Owner, 0, 1)) {
      p.Owner = n;
      p.fY -= b;
    } else {
      p.vY = -p.vY;
      p.fY = far;
    }
  }
}

// One update of one particle; false when it is to be removed.
bool Update(T_PARTICLE& p) {
  float b = static_cast<float>(Block_Size);
  switch (p.Mode) {
    case Particle_Glint:
      MoveGlint(p);
      return true;
    case Particle_Sparkle_Emitter:
      if (Now > p.Timer) {
        T_PARTICLE::AddParticles(p.Owner, Particle_Sparkle, 1);
        p.Timer = Now + Rand(500, 1000);
      }
      return true;
    case Particle_Drip_Emitter:
      // Drips fall from the top of a column only; once covered, the emitter is done for good.
      if (SameKindAt(p.Owner, 0, -1)) return false;
      if (Now > p.Timer) {
        T_PARTICLE::AddParticles(p.Owner, Particle_Drip, 1);
        p.Timer = Now + Rand(2000, 3000);
      }
      return true;
    case Particle_Sparkle:
      if (Now < p.Timer) {
        p.Scale += p.vScale;
        p.vY -= 0.004f;
        return true;
      }
      p.fX += p.vX;
      p.fY += p.vY;
      if (p.vY > -4) p.vY -= 0.03f;
      if (p.fY < 0) {
        T_BLOCK* above = SameKindAt(p.Owner, 0, -1);
        if (!above) return false;
        p.Owner = above;
        p.fY += b;
      }
      return true;
    case Particle_Drip:
      p.fX += p.vX;
      p.fY += p.vY;
      if (p.fY >= b - p.Size) {
        T_BLOCK* below = SameKindAt(p.Owner, 0, 1);
        if (!below) return false;
        p.Owner = below;
        p.fY -= b;
      }
      return true;
    case Particle_Burst: {
      p.fX += p.vX;
      p.fY += p.vY;
      p.vY += Gravity;
      float w = static_cast<float>(Resolution_X), h = static_cast<float>(Resolution_Y);
      return !(p.fY > h + b || p.fY < -b || p.fX > w + b || p.fX < -b);
    }
    default:
      return true;
  }
}
}  // namespace

void T_PARTICLE::AddParticles(T_BLOCK* owner, int mode, int count) {
  if (Detail_Particles == 0) return;
  if (!owner) {
    ShowMessage(u"T_Block Ptr = Null dans AddParticles !!!! ????", 0);
    return;
  }
  if (mode == Particle_None) return;
  if (mode == Particle_Drip_Emitter && SameKindAt(owner, 0, -1)) return;
  for (int i = 0; i < count; i++) {
    auto p = std::make_unique<T_PARTICLE>();
    p->Mode = mode;
    SetUp(*p, owner);
    Particle_List.push_back(std::move(p));
  }
}

void T_PARTICLE::DoParticles() {
  // The next element is taken after the update, so particles an emitter appends now are
  // visited in this same pass.
  for (auto it = Particle_List.begin(); it != Particle_List.end();) {
    if (Update(**it)) {
      ++it;
    } else {
      it = Particle_List.erase(it);
    }
  }
}

void T_PARTICLE::RemoveParticle(T_BLOCK* block) {
  Particle_List.remove_if([block](const std::unique_ptr<T_PARTICLE>& p) { return p->Owner == block; });
}

void T_PARTICLE::ExplodeParticle(T_BLOCK* block) {
  for (auto it = Particle_List.begin(); it != Particle_List.end();) {
    T_PARTICLE& p = **it;
    if (p.Owner != block) {
      ++it;
      continue;
    }
    if (p.Mode == Particle_Sparkle_Emitter || p.Mode == Particle_Drip_Emitter) {
      it = Particle_List.erase(it);
      continue;
    }
    double vx = Rnd(-6, 6), vy = Rnd(-6, 2);
    p.vX = static_cast<float>(vx);
    p.vY = static_cast<float>(vy);
    p.fX += static_cast<float>(block->X);
    p.fY += static_cast<float>(block->Y);
    p.Owner = nullptr;
    // A free particle keeps the look of its block: the kind rides in Size. Scale stays, so a
    // sparkle still growing flies at its current size.
    p.Size = block->Kind;
    p.Mode = Particle_Burst;
    ++it;
  }
}

void T_PARTICLE::DrawAll(int attached) {
  SetBlend(BLEND_LIGHT);
  for (auto& p : Particle_List) {
    if ((p->Owner != nullptr) == (attached != 0)) p->Draw();
  }
  SetAlpha(1);
  SetScale(1, 1);
}

void T_PARTICLE::Draw() {
  SetScale(Scale, Scale);
  SetColour(255, 255, 255);
  if (Owner) {
    SetAlpha(Alpha);
    Image* img = KindImage(Owner->Kind);
    if (img) DrawImage(img, static_cast<float>(Owner->X) + fX, static_cast<float>(Owner->Y) + fY, Particle_Frame);
  } else {
    SetAlpha(1);
    Image* img = KindImage(Size);
    if (img) DrawImage(img, fX, fY, Particle_Frame);
  }
}

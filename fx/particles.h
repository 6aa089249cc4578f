// Particles: small glowing sprites that live on blocks of some tile styles (glints that wander
// through a group, sparkles that rise out of it, drips that sink through it) and burst out
// when their block leaves the board.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

class T_BLOCK;

// Particle modes. The first three are the effects a tile style can carry.
enum ParticleMode {
  Particle_None = 0,
  Particle_Glint = 1,
  Particle_Sparkle_Emitter = 2,   // invisible; emits sparkles
  Particle_Drip_Emitter = 3,      // invisible; emits drips from the top block of a column
  Particle_Sparkle = 12,
  Particle_Drip = 13,
  Particle_Burst = 100,           // free, falling off the screen
};

class T_PARTICLE {
 public:
  T_BLOCK* Owner = nullptr;   // none once the particle has burst free
  float fX = 0, fY = 0;       // offset from the owner's top-left; screen position once free
  float vX = 0, vY = 0;       // pixels per update; positive vY is down
  int Size = 0;               // 48 x scale; once free, the Kind of the former owner
  float Scale = 0;
  float Alpha = 0;            // opacity while attached
  int Mode = 0;
  int64_t Timer = 0;          // next emission (emitters) or end of growth (sparkles)
  float ScaleDest = 0;        // final scale of a growing sparkle
  float vScale = 0;           // growth per update of a sparkle

  // count particles of a mode on a block; nothing when particles are switched off.
  static void AddParticles(T_BLOCK* owner, int mode, int count);
  // One update of every particle.
  static void DoParticles();
  // The particles on blocks (attached != 0) or the free ones (attached = 0), added as light.
  static void DrawAll(int attached);
  // Drops every particle of a block, without a burst.
  static void RemoveParticle(T_BLOCK* block);
  // The block is leaving: emitters end, every other particle of it flies free.
  static void ExplodeParticle(T_BLOCK* block);
  void Draw();
};

// Live particles in creation order. A pass may remove the particle it visits and append new
// ones, which the same pass then visits too.
extern std::list<std::unique_ptr<T_PARTICLE>> Particle_List;

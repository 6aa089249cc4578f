// Particles: small glowing sprites that live on blocks of some tile styles and burst out when
// their block leaves the board.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

class T_BLOCK;

class T_PARTICLE {
 public:
  T_BLOCK* Owner = nullptr;   // none once the particle has burst free
  float fX = 0, fY = 0;
  float vX = 0, vY = 0;
  int Size = 0;
  float Scale = 0;
  float Alpha = 0;
  int Mode = 0;
  int64_t Timer = 0;
  float ScaleDest = 0;
  float vScale = 0;

  static void AddParticles(T_BLOCK* owner, int mode, int count);
  static void DoParticles();
  static void DrawAll(int attached);
  static void RemoveParticle(T_BLOCK* block);
  static void ExplodeParticle(T_BLOCK* block);
  void Draw();
};

extern std::list<std::unique_ptr<T_PARTICLE>> Particle_List;

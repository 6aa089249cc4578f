// Particles on blocks. For now no particle is ever made; dropping a block's particles is real
// so that no particle can outlive its owner.
#include "fx/particles.h"

std::list<std::unique_ptr<T_PARTICLE>> Particle_List;

// For now creates nothing.
void T_PARTICLE::AddParticles(T_BLOCK*, int, int) {}
// For now nothing moves.
void T_PARTICLE::DoParticles() {}
// For now nothing is drawn.
void T_PARTICLE::DrawAll(int) {}
void T_PARTICLE::Draw() {}

void T_PARTICLE::RemoveParticle(T_BLOCK* block) {
  Particle_List.remove_if([block](const std::unique_ptr<T_PARTICLE>& p) { return p->Owner == block; });
}

// For now the block's particles are dropped instead of bursting.
void T_PARTICLE::ExplodeParticle(T_BLOCK* block) { RemoveParticle(block); }

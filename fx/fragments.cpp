// Fragments of cleared blocks. For now no fragment is launched, so nothing ever waits for one.
#include "fx/fragments.h"

std::list<std::unique_ptr<T_FX>> FX_List;

// For now launches nothing.
void T_FX::ExplodeSelectedBlocks(int64_t, int, int) {}
// For now nothing flies.
void T_FX::DoBlocksExplosion() {}
// For now nothing is drawn.
void T_FX::DrawAll() {}
void T_FX::Draw() {}
void T_FX::DrawShadow() {}

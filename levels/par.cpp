// Level pars from the table the build makes out of the catalogue's solutions.
#include "levels/par.h"

#include <cstdint>

#include "levels/catalogue.h"
#include "levels/par_table.h"

LevelPar Current_Par;

void ResetLevelPar() { Current_Par = LevelPar(); }

LevelPar CatalogueLevelPar(int level_index) {
  if (level_index < 0 || level_index >= Level_Par_Count || level_index >= Official_Level_Count) return {};
  const LevelParEntry& entry = Level_Par_Table[level_index];
  // The table goes with one catalogue; a record with another identifier (a catalogue made
  // again without its solutions) would be given a stranger's par.
  if (!Official_Bank || PeekShort(Official_Bank, level_index * Level_Record_Size + Level_Id_Offset) != entry.id)
    return {};
  return {entry.steps, entry.proven};
}

// The colour check of the six default styles: how far apart they stay for players with each
// colour-vision deficiency, printed, and a contact picture of the blocks as those players see them.
#pragma once

#include <string>

// Prints the figures and writes the picture; false when the picture cannot be written.
bool RunColourCheck(const std::string& contact_png);

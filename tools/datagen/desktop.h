// Pictures made outside Data/: the program's own icon for the desktop, and a contact sheet of
// every block style for the documentation.
#pragma once

#include <string>

#include "picture.h"

// The program icon, `size` pixels square: three blocks joined into an L and a lone fourth one.
Picture RenderAppIcon(int size);
// Writes quark-<size>.png for each size a desktop asks for into `dir`.
bool WriteAppIcons(const std::string& dir);

// Every style in style-table order, each shown as a lone block, a bar, an L and a 2 x 2 square
// with their shadows, with the style's number and sheet name.
Picture RenderContactSheet();

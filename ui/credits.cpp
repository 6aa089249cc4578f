// The credits page.
#include "ui/credits.h"

// For now the page has no text; the credits come with the options screens.
void ShowCredits() {}

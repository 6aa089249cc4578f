// The credits page: the translation of "Credits Text", laid out by the text wrapper over the
// plain background (the frame loop draws it).
#include "ui/credits.h"

#include "i18n/language.h"
#include "ui/tutorial.h"

void ShowCredits() { Info_Text = Translate(u"Credits Text"); }

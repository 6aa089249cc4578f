// The language screen.
#include "i18n/language_select.h"

std::vector<T_LANG*> Language_List;
T_LANG* Hovered_Language = nullptr;

// For now no languages are offered.
int ScanLanguages() { return 0; }
void T_LANG::AddLanguage(const String&, const String&, const String&, const String&) {}
void T_LANG::InitFlagsSelection() {}
void T_LANG::DoFlagsSelection() {}
void T_LANG::Draw() {}
void T_LANG::DrawFlagsSelection() {}

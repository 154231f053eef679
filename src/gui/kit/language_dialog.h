#pragma once

#include <string>

// The windows' language at run time (the choice itself is app/language.h).
namespace vokari::ui {

// Puts every window into `language` ("ja" or "en"): Qt's own texts (standard buttons, file
// dialogs, menus of text fields) from Qt's catalogue, Vokari's texts from the catalogue compiled
// into the program. Japanese texts are the source texts and need none of Vokari's. Replaces
// the language installed before. False when a catalogue was missing; what it would have
// translated stays in the source language.
bool installUiLanguage(const std::string& language);

// The language installed last ("ja" until one is installed).
std::string uiLanguage();

} // namespace vokari::ui

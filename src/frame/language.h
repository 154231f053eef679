#pragma once

#include <optional>
#include <string>
#include <string_view>

// The language of the windows. Japanese is the program's own; other languages come from a
// catalogue (translations/vokari_<code>.ts).
namespace vokari {

inline constexpr std::string_view kJapanese = "ja";
inline constexpr std::string_view kEnglish = "en";

// Whether a catalogue exists for the language code ("ja", "en").
bool isUiLanguage(std::string_view code);

// The language chosen on the command line wins; else the locale's language ("en_GB.UTF-8",
// "de", "C") when a catalogue exists for it; else Japanese.
std::string chooseUiLanguage(const std::optional<std::string>& requested,
                             std::string_view localeName);

} // namespace vokari

#include "frame/language.h"

namespace vokari {

bool isUiLanguage(std::string_view code) {
    return code == kJapanese || code == kEnglish;
}

std::string chooseUiLanguage(const std::optional<std::string>& requested,
                             std::string_view localeName) {
    if (requested && isUiLanguage(*requested))
        return *requested;
    const std::string_view language = localeName.substr(0, localeName.find_first_of("_.@-"));
    if (isUiLanguage(language))
        return std::string(language);
    return std::string(kJapanese);
}

} // namespace vokari

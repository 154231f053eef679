#include "gameconfig/ini_key.h"

#include "platform/text.h"

namespace vokari {

void ClsIniKey::setKeyValue(std::string_view pKeyValue) {
    std::string value = trim(pKeyValue);
    if (!loaded_) {
        loaded_ = true;
        keyValue_ = std::move(value);
        return;
    }
    if (value == keyValue_)
        return;
    changed_ = true;
    keyValue_ = std::move(value);
}

} // namespace vokari

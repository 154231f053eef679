#include "gameconfig/ini_key.h"

#include "platform/text.h"

namespace vokari {

void IniKey::setKeyValue(std::string_view keyValue) {
    std::string value = trim(keyValue);
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

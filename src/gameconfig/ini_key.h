#pragma once

#include <string>
#include <string_view>

namespace vokari {

// One setting of the game's configuration file and whether the user changed it since it was
// loaded or last written.
class IniKey {
public:
    const std::string& keyName() const { return keyName_; }
    void setKeyName(std::string_view keyName) { keyName_ = keyName; }

    const std::string& keyValue() const { return keyValue_; }
    // Stores the value without blanks around it. The first value given (the loaded one) does
    // not mark the key changed; any later, different value does, whatever the file held.
    void setKeyValue(std::string_view keyValue);

    bool changed() const { return changed_; }
    void setChanged(bool changed) { changed_ = changed; }

private:
    std::string keyName_;
    std::string keyValue_;
    bool changed_ = false;
    bool loaded_ = false;
};

} // namespace vokari

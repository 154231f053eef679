#pragma once

#include <string>
#include <string_view>

namespace vokari {

// One setting of the game's configuration file and whether the user changed it since it was
// loaded or last written.
class ClsIniKey {
public:
    const std::string& keyName() const { return keyName_; }
    void setKeyName(std::string_view pKeyName) { keyName_ = pKeyName; }

    const std::string& keyValue() const { return keyValue_; }
    // Stores the value without blanks around it. Replacing a non-empty value with a different
    // one marks the key changed; the first value (the loaded one) and any value replacing an
    // empty one do not.
    void setKeyValue(std::string_view pKeyValue);

    bool changed() const { return changed_; }
    void setChanged(bool pChanged) { changed_ = pChanged; }

private:
    std::string keyName_;
    std::string keyValue_;
    bool changed_ = false;
};

} // namespace vokari

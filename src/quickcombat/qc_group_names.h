#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vokari {

// The names the groups of a document carry, counted, so that a free generated alias is found
// without a pass over every group: reading a file of thousands of groups stays linear.
// Names compare exactly, with case.
class QcGroupNames {
public:
    void take(const std::string& name);
    void release(const std::string& name);
    bool taken(const std::string& name) const;
    // "%VokariGrpOption" + the lowest number, five digits at least, that no group's name holds
    // + "%". Throws Error when every number up to 32767 is taken.
    std::string lowestFreeAlias() const;

private:
    // Generated aliases are counted by number, any other name by its text.
    std::unordered_map<std::string, int> counts_;
    std::vector<uint16_t> generated_;
    // No generated alias below this number is free.
    mutable int firstMaybeFree_ = 1;
};

// The number of a generated alias ("%VokariGrpOption00042%" gives 42), 0 for any other name.
int generatedAliasNumber(std::string_view name);

} // namespace vokari

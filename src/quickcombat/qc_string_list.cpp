#include "quickcombat/qc_string_list.h"

#include "platform/error.h"

#include <limits>

namespace vokari {

void QcStringList::replace(std::string_view value, std::string_view key) {
    entries_.remove(key);
    entries_.add(key, std::string(value));
}

void QcStringList::setItem(std::string_view value, std::string_view key) {
    if (entries_.keyExists(key))
        replace(value, key);
}

std::string QcStringList::item(std::string_view key) const {
    const std::string* value = find(key);
    return value ? *value : std::string();
}

void QcStringList::add(std::string_view value, std::string_view key) {
    if (key.empty())
        return;
    const std::string* present = entries_.find(key);
    if (!present)
        entries_.addNew(key, std::string(value));
    else if (*present != value)
        replace(value, key);
}

void QcStringList::remove(std::string_view key) {
    if (entries_.keyExists(key))
        entries_.remove(key);
}

int16_t QcStringList::count() const {
    if (entries_.count() > static_cast<size_t>(std::numeric_limits<int16_t>::max()))
        throw Error("too many strings: more than 32767");
    return static_cast<int16_t>(entries_.count());
}

bool isAliasName(std::string_view name) {
    return !name.empty() && name.front() == '%';
}

std::string aliasKey(std::string_view name) {
    if (name.size() < 2)
        return std::string();
    return std::string(name.substr(1, name.size() - 2));
}

std::string resolveName(std::string_view name, const QcStringList* strings) {
    if (!isAliasName(name))
        return std::string(name);
    return strings ? strings->item(aliasKey(name)) : std::string();
}

} // namespace vokari

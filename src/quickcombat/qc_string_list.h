#pragma once

#include "common/keyed_collection.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vokari {

// The display strings of a quick-combat document, in order, addressed by a key that compares
// without regard to case. The first spelling of a key is kept until its value changes.
class QcStringList {
public:
    // Replaces the value of a present key, moving it to the end under the given spelling; an
    // absent key is ignored.
    void setItem(std::string_view value, std::string_view key);
    // The value under the key; empty when the key is absent.
    std::string item(std::string_view key) const;
    // The value under the key without a copy, or null when the key is absent.
    const std::string* find(std::string_view key) const { return entries_.find(key); }
    // Appends an absent key. A present key keeps its place and spelling when the value is the
    // same (case-sensitive), else it moves to the end with the new value and spelling. An empty
    // key adds nothing.
    void add(std::string_view value, std::string_view key);
    // Removes the key; an absent key is ignored.
    void remove(std::string_view key);
    int16_t count() const;
    // The entries in list order: each item's key as spelled, and its value.
    const KeyedCollection<std::string>& entries() const { return entries_; }
    // Calls f(key as spelled, value) for every entry in list order.
    template <typename F> void forEach(F&& f) const {
        for (const auto& entry : entries_)
            f(entry.key, entry.value);
    }

private:
    void replace(std::string_view value, std::string_view key);

    KeyedCollection<std::string> entries_;
};

// A name whose first character is "%" refers to a string: its key is the text between the first
// and the last character. Any other name is literal.
bool isAliasName(std::string_view name);
std::string aliasKey(std::string_view name);
// The text to show for a name: a literal name itself, an alias its string (empty when absent).
std::string resolveName(std::string_view name, const QcStringList* strings);

} // namespace vokari

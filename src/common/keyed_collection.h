#pragma once

#include "common/error.h"
#include "common/text.h"

#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace vokari {

// An ordered collection addressed by a text key; keys compare without regard to case.
// Items keep the order in which they were added. Taking or removing a missing key is an
// error (KeyError); keyExists never fails.
template <typename T> class KeyedCollection {
public:
    struct Item {
        std::string key; // the spelling given when the item was added
        T value;
    };
    using iterator = typename std::list<Item>::iterator;
    using const_iterator = typename std::list<Item>::const_iterator;

    KeyedCollection() = default;
    // The index holds iterators into the list, so a copy rebuilds it.
    KeyedCollection(const KeyedCollection& other) {
        for (const Item& i : other.items_)
            add(i.key, i.value);
    }
    KeyedCollection(KeyedCollection&&) noexcept = default;
    KeyedCollection& operator=(KeyedCollection other) noexcept {
        items_.swap(other.items_);
        index_.swap(other.index_);
        return *this;
    }

    void add(std::string_view key, T value) {
        std::string folded = asciiLower(key);
        if (index_.count(folded))
            throw KeyError("key already in the collection: " + std::string(key));
        items_.push_back(Item{std::string(key), std::move(value)});
        index_.emplace(std::move(folded), std::prev(items_.end()));
    }

    bool keyExists(std::string_view key) const noexcept {
        try {
            return index_.count(asciiLower(key)) != 0;
        } catch (...) {
            return false;
        }
    }

    T& item(std::string_view key) { return find(key)->value; }
    const T& item(std::string_view key) const {
        return const_cast<KeyedCollection*>(this)->item(key);
    }
    // The key as it was spelled when the item was added.
    const std::string& keyOf(std::string_view key) const {
        return const_cast<KeyedCollection*>(this)->find(key)->key;
    }

    void remove(std::string_view key) {
        auto it = find(key);
        index_.erase(asciiLower(key));
        items_.erase(it);
    }

    void clear() {
        index_.clear();
        items_.clear();
    }

    size_t count() const { return items_.size(); }
    bool empty() const { return items_.empty(); }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

private:
    iterator find(std::string_view key) {
        auto hit = index_.find(asciiLower(key));
        if (hit == index_.end())
            throw KeyError("no such key in the collection: " + std::string(key));
        return hit->second;
    }

    std::list<Item> items_;
    std::unordered_map<std::string, iterator> index_;
};

// The free form the callers of the original code use.
template <typename T> bool keyExists(const KeyedCollection<T>& collection, std::string_view key) {
    return collection.keyExists(key);
}

} // namespace vokari

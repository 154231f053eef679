#pragma once

#include "common/error.h"
#include "common/text.h"

#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace vokari {

// Hashing and comparing keys without regard to case, on views: lookups make no folded copy.
struct NoCaseHash {
    size_t operator()(std::string_view key) const noexcept {
        uint64_t h = 14695981039346656037ull; // FNV-1a
        for (char c : key)
            h = (h ^ static_cast<unsigned char>(asciiLower(c))) * 1099511628211ull;
        return static_cast<size_t>(h);
    }
};
struct NoCaseEqual {
    bool operator()(std::string_view a, std::string_view b) const noexcept {
        return equalsNoCase(a, b);
    }
};

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
        if (index_.count(key))
            throw KeyError("key already in the collection: " + std::string(key));
        items_.push_back(Item{std::string(key), std::move(value)});
        const auto last = std::prev(items_.end());
        try {
            index_.emplace(std::string_view(last->key), last);
        } catch (...) {
            items_.pop_back();
            throw;
        }
    }

    // Adds the item unless the key is present; false when it was.
    bool addIfAbsent(std::string_view key, T value) {
        items_.push_back(Item{std::string(key), std::move(value)});
        const auto last = std::prev(items_.end());
        bool added = false;
        try {
            added = index_.emplace(std::string_view(last->key), last).second;
        } catch (...) {
            items_.pop_back();
            throw;
        }
        if (!added)
            items_.pop_back();
        return added;
    }

    bool keyExists(std::string_view key) const noexcept { return index_.count(key) != 0; }

    // The item under the key, or null: one lookup where keyExists and item would take two.
    T* find(std::string_view key) noexcept {
        const auto hit = index_.find(key);
        return hit == index_.end() ? nullptr : &hit->second->value;
    }
    const T* find(std::string_view key) const noexcept {
        return const_cast<KeyedCollection*>(this)->find(key);
    }

    T& item(std::string_view key) { return at(key)->value; }
    const T& item(std::string_view key) const {
        return const_cast<KeyedCollection*>(this)->item(key);
    }
    // The key as it was spelled when the item was added.
    const std::string& keyOf(std::string_view key) const {
        return const_cast<KeyedCollection*>(this)->at(key)->key;
    }

    void remove(std::string_view key) {
        auto hit = index_.find(key);
        if (hit == index_.end())
            throw KeyError("no such key in the collection: " + std::string(key));
        const iterator it = hit->second;
        index_.erase(hit);
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
    iterator at(std::string_view key) {
        auto hit = index_.find(key);
        if (hit == index_.end())
            throw KeyError("no such key in the collection: " + std::string(key));
        return hit->second;
    }

    std::list<Item> items_;
    // Keys are views of the items' own keys, which stay put in the list.
    std::unordered_map<std::string_view, iterator, NoCaseHash, NoCaseEqual> index_;
};

// The free form the callers of the original code use.
template <typename T> bool keyExists(const KeyedCollection<T>& collection, std::string_view key) {
    return collection.keyExists(key);
}

} // namespace vokari

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
// Not noexcept: the table then keeps each key's hash instead of working it out again while
// it walks a bucket.
struct NoCaseHash {
    size_t operator()(std::string_view key) const {
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
        if (locate(key) != items_.end())
            throw KeyError("key already in the collection: " + std::string(key));
        append(key, std::move(value));
    }

    // Adds the item unless the key is present; false when it was.
    bool addIfAbsent(std::string_view key, T value) {
        if (locate(key) != items_.end())
            return false;
        append(key, std::move(value));
        return true;
    }

    bool keyExists(std::string_view key) const noexcept {
        return const_cast<KeyedCollection*>(this)->locate(key) != items_.end();
    }

    // The item under the key, or null: one lookup where keyExists and item would take two.
    T* find(std::string_view key) noexcept {
        const iterator it = locate(key);
        return it == items_.end() ? nullptr : &it->value;
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
        const iterator it = at(key);
        if (!index_.empty())
            index_.erase(std::string_view(it->key));
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
    // Small collections (a quick-combat group's aircraft) are searched in order: an index per
    // collection would cost more than it saves. Larger ones keep an index from then on.
    static constexpr size_t kIndexFrom = 24;

    // Keys of one collection often differ only in their last characters (numbered names).
    static bool sameKeyFromTheEnd(std::string_view a, std::string_view b) noexcept {
        if (a.size() != b.size())
            return false;
        for (size_t i = a.size(); i-- > 0;)
            if (asciiLower(a[i]) != asciiLower(b[i]))
                return false;
        return true;
    }

    iterator locate(std::string_view key) noexcept {
        if (!index_.empty()) {
            const auto hit = index_.find(key);
            return hit == index_.end() ? items_.end() : hit->second;
        }
        for (auto it = items_.begin(); it != items_.end(); ++it)
            if (sameKeyFromTheEnd(it->key, key))
                return it;
        return items_.end();
    }

    void append(std::string_view key, T value) {
        items_.push_back(Item{std::string(key), std::move(value)});
        try {
            if (!index_.empty()) {
                const auto last = std::prev(items_.end());
                index_.emplace(std::string_view(last->key), last);
            } else if (items_.size() >= kIndexFrom) {
                index_.reserve(items_.size() * 2);
                for (auto it = items_.begin(); it != items_.end(); ++it)
                    index_.emplace(std::string_view(it->key), it);
            }
        } catch (...) {
            index_.clear();
            items_.pop_back();
            throw;
        }
    }

    iterator at(std::string_view key) {
        const iterator it = locate(key);
        if (it == items_.end())
            throw KeyError("no such key in the collection: " + std::string(key));
        return it;
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

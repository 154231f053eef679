#pragma once

#include "platform/error.h"
#include "platform/text.h"

#include <cstdint>
#include <cstring>
#include <list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vokari {

// Hashing keys without regard to case, on views: lookups make no folded copy. Eight bytes at
// a time, with bit 5 set in each: a letter hashes as its other case does (so do a few other
// pairs of characters, which the comparison then tells apart).
struct NoCaseHash {
    size_t operator()(std::string_view key) const noexcept {
        constexpr uint64_t fold = 0x2020202020202020ull;
        const auto mix = [](uint64_t h, uint64_t word) {
            h = (h ^ (word | fold)) * 0xbf58476d1ce4e5b9ull;
            return h ^ (h >> 32);
        };
        uint64_t h = key.size() * 0x9e3779b97f4a7c15ull;
        size_t i = 0;
        for (; i + 8 <= key.size(); i += 8) {
            uint64_t word;
            std::memcpy(&word, key.data() + i, 8);
            h = mix(h, word);
        }
        if (i < key.size()) {
            uint64_t word = 0;
            for (size_t j = i; j < key.size(); ++j)
                word |= static_cast<uint64_t>(static_cast<unsigned char>(key[j])) << (8 * (j - i));
            h = mix(h, word);
        }
        // A product carries a byte's difference only upwards: bring the high bits down, as
        // the table is addressed by the low ones.
        h = (h ^ (h >> 33)) * 0xff51afd7ed558ccdull;
        h = (h ^ (h >> 33)) * 0xc4ceb9fe1a85ec53ull;
        return static_cast<size_t>(h ^ (h >> 33));
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
        entries_.swap(other.entries_);
        slots_.swap(other.slots_);
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

    // Appends an item whose key the caller knows to be absent, without looking for it.
    void addNew(std::string_view key, T value) { append(key, std::move(value)); }

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
        if (!slots_.empty())
            unindex(it);
        items_.erase(it);
    }

    void clear() {
        slots_.clear();
        entries_.clear();
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

    // The index, once the collection is large. `entries_` holds each item with its key's hash,
    // in no particular order; `slots_` is an open-addressed power-of-two table, at most three
    // quarters full, of eight-byte slots: the top half of the hash (made odd, so that 0 marks a
    // free slot) and the entry's position. Small slots keep the table in the processor's cache, so
    // that a lookup in a large collection costs about one trip to memory, for the item.
    struct Entry {
        size_t hash;
        iterator item;
    };
    struct Slot {
        uint32_t tag = 0;
        uint32_t entry = 0;
    };

    static size_t hashOf(std::string_view key) noexcept { return NoCaseHash{}(key); }
    static uint32_t tagOf(size_t hash) noexcept { return static_cast<uint32_t>(hash >> 32) | 1; }
    size_t mask() const noexcept { return slots_.size() - 1; }
    size_t next(size_t i) const noexcept { return (i + 1) & mask(); }

    iterator locate(std::string_view key) noexcept {
        if (!slots_.empty()) {
            const size_t hash = hashOf(key);
            const uint32_t tag = tagOf(hash);
            for (size_t i = hash & mask(); slots_[i].tag; i = next(i)) {
                if (slots_[i].tag != tag)
                    continue;
                const Entry& entry = entries_[slots_[i].entry];
                if (entry.hash == hash && equalsNoCase(entry.item->key, key))
                    return entry.item;
            }
            return items_.end();
        }
        for (auto it = items_.begin(); it != items_.end(); ++it)
            if (sameKeyFromTheEnd(it->key, key))
                return it;
        return items_.end();
    }

    void place(uint32_t entry) noexcept {
        const size_t hash = entries_[entry].hash;
        size_t i = hash & mask();
        while (slots_[i].tag)
            i = next(i);
        slots_[i] = Slot{tagOf(hash), entry};
    }

    // A table for the entries, large enough for `size` items.
    void reindex(size_t size) {
        size_t capacity = 64;
        while (capacity * 3 < size * 4)
            capacity *= 2;
        std::vector<Slot> table(capacity);
        slots_.swap(table);
        for (size_t k = 0; k < entries_.size(); ++k)
            place(static_cast<uint32_t>(k));
    }

    // Takes the item out of the index: its slot is freed, moving back the slots after it that
    // could not have their own place (so that no lookup stops short of them), and the last
    // entry takes its position.
    void unindex(iterator it) noexcept {
        const size_t hash = hashOf(it->key);
        size_t hole = hash & mask();
        while (slots_[hole].tag != tagOf(hash) || entries_[slots_[hole].entry].item != it)
            hole = next(hole);
        const uint32_t removed = slots_[hole].entry;
        for (size_t at = next(hole); slots_[at].tag; at = next(at)) {
            const size_t home = entries_[slots_[at].entry].hash & mask();
            // Whether `home` lies cyclically in (hole, at]: then the slot stays.
            const bool stays =
                hole <= at ? (home > hole && home <= at) : (home > hole || home <= at);
            if (!stays) {
                slots_[hole] = slots_[at];
                hole = at;
            }
        }
        slots_[hole] = Slot{};
        const auto last = static_cast<uint32_t>(entries_.size() - 1);
        if (removed != last) {
            size_t i = entries_[last].hash & mask();
            while (!slots_[i].tag || slots_[i].entry != last)
                i = next(i);
            slots_[i].entry = removed;
            entries_[removed] = entries_[last];
        }
        entries_.pop_back();
    }

    void append(std::string_view key, T value) {
        items_.push_back(Item{std::string(key), std::move(value)});
        try {
            if (!slots_.empty()) {
                entries_.push_back(Entry{hashOf(key), std::prev(items_.end())});
                if (entries_.size() * 4 <= slots_.size() * 3)
                    place(static_cast<uint32_t>(entries_.size() - 1));
                else
                    reindex(entries_.size());
            } else if (items_.size() >= kIndexFrom) {
                entries_.reserve(items_.size() * 2);
                for (auto it = items_.begin(); it != items_.end(); ++it)
                    entries_.push_back(Entry{hashOf(it->key), it});
                reindex(entries_.size());
            }
        } catch (...) {
            slots_.clear();
            entries_.clear();
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
    std::vector<Entry> entries_; // empty until the collection is large
    std::vector<Slot> slots_;
};

// The free form the callers of the original code use.
template <typename T> bool keyExists(const KeyedCollection<T>& collection, std::string_view key) {
    return collection.keyExists(key);
}

} // namespace vokari

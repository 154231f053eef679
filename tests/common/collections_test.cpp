#include "common/keyed_collection.h"
#include "platform/error.h"

#include <gtest/gtest.h>

using namespace vokari;

TEST(KeyedCollection, KeysIgnoreCaseAndKeepOrder) {
    KeyedCollection<int> c;
    c.add("P51D", 1);
    c.add("spitfire", 2);
    c.add("Zero", 3);
    EXPECT_TRUE(keyExists(c, "p51d"));
    EXPECT_EQ(c.item("SPITFIRE"), 2);
    EXPECT_EQ(c.keyOf("zero"), "Zero");
    EXPECT_THROW(c.add("p51d", 9), KeyError);
    EXPECT_THROW(c.item("missing"), KeyError);
    EXPECT_THROW(c.remove("missing"), KeyError);
    EXPECT_FALSE(c.keyExists("missing"));

    c.remove("SpitFire");
    std::vector<std::string> keys;
    for (const auto& item : c)
        keys.push_back(item.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"P51D", "Zero"}));
    c.add("spitfire", 4); // added again: now at the end
    EXPECT_EQ(std::prev(c.end())->value, 4);
}

TEST(KeyedCollection, CopiesAreIndependent) {
    KeyedCollection<std::string> a;
    a.add("k", "one");
    KeyedCollection<std::string> b = a;
    b.item("K") = "two";
    b.remove("k");
    EXPECT_EQ(a.item("k"), "one");
    EXPECT_EQ(b.count(), 0u);
    a = b;
    EXPECT_FALSE(a.keyExists("k"));
}

// Past a few dozen items lookups go through an index: removing items must leave every other
// one findable, and a copy must find its own.
TEST(KeyedCollection, LargeCollectionsFindEveryItemAfterRemovalsAndCopies) {
    KeyedCollection<int> c;
    for (int i = 0; i < 2000; ++i)
        c.add("Plane" + std::to_string(i), i);
    for (int i = 0; i < 2000; i += 3)
        c.remove("PLANE" + std::to_string(i));
    c.add("plane0", -1);
    const KeyedCollection<int> copy = c;
    c.remove("Plane1999");
    for (int i = 1; i < 2000; ++i) {
        const std::string key = "plane" + std::to_string(i);
        EXPECT_EQ(copy.keyExists(key), i % 3 != 0) << key;
        EXPECT_EQ(c.keyExists(key), i % 3 != 0 && i != 1999) << key;
        if (i % 3 != 0 && i != 1999) {
            EXPECT_EQ(c.item(key), i);
        }
    }
    EXPECT_EQ(c.item("Plane0"), -1);
    EXPECT_EQ(std::prev(c.end())->key, "plane0");
    EXPECT_EQ(c.count(), 1333u);
    EXPECT_FALSE(c.addIfAbsent("PLANE5", 7));
}

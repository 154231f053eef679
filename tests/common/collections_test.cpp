#include "common/error.h"
#include "common/keyed_collection.h"

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

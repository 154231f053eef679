#include "frame/prefix_choice.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace vokari;

TEST(PrefixChoice, ChoiceTakesTheSavedPrefixElseTheFirstHoldingAGame) {
    test::TempDir dir;
    test::makeWinePrefix(dir / "none");
    test::makeWinePrefix(dir / "one", {1});
    test::makeWinePrefix(dir / "two", {1, 2});
    std::vector<GamePrefix> found;
    for (const char* name : {"none", "one", "two"})
        found.push_back(GamePrefix{{dir / name, "wine", name}, gamesInPrefix(dir / name)});
    EXPECT_EQ(found[0].games, std::vector<int16_t>{});
    EXPECT_EQ(found[2].games, (std::vector<int16_t>{1, 2}));

    EXPECT_EQ(chooseWinePrefix(found, ""), dir / "one");
    EXPECT_EQ(chooseWinePrefix(found, (dir / "two").string()), dir / "two");
    // A saved prefix that is gone no longer counts.
    EXPECT_EQ(chooseWinePrefix(found, (dir / "gone").string()), dir / "one");
    EXPECT_EQ(chooseWinePrefix({found[0]}, ""), std::nullopt);
}

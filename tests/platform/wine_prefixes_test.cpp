#include "platform/wine_prefixes.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::writeFile;

namespace {

std::vector<std::string> describe(const std::vector<platform::WinePrefixFound>& found,
                                  const fs::path& home) {
    std::vector<std::string> out;
    for (const auto& f : found)
        out.push_back(f.source + " " + f.path.lexically_relative(home).string() + " " + f.name);
    return out;
}

} // namespace

TEST(WinePrefixes, FindsEveryKindOfLayoutOnceAndSkipsBrokenOnes) {
    VOKARI_POSIX_ONLY("finding Wine prefixes");
    test::TempDir dir;
    const fs::path home = dir / "home";
    test::makeWinePrefix(home / ".wine");
    test::makeWinePrefix(home / "Games/cfs2", {2});
    writeFile(home / ".config/lutris/games/cfs2-1690000000.yml",
              "game:\n  exe: /x/cfs2.exe\n  prefix: \"~/Games/cfs2\"\nwine:\n  version: x\n");
    test::makeWinePrefix(home / "lutris-other");
    writeFile(home / ".local/share/lutris/games/other-1.yml",
              "game:\n  prefix: " + (home / "lutris-other").string() + "\n");
    writeFile(home / ".config/lutris/games/broken-2.yml", "game: [unclosed\n\t- :: prefix\n");
    test::makeWinePrefix(home / ".local/share/bottles/bottles/MyBottle", {1, 2});
    writeFile(home / ".local/share/bottles/bottles/MyBottle/bottle.yml", "Name: CFS Bottle\n");
    test::makeWinePrefix(home / ".var/app/com.usebottles.bottles/data/bottles/bottles/Flat");
    test::makeWinePrefix(home / ".PlayOnLinux/wineprefix/CFS1", {1});
    fs::create_directories(home / ".PlayOnLinux/wineprefix/Empty"); // no system.reg
    // Steam: the main library lists a second one, which holds the Proton prefix.
    writeFile(home / ".local/share/Steam/steamapps/libraryfolders.vdf",
              "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + (home / "lib2").string() +
                  "\"\n\t}\n}\n");
    test::makeWinePrefix(home / "lib2/steamapps/compatdata/1234/pfx", {2});
    writeFile(home / "lib2/steamapps/appmanifest_1234.acf",
              "\"AppState\"\n{\n\t\"appid\" \"1234\"\n\t\"name\" \"CFS2 (Steam)\"\n}\n");
    test::makeWinePrefix(home / "lib2/steamapps/compatdata/99/pfx");
    test::makeWinePrefix(dir / "env");

    const auto found = platform::findWinePrefixes(home, (dir / "env").string());
    EXPECT_EQ(describe(found, home),
              (std::vector<std::string>{
                  "WINEPREFIX ../env env",
                  "wine .wine ~/.wine",
                  "lutris Games/cfs2 cfs2",
                  "lutris lutris-other other",
                  "bottles .local/share/bottles/bottles/MyBottle CFS Bottle",
                  "bottles .var/app/com.usebottles.bottles/data/bottles/bottles/Flat Flat",
                  "playonlinux .PlayOnLinux/wineprefix/CFS1 CFS1",
                  "steam lib2/steamapps/compatdata/1234/pfx CFS2 (Steam)",
                  "steam lib2/steamapps/compatdata/99/pfx Steam 99",
              }));
}

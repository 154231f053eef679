#include "platform/change_observer.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/folder_listings.h"
#include "platform/host_paths.h"
#include "support/fixtures.h"

#include <functional>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace vokari {
namespace {

using platform::ListingScope;
using test::writeFile;

// Every lookup answers within a scope what it answers without one.
TEST(FolderListingsTest, LookupsInAScopeMatchAsTheSystemDoes) {
    VOKARI_POSIX_ONLY("names matched without regard to case on a file system that keeps case");
    test::TestPrefix prefix;
    const fs::path c = fs::canonical(prefix.driveC());
    const fs::path game = c / "Games" / "CFS2";
    writeFile(game / "AIRCRAFT" / "P51D" / "Aircraft.CFG", "x");
    writeFile(game / "Aircraft2" / "a.cfg", "x");
    writeFile(game / "Gauges" / "boost.gau", "x");
    writeFile(game / "Gauges" / "BOOST.GAU", "x"); // the spelling asked for wins
    writeFile(game / "Gauges" / ".hidden.gau", "x");
    writeFile(game / "Gauges" / "a:b.gau", "x");
    writeFile(game / "Effects", "a file where a folder is asked for");
    fs::create_symlink("nowhere", game / "Gauges" / "Dangling.gau");
    fs::create_symlink(game / "Gauges" / "boost.gau", game / "Gauges" / "Linked.gau");

    const std::vector<std::string> paths = {
        "C:\\Games\\CFS2\\Aircraft\\p51d\\aircraft.cfg",
        "c:/games//cfs2\\AIRCRAFT\\P51D\\AIRCRAFT.CFG",
        "C:\\Games\\CFS2\\aircraft\\P51D\\",
        "C:\\Games\\cfs2\\aircraft\\New\\Sub\\File.cfg",
        "C:\\Games\\CFS2\\Aircraft2\\..\\aircraft\\p51d",
        "C:\\Games\\CFS2\\New\\..\\aircraft2\\A.CFG",
        "C:\\Games\\CFS2\\.\\gauges\\Boost.gau",
        "C:\\Games\\CFS2\\Gauges\\boost.gau",
        "C:\\Games\\CFS2\\Gauges\\BOOST.GAU",
        "C:\\Games\\CFS2\\Gauges\\Boost.Gau",
        "C:\\Games\\CFS2\\Gauges\\.HIDDEN.gau",
        "C:\\Games\\CFS2\\Gauges\\A:B.gau",
        "C:\\Games\\CFS2\\Gauges\\dangling.gau",
        "C:\\Games\\CFS2\\Gauges\\linked.GAU",
        "C:\\Games\\CFS2\\effects\\x.fx",
        "C:\\Games\\CFS2\\gauges",
        (game / "gauges" / "BOOST.gau").string(),
        "Q:\\Games",
    };
    struct Answer {
        std::string host;
        bool file;
        bool folder;
        bool operator==(const Answer&) const = default;
    };
    const auto ask = [](const std::string& path) {
        return Answer{platform::hostPathText(path), platform::isRegularFile(path),
                      platform::isDirectory(path)};
    };
    std::vector<Answer> system;
    for (const std::string& path : paths)
        system.push_back(ask(path));
    EXPECT_EQ(system[8].host, (game / "Gauges" / "BOOST.GAU").string());
    EXPECT_EQ(system[10].host, (game / "Gauges" / ".hidden.gau").string());

    const ListingScope listings;
    for (size_t i = 0; i < paths.size(); ++i) {
        const Answer listed = ask(paths[i]);
        EXPECT_EQ(listed.host, system[i].host) << paths[i];
        EXPECT_EQ(listed.file, system[i].file) << paths[i];
        EXPECT_EQ(listed.folder, system[i].folder) << paths[i];
    }
    // Listings that feed Windows paths still leave out hidden names and those no Windows path
    // can hold.
    std::vector<std::string> names;
    for (const auto& entry : platform::listDirectory("C:\\Games\\CFS2\\GAUGES"))
        names.push_back(entry.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"BOOST.GAU", "boost.gau", "Dangling.gau", "Linked.gau"}));
}

// What the writers of one operation make or remove is found by its next lookup, under any
// spelling, with no journal listening; once the scope ends the system is asked again.
TEST(FolderListingsTest, ListingsKeepStepWithTheWritersAndEndWithTheScope) {
    VOKARI_POSIX_ONLY("names matched without regard to case on a file system that keeps case");
    test::TestPrefix prefix;
    const fs::path game = fs::canonical(prefix.driveC()) / "Games" / "CFS2";
    fs::create_directories(game / "Aircraft" / "P51D");
    ASSERT_EQ(platform::changeObserver(), nullptr);
    const std::string p51 = "C:\\Games\\CFS2\\AIRCRAFT\\p51d\\";
    const std::string planes = "C:\\Games\\CFS2\\aircraft\\";

    using Make = std::function<void(const fs::path& folder, const std::string& name)>;
    const std::vector<std::pair<const char*, Make>> writers = {
        {"NewFileWriter",
         [](const fs::path& folder, const std::string& name) {
             platform::NewFileWriter file(folder / name);
             file.finish(0);
             file.commit();
         }},
        {"AtomicFileWriter",
         [](const fs::path& folder, const std::string& name) {
             platform::AtomicFileWriter file(folder / name);
             file.commit();
         }},
        {"copyFileExact",
         [&](const fs::path& folder, const std::string& name) {
             writeFile(game / "source.cfg", "x");
             ASSERT_EQ(platform::copyFileExact(game / "source.cfg", folder / name), 0);
         }},
    };
    const ListingScope listings;
    for (const auto& [writer, make] : writers) {
        const std::string name = std::string(writer) + ".CFG";
        const std::string asked = p51 + std::string(writer) + ".cfg";
        ASSERT_FALSE(platform::isRegularFile(asked)) << writer; // the folder is read here
        make(game / "Aircraft" / "P51D", name);
        EXPECT_EQ(platform::hostPath(asked), game / "Aircraft" / "P51D" / name) << writer;
        EXPECT_TRUE(platform::isRegularFile(asked)) << writer;
    }

    // Folders made by any of the writers of folders.
    ASSERT_FALSE(platform::isDirectory(planes + "zero"));
    platform::createDirectories("C:\\Games\\CFS2\\Aircraft\\ZERO\\Panel");
    EXPECT_EQ(platform::hostPath(planes + "zero\\panel\\panel.cfg"),
              game / "Aircraft" / "ZERO" / "Panel" / "panel.cfg");
    ASSERT_EQ(platform::createFoldersObserved(game / "Aircraft" / "Ki61" / "Model"), 0);
    EXPECT_TRUE(platform::isDirectory(planes + "KI61\\MODEL"));
    int err = 0;
    const auto aircraft = platform::FolderHandle::open((game / "Aircraft").string(), err);
    ASSERT_TRUE(aircraft);
    ASSERT_EQ(aircraft->makeFolder("Spitfire"), 0);
    EXPECT_TRUE(platform::isDirectory(planes + "spitfire"));

    // Removed: a file, with another spelling of it found from then on, and a whole folder.
    for (const char* name : {"sound.cfg", "SOUND.CFG"}) {
        platform::NewFileWriter file(game / "Aircraft" / "P51D" / name);
        file.finish(0);
        file.commit();
    }
    EXPECT_EQ(platform::hostPath(p51 + "Sound.cfg"), game / "Aircraft" / "P51D" / "sound.cfg");
    ASSERT_TRUE(platform::removeHostFile(game / "Aircraft" / "P51D" / "sound.cfg"));
    EXPECT_EQ(platform::hostPath(p51 + "Sound.cfg"), game / "Aircraft" / "P51D" / "SOUND.CFG");
    ASSERT_TRUE(platform::deleteFile(p51 + "sound.cfg"));
    EXPECT_FALSE(platform::isRegularFile(p51 + "Sound.cfg"));
    EXPECT_EQ(platform::removeHostTree((game / "Aircraft" / "Ki61").string()), 0);
    EXPECT_FALSE(platform::isDirectory(planes + "ki61\\model"));
    EXPECT_EQ(platform::hostPath(planes + "ki61"), game / "Aircraft" / "ki61");

    // Each folder is read once: what another program adds is not seen until the scope ends.
    writeFile(game / "Aircraft" / "P51D" / "Other.cfg", "x");
    EXPECT_FALSE(platform::isRegularFile(p51 + "other.cfg"));
    {
        const ListingScope fresh(ListingScope::Start::Fresh);
        EXPECT_TRUE(platform::isRegularFile(p51 + "other.cfg"));
    }
    writeFile(game / "Aircraft" / "P51D" / "Later.cfg", "x");
    EXPECT_FALSE(platform::isRegularFile(p51 + "later.cfg"));
}

TEST(FolderListingsTest, WithoutAScopeTheSystemIsAskedEachTime) {
    VOKARI_POSIX_ONLY("names matched without regard to case on a file system that keeps case");
    test::TestPrefix prefix;
    const fs::path game = fs::canonical(prefix.driveC()) / "Games";
    fs::create_directories(game);
    {
        const ListingScope listings;
        EXPECT_FALSE(platform::isRegularFile("C:\\Games\\a.cfg"));
    }
    EXPECT_FALSE(platform::listingsActive());
    writeFile(game / "A.CFG", "x");
    EXPECT_TRUE(platform::isRegularFile("C:\\Games\\a.cfg"));
    EXPECT_EQ(platform::hostPath("C:\\Games\\a.cfg"), game / "A.CFG");
}

} // namespace
} // namespace vokari

// For the kill loop: writes game files over and over until it is killed (run); or, after a
// kill, checks that every file under its real name is whole, then writes once more, which must
// succeed, remove what the killed run left and leave every file whole (after).
//   save_loop FOLDER profile|qc|switch|install|copy|undo init|run|after
// Install and copy write 16 MiB, or VOKARI_KILL_LOOP_MB.
#include "aircraft/aircraft_list.h"
#include "copy/cfs_copy.h"
#include "installer/arc_result.h"
#include "installer/cfs_arc_list.h"
#include "journal/change_journal.h"
#include "journal/undo.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"
#include "platform/profile.h"
#include "quickcombat/qc_file.h"
#include "support/archive_builders.h"
#include "support/fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace vokari;

namespace {

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    std::string bytes(in ? static_cast<size_t>(in.tellg()) : 0, '\0');
    in.seekg(0).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

bool fail(const std::string& why) {
    std::fprintf(stderr, "save_loop: %s\n", why.c_str());
    return false;
}

bool noStagingFilesUnder(const fs::path& folder) {
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (platform::isStagingName(entry.path().filename().string()))
            return fail("left behind: " + entry.path().string());
    return true;
}

// Every entry of `folder` but temporary files passes `isWhole`.
template <typename Check> bool eachEntryIn(const fs::path& folder, Check isWhole) {
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && !platform::isStagingName(entry.path().filename().string()) &&
            !isWhole(entry.path()))
            return fail("not whole: " + entry.path().string());
    return true;
}

size_t bytesWritten() {
    const char* mb = std::getenv("VOKARI_KILL_LOOP_MB");
    return (mb ? std::strtoul(mb, nullptr, 10) : 16) << 20;
}

// Bytes different for each `seed`: a noisy block repeated, each copy stamped with its place.
std::string pattern(size_t size, unsigned seed) {
    std::string block(4096, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (char& c : block) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    std::string bytes;
    bytes.reserve(size + block.size());
    for (size_t at = 0; at < size; at += block.size()) {
        const std::string place = std::to_string(at);
        bytes.append(place).append(block, place.size());
    }
    bytes.resize(size);
    return bytes;
}

// The profile file with `value` in [MAIN] key0, as the writer edits it in place.
std::string profileText(char value) {
    std::string text = "[MAIN]\r\nkey0=" + std::string(250, value) + "\r\n";
    for (int i = 1; i < 2000; ++i)
        text += "key" + std::to_string(i) + "=" + std::string(30, 'x') + "\r\n";
    return text;
}

// A quick-combat document whose size depends on `version`.
std::unique_ptr<QcGroups> qcDocument(int version) {
    auto doc = std::make_unique<QcGroups>();
    for (int g = 0; g < 50 + version * 50; ++g) {
        QcGroup& group = doc->addGroup();
        for (int p = 0; p < 5; ++p)
            doc->addPlane(group.groupId(), "Plane" + std::to_string(p), "Name" + std::to_string(p));
    }
    return doc;
}

// What one mode writes, in FOLDER.
class Mode {
public:
    explicit Mode(fs::path folder) : folder_(std::move(folder)) {}
    virtual ~Mode() = default;
    virtual void init() = 0;
    // One write; false when it failed.
    virtual bool write() = 0;
    // Every file is whole; `settled`: after a write that ran to its end.
    virtual bool whole(bool settled) = 0;
    // Where the writes go.
    virtual fs::path root() const { return folder_; }

protected:
    fs::path folder_;
};

class ProfileMode : public Mode {
public:
    using Mode::Mode;
    void init() override { test::writeFile(cfg(), profileText('A')); }
    bool write() override {
        platform::writeIniString("MAIN", "key0", std::string(250, ++count_ % 2 ? 'B' : 'A'),
                                 cfg().string());
        return true;
    }
    bool whole(bool) override {
        return eachEntryIn(root(), [](const fs::path& file) {
            const std::string now = readAll(file);
            return now == profileText('A') || now == profileText('B');
        });
    }
    fs::path root() const override { return folder_ / "game"; }

private:
    fs::path cfg() const { return root() / "game.cfg"; }
    int count_ = 0;
};

class QcMode : public Mode {
public:
    using Mode::Mode;
    // The bytes each version is written as are written aside once.
    void init() override {
        for (int v = 0; v < 3; ++v) {
            fs::create_directories(folder_ / std::to_string(v));
            writeQCFile(*qcDocument(v), (folder_ / std::to_string(v)).string() + "/", kName);
        }
        fs::create_directories(root());
        writeQCFile(*qcDocument(0), root().string() + "/", kName);
    }
    bool write() override {
        writeQCFile(*qcDocument(1 + ++count_ % 2), root().string() + "/", kName);
        return true;
    }
    bool whole(bool) override {
        std::string versions[3];
        for (int v = 0; v < 3; ++v)
            versions[v] = readAll(folder_ / std::to_string(v) / kName);
        const std::string now = readAll(root() / kName);
        // The backup, once made, is the file as it was before the first save.
        const fs::path backup = root() / (std::string(kName) + ".bak");
        return (now == versions[0] || now == versions[1] || now == versions[2] ||
                fail("not whole: " + std::string(kName))) &&
               (!fs::exists(backup) || readAll(backup) == versions[0] ||
                fail("the backup changed"));
    }
    fs::path root() const override { return folder_ / "game"; }

private:
    static constexpr const char* kName = "qc_plane.qcb";
    int count_ = 0;
};

// Install, copy and switch work on games in a prefix of their own.
class GameMode : public Mode {
public:
    explicit GameMode(fs::path folder) : Mode(std::move(folder)) {
        platform::setWinePrefixOverride(prefix_);
    }
    fs::path root() const override { return second_; }

protected:
    fs::path prefix_ = folder_ / "prefix";
    fs::path first_ = prefix_ / "drive_c/Games/CFS1";
    fs::path second_ = prefix_ / "drive_c/Games/CFS2";
};

// An aircraft switched off and on: its file is copied to the other name, then deleted.
class SwitchMode : public GameMode {
public:
    using GameMode::GameMode;
    void init() override {
        test::makeWinePrefix(prefix_, {2});
        test::writeFile(second_ / "Aircraft/Zero/aircraft.cfg", text());
    }
    bool write() override {
        AircraftList catalogue;
        catalogue.setVersion(2);
        catalogue.readAircrafts(true, false);
        auto& zero = catalogue.aircraftList.item("Zero");
        zero.isActive = !zero.isActive;
        zero.isActiveChanged = true;
        catalogue.setActivate();
        return true;
    }
    // One name, or both when killed between copy and delete, each whole.
    bool whole(bool settled) override {
        const fs::path on = second_ / "Aircraft/Zero/aircraft.cfg";
        const int names = fs::exists(on) + fs::exists(on.string() + ".rst");
        return eachEntryIn(root(), [&](const fs::path& file) { return readAll(file) == text(); }) &&
               (names == 1 || (names == 2 && !settled) || fail("the aircraft has no one state"));
    }

private:
    static std::string text() { return "[fltsim.0]\r\ntitle=Zero\r\n" + profileText('A'); }
};

// One new file in a package: written under a temporary name, named when whole.
class InstallMode : public GameMode {
public:
    using GameMode::GameMode;
    void init() override {
        test::makeWinePrefix(prefix_, {2});
        fs::create_directories(installed().parent_path());
        test::writeFile(package(), test::buildZip({{.name = "big.gau", .data = data()}}));
    }
    bool write() override {
        fs::remove(installed()); // each run adds it anew
        CfsArcList arcs;
        arcs.setVersion(2);
        return (arcs.readArchive(0, package().string()) == kArcOk &&
                arcs.extractArchives(0) == kArcOk) ||
               fail("the install failed");
    }
    bool whole(bool settled) override {
        return eachEntryIn(root(),
                           [&](const fs::path& file) {
                               return file == installed() && readAll(file) == data();
                           }) &&
               (!settled || fs::exists(installed()) || fail("not installed"));
    }

private:
    fs::path package() const { return folder_ / "big.zip"; }
    fs::path installed() const { return second_ / "Gauges/big.gau"; }
    const std::string& data() {
        if (data_.empty())
            data_ = pattern(bytesWritten(), 1);
        return data_;
    }
    std::string data_;
};

// A tree the first game holds, added to the second by the copy.
class CopyMode : public GameMode {
public:
    using GameMode::GameMode;
    void init() override {
        test::makeWinePrefix(prefix_, {1, 2});
        const std::vector<std::string> files = copied();
        for (size_t i = 0; i < files.size(); ++i)
            test::writeFile(first_ / files[i],
                            pattern(i < 2 ? 4096 : bytesWritten() / 16, static_cast<unsigned>(i)));
        fs::create_directories(second_ / "Aircraft");
        fs::create_directories(second_ / "Gauges");
    }
    bool write() override {
        for (const std::string& file : copied())
            fs::remove(second_ / file); // each run copies them anew
        const CopySummary summary =
            copyAll(collectCopyTables("C:\\Games\\CFS1\\", "C:\\Games\\CFS2\\"), {});
        return summary.failures.empty() || fail("the copy failed: " + summary.failures[0].path);
    }
    bool whole(bool settled) override {
        if (!eachEntryIn(root(), [&](const fs::path& file) {
                return readAll(file) == readAll(first_ / file.lexically_relative(second_));
            }))
            return false;
        for (const std::string& file : copied())
            if (settled && !fs::exists(second_ / file))
                return fail("not copied: " + file);
        return true;
    }

private:
    static std::vector<std::string> copied() {
        std::vector<std::string> files{"Aircraft/Big/aircraft.cfg", "Gauges/big.gau"};
        for (int i = 0; i < 16; ++i)
            files.push_back("Aircraft/Big/texture/t" + std::to_string(i) + ".bmp");
        return files;
    }
};

// A package installed over the game's files and taken back, over and over: after a kill,
// taking back whatever the history recorded gives the game's own folder back.
class UndoMode : public GameMode {
public:
    using GameMode::GameMode;
    void init() override {
        test::makeWinePrefix(prefix_, {2});
        for (const auto& [file, bytes] : original())
            test::writeFile(second_ / file, bytes);
        test::writeFile(package(),
                        test::buildZip({{.name = "clock.gau", .data = pattern(1 << 20, 3)},
                                        {.name = "New/aircraft.cfg", .data = "[fltsim.0]\r\n"},
                                        {.name = "New/model/new.mdl", .data = pattern(1 << 20, 4)},
                                        {.name = "new.gau", .data = pattern(4096, 5)}}));
    }
    bool write() override {
        CfsArcList arcs;
        arcs.setVersion(2);
        if (arcs.readArchive(0, package().string()) != kArcOk)
            return fail("the package cannot be read");
        arcs.setShouldOverwrite(true);
        if (arcs.extractArchives(0) != kArcOk)
            return fail("the install failed");
        const ChangeJournal journal(second_);
        const UndoReport report = undoEntry(journal, journal.entries().back().id);
        return !report.leftAlone() || fail("the undo left files alone");
    }
    bool whole(bool) override {
        // Everything the history holds is taken back, newest first.
        const ChangeJournal journal(second_);
        const std::vector<JournalEntry> entries = journal.entries();
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            const auto entry = journal.entry(it->id);
            if (entry->undoneBy != 0 || entry->undoes != 0)
                continue;
            if (undoEntry(journal, it->id, {.withLater = true}).leftAlone())
                return fail("entry " + std::to_string(it->id) + " left files alone");
        }
        std::map<std::string, std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(second_))
            if (platform::isStagingName(entry.path().filename().string()))
                continue; // a killed write's, removed by the next
            else if (!entry.is_directory())
                found[entry.path().lexically_relative(second_).generic_string()] =
                    readAll(entry.path());
            else if (fs::is_empty(entry.path()))
                found[entry.path().lexically_relative(second_).generic_string()] = "folder";
        if (found == original())
            return true;
        for (const auto& [name, bytes] : found)
            std::fprintf(stderr, "  %s: %zu bytes%s\n", name.c_str(), bytes.size(),
                         original().count(name) && original()[name] == bytes ? "" : " (differs)");
        return fail("the game folder is not what it was");
    }

private:
    fs::path package() const { return folder_ / "package.zip"; }
    static std::map<std::string, std::string> original() {
        return {{"Gauges/clock.gau", pattern(1 << 20, 1)},
                {"Aircraft/Zero/aircraft.cfg", "[fltsim.0]\r\ntitle=Zero\r\n"}};
    }
};

std::unique_ptr<Mode> modeNamed(const std::string& name, const fs::path& folder) {
    if (name == "profile")
        return std::make_unique<ProfileMode>(folder);
    if (name == "qc")
        return std::make_unique<QcMode>(folder);
    if (name == "switch")
        return std::make_unique<SwitchMode>(folder);
    if (name == "install")
        return std::make_unique<InstallMode>(folder);
    if (name == "copy")
        return std::make_unique<CopyMode>(folder);
    if (name == "undo")
        return std::make_unique<UndoMode>(folder);
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    std::optional<test::ScopedEnv> data;
    if (argc == 4) // the history of the writes, kept with them
        data.emplace("XDG_DATA_HOME", (fs::path(argv[1]) / "data").string());
    const std::unique_ptr<Mode> mode = argc == 4 ? modeNamed(argv[2], argv[1]) : nullptr;
    const std::string step = argc == 4 ? argv[3] : "";
    if (!mode || (step != "init" && step != "run" && step != "after")) {
        std::fprintf(
            stderr, "usage: save_loop FOLDER profile|qc|switch|install|copy|undo init|run|after\n");
        return 2;
    }
    try {
        if (step == "init") {
            mode->init();
            return 0;
        }
        if (step == "run") {
            while (mode->write()) {
            }
            return 1;
        }
        return mode->whole(false) && mode->write() && noStagingFilesUnder(mode->root()) &&
                       mode->whole(true)
                   ? 0
                   : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "save_loop: %s\n", e.what());
        return 1;
    }
}

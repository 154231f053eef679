#include "fuzz_targets.h"
#include "journal/change_journal.h"

#include "aircraft/aircraft_list.h"
#include "frame/installation.h"
#include "installer/arc_extraction.h"
#include "installer/arc_placement.h"
#include "installer/cfs_arc_list.h"
#include "platform/error.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "quickcombat/qc_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace vokari::fuzz {
namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

void writeBytes(const fs::path& file, std::string_view bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One Wine-style prefix per process with the second game installed in it, made the prefix
// every lookup uses; TEMP (the work directory) lies inside it. Removed when the process ends.
// On Windows, where C: is the machine's own drive, the game is registered at its folder in the
// sandbox and the registry is read from the sandbox's system.reg.
class Sandbox {
public:
    static Sandbox& get() {
        static Sandbox sandbox;
        return sandbox;
    }
    const fs::path& root() const { return root_; }
    fs::path game() const { return root_ / "prefix" / "drive_c" / "Games" / "CFS2"; }

    fs::path temp() const { return root_ / "temp"; }
    fs::path outside() const { return root_ / "outside"; }

    // Empties the game folder, the temp folder and the folder beside them.
    void reset() const {
        for (const fs::path& folder : {game(), temp(), outside()}) {
            std::error_code ec;
            fs::remove_all(folder, ec);
            fs::create_directories(folder, ec);
        }
        platform::clearProfileCache();
    }

private:
    Sandbox() {
        const std::string registryKey =
            "WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Microsoft "
            "Games\\\\Combat Flight Simulator\\\\2.0] 1\n";
#ifdef _WIN32
        // No mkdtemp: a random name, taken only when create_directory made it.
        std::random_device random;
        for (int attempt = 0; root_.empty(); ++attempt) {
            if (attempt == 100)
                fail("cannot make a temporary folder");
            const fs::path folder = fs::temp_directory_path() /
                                    ("vokari-fuzz-" + std::to_string(random() % 1000000000));
            std::error_code ec;
            if (fs::create_directory(folder, ec))
                root_ = folder;
        }
        const fs::path prefix = root_ / "prefix";
        std::string escaped;
        for (const char c : platform::utf8Of(game()))
            escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        writeBytes(prefix / "system.reg", registryKey + "\"InstalledTo\"=\"" + escaped + "\"\n");
        registry_ = std::make_unique<platform::WineRegistry>(prefix / "system.reg");
        platform::setRegistrySource(registry_.get());
        for (const wchar_t* name : {L"TEMP", L"TMP"})
            ::_wputenv_s(name, temp().c_str());
        ::_wputenv_s(L"VOKARI_INI", (root_ / "VOKARI.INI").c_str());
#else
        std::string pattern = (fs::temp_directory_path() / "vokari-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            fail("cannot make a temporary folder");
        root_ = pattern;
        const fs::path prefix = root_ / "prefix";
        fs::create_directories(prefix / "dosdevices");
        fs::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
        writeBytes(prefix / "system.reg",
                   registryKey + "\"InstalledTo\"=\"C:\\\\Games\\\\CFS2\"\n");
        platform::setWinePrefixOverride(prefix);
        platform::setRegistrySource(nullptr);
        ::setenv("TEMP", temp().c_str(), 1);
        ::setenv("VOKARI_INI", (root_ / "VOKARI.INI").c_str(), 1);
#endif
        // No change history: it would be kept in the user's data folder, outside the sandbox.
        setJournalEnabled(false);
        reset();
    }
    ~Sandbox() {
        platform::setRegistrySource(nullptr);
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    fs::path root_;
    std::unique_ptr<platform::WineRegistry> registry_; // Windows: the sandbox's system.reg
};

// The game's folder as the core names it.
std::string gameFolderPath() {
#ifdef _WIN32
    return platform::utf8Of(Sandbox::get().game()) + "\\";
#else
    return "C:\\Games\\CFS2\\";
#endif
}

// Splits at the first `count - 1` NUL bytes.
std::vector<std::string_view> splitParts(std::string_view data, size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const size_t nul = data.find('\0');
        if (nul == std::string_view::npos)
            break;
        parts.push_back(data.substr(0, nul));
        data.remove_prefix(nul + 1);
    }
    parts.push_back(data);
    parts.resize(count);
    return parts;
}

// ---- profile files: read, then write one key ----

void profileTarget(std::string_view data) {
    // ゾーン: its first character's second byte in the code page is ']'.
    static const char* const kSections[] = {"fltsim", "MAIN", "Sec", "Window00", "ゾーン", "views"};
    static const char* const kKeys[] = {"alias", "title", "k", "gauge00", "SP_PLAYER_NAME"};
    static const char* const kValues[] = {"v", "New Value", "12345", "", "a=b"};
    if (data.size() < 3)
        return;
    const auto pick = [&](size_t i, const auto& list) {
        return std::string(list[static_cast<unsigned char>(data[i]) % std::size(list)]);
    };
    const std::string section = pick(0, kSections);
    const std::string key = pick(1, kKeys);
    const std::string value = pick(2, kValues);
    const std::string_view old = data.substr(3);

    Sandbox& box = Sandbox::get();
    box.reset();
    const fs::path file = box.game() / "file.cfg";
    writeBytes(file, old);
    const std::string path = file.string();
    try {
        (void)platform::readIniString(section, key, "", path);
        (void)platform::readIniFile(path).sectionNames();
        platform::writeIniString(section, key, value, path);
    } catch (const Error&) {
        if (readBytes(file) != old)
            fail("a refused write changed the file");
        return;
    }
    const std::string now = readBytes(file);
    // Only one line changes: what the write took out holds no line end. A UTF-16 file (by its
    // mark) is compared in whole units, and keeps an odd last byte where it was.
    const bool utf16 = old.starts_with("\xFF\xFE") || old.starts_with("\xFE\xFF");
    const bool bigEndian = old.starts_with("\xFE\xFF");
    const size_t unit = utf16 ? 2 : 1;
    size_t prefix = 0;
    while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix])
        ++prefix;
    prefix -= prefix % unit;
    size_t suffix = 0;
    while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
           old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    if (utf16 && suffix > 0 && (old.size() - suffix) % 2 != 0)
        --suffix;
    const std::string_view removed = old.substr(prefix, old.size() - prefix - suffix);
    for (size_t i = 0; i + unit <= removed.size(); i += unit) {
        const unsigned first = static_cast<unsigned char>(removed[i]);
        const unsigned second = utf16 ? static_cast<unsigned char>(removed[i + 1]) : 0u;
        const unsigned character = !utf16      ? first
                                   : bigEndian ? first << 8 | second
                                               : second << 8 | first;
        if (character == '\r' || character == '\n')
            fail("the write changed more than one line");
    }
    platform::clearProfileCache();
    const std::string back = platform::readIniString(section, key, "\x01", path);
    if (back != value)
        fail("the key reads back as [" + back + "], not [" + value + "]");
}

// ---- the Wine registry ----

void registryTarget(std::string_view data) {
    (void)platform::unescapeWineString(data);
    Sandbox& box = Sandbox::get();
    box.reset();
    const fs::path file = box.outside() / "system.reg";
    writeBytes(file, data);
    platform::WineRegistry registry(file);
    for (const int16_t version : {kGameCfs1, kGameCfs2})
        (void)gameFolderIn(registry, version);
    (void)registry.readText(platform::kHkeyLocalMachine, "Software\\Wine", "");
}

// ---- the quick-combat file: read, write, read ----

// What an empty default aircraft reads as.
const std::string& fallbackPlaneName() {
    static const std::string name = [] {
        Sandbox& box = Sandbox::get();
        box.reset();
        writeBytes(box.game() / "QuickCom/qc_plane.qcb",
                   "[player default aircraft]\r\naircraft=\r\n");
        std::unique_ptr<QcGroups> doc;
        readQCFile(doc, gameFolderPath(), quickCombatFileName());
        return doc->defaultPlaneName();
    }();
    return name;
}

void qcTarget(std::string_view data) {
    (void)fallbackPlaneName();
    Sandbox& box = Sandbox::get();
    box.reset();
    const fs::path file = box.game() / "QuickCom/qc_plane.qcb";
    writeBytes(file, data);
    std::unique_ptr<QcGroups> first;
    try {
        readQCFile(first, gameFolderPath(), quickCombatFileName());
    } catch (const Error&) {
        return; // refused with a reason
    }
    try {
        writeQCFile(*first, gameFolderPath(), quickCombatFileName());
    } catch (const FormatError&) {
        return; // a text the code page cannot hold again
    }
    std::unique_ptr<QcGroups> second;
    try {
        readQCFile(second, gameFolderPath(), quickCombatFileName());
    } catch (const Error& e) {
        fail(std::string("the written file cannot be read: ") + e.what());
    }
    // A default aircraft never named is written empty, which reads as the game's fallback: the
    // one change a write may make.
    if (first->defaultPlaneName().empty() && second->defaultPlaneName() == fallbackPlaneName())
        first->setDefaultPlaneName(second->defaultPlaneName());
    if (qcFileText(*second) != qcFileText(*first))
        fail("a read after a write gives another document");
}

// ---- packages: list, place, unpack everything ----

// Every regular file or link under `root`, but the folders where unpacking may write.
std::set<std::string> filesOutsideGame(const fs::path& root, const Sandbox& box) {
    std::set<std::string> out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        const fs::path& p = it->path();
        if (p == box.game() || p == box.temp()) {
            it.disable_recursion_pending();
            continue;
        }
        if (!it->is_directory(ec) || it->is_symlink(ec))
            out.insert(p.string());
    }
    return out;
}

// Lists, places and unpacks `bytes` as a package named package`extension`.
void unpackEverything(const std::string& bytes, const char* extension) {
    Sandbox& box = Sandbox::get();
    box.reset();
    const fs::path package = box.outside() / (std::string("package") + extension);
    writeBytes(package, bytes);
    const auto before = filesOutsideGame(box.root(), box);

    CfsArcList list;
    list.setVersion(kGameCfs2);
    if (list.readArchive(0, package.string()) != 0)
        return;
    for (auto& item : list.fileList)
        item.value.setShouldInstall(true);
    list.setShouldOverwrite(true);
    (void)list.extractArchives(0);

    const auto after = filesOutsideGame(box.root(), box);
    for (const std::string& path : after) {
        if (!before.count(path))
            fail("unpacking wrote outside the game folder: " + path);
    }
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(box.game(), ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        if (it->is_symlink(ec))
            fail("unpacking made a link: " + it->path().string());
    }
}

// The package as it is, then behind a self-extractor's stub as such packages come.
void archiveTarget(std::string_view data, const char* extension) {
    unpackEverything(std::string(data), extension);
    unpackEverything(std::string("MZ") + std::string(510, '\0') + std::string(data), ".exe");
}

void zipTarget(std::string_view data) {
    archiveTarget(data, ".zip");
}

void lhaTarget(std::string_view data) {
    archiveTarget(data, ".lzh");
}

// ---- placement over entry names, one per line ----

// A destination relative to the game folder that leads out of it: a drive, a leading
// separator, or more ".." elements than folders before them.
bool leavesGameFolder(std::string_view folder) {
    if (!folder.empty() && (folder[0] == '\\' || folder[0] == '/'))
        return true;
    if (folder.size() >= 2 && folder[1] == ':')
        return true; // a drive; a colon further on is a name the extraction refuses
    int depth = 0;
    size_t start = 0;
    while (start <= folder.size()) {
        size_t end = folder.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = folder.size();
        const std::string_view part = folder.substr(start, end - start);
        if (part == "..")
            --depth;
        else if (!part.empty() && part != ".")
            ++depth;
        if (depth < 0)
            return true;
        start = end + 1;
    }
    return false;
}

void placementTarget(std::string_view data) {
    std::vector<CfsArcFile> files;
    size_t start = 0;
    while (start <= data.size() && files.size() < 512) {
        size_t end = data.find('\n', start);
        if (end == std::string_view::npos)
            end = data.size();
        // Listings end a name at its first zero byte.
        std::string_view name = data.substr(start, end - start);
        name = name.substr(0, name.find('\0'));
        if (!name.empty()) {
            CfsArcFile file;
            file.setFullPath(name);
            files.push_back(std::move(file));
        }
        start = end + 1;
    }
    std::vector<CfsArcFile*> entries;
    for (auto& file : files)
        entries.push_back(&file);
    int16_t minimumVersion = 1;
    placeArchiveEntries(entries, "package.zip", kGameCfs2, gameFolderPath(), minimumVersion);
    for (const CfsArcFile* entry : entries) {
        if (!entry->shouldInstall() || !refusalReason(*entry).empty())
            continue;
        if (leavesGameFolder(entry->installPath()))
            fail("a destination leaves the game folder: " + entry->installPath() + " for " +
                 entry->fullPath());
    }
}

// ---- the aircraft catalogue over aircraft.cfg, panel.cfg and sound.cfg ----

void aircraftTarget(std::string_view data) {
    const auto parts = splitParts(data, 3);
    Sandbox& box = Sandbox::get();
    box.reset();
    const fs::path folder = box.game() / "Aircraft/Fuzz";
    writeBytes(folder / "aircraft.cfg", parts[0]);
    writeBytes(folder / "panel/panel.cfg", parts[1]);
    writeBytes(folder / "sound/sound.cfg", parts[2]);
    AircraftList catalogue;
    catalogue.setVersion(kGameCfs2);
    catalogue.readAircrafts(true, true);
}

constexpr Target kTargets[] = {
    {"profile", profileTarget},   {"registry", registryTarget}, {"qc", qcTarget},
    {"zip", zipTarget},           {"lha", lhaTarget},           {"placement", placementTarget},
    {"aircraft", aircraftTarget},
};

} // namespace

const Target* findTarget(std::string_view name) {
    for (const Target& target : kTargets) {
        if (name == target.name)
            return &target;
    }
    return nullptr;
}

const Target* targetsBegin() {
    return std::begin(kTargets);
}

const Target* targetsEnd() {
    return std::end(kTargets);
}

} // namespace vokari::fuzz

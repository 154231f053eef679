#include "platform/wine_prefixes.h"

#include "platform/file_system.h"
#include "platform/path_text.h"
#include "platform/text.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

// Settings files are small; anything larger is not one of them.
constexpr std::uintmax_t kMaxSettingsFile = 1 << 20;

std::string readSmallFile(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) > kMaxSettingsFile || ec)
        return {};
    try {
        return readHostFile(file);
    } catch (const std::exception&) {
        return {};
    }
}

// The sub-folders of `folder`, sorted by name; none when it cannot be listed.
std::vector<fs::path> subFolders(const fs::path& folder) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            out.push_back(it->path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<fs::path> filesWithExtension(const fs::path& folder, std::string_view extension) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && it->path().extension() == extension)
            out.push_back(it->path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string unquoteYaml(std::string_view value) {
    value = trimView(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return std::string(value.substr(1, value.size() - 2));
    // A comment after a plain value.
    if (const size_t hash = value.find(" #"); hash != std::string_view::npos)
        value = trimView(value.substr(0, hash));
    return std::string(value);
}

fs::path expandHome(const std::string& text, const fs::path& home) {
    if (text == "~")
        return home;
    if (text.rfind("~/", 0) == 0)
        return home / pathFromUtf8(text.substr(2));
    return pathFromUtf8(text);
}

// A Lutris game file is named after the game's slug and an id ("cfs2-1690000000.yml").
std::string lutrisName(const fs::path& file) {
    std::string stem = utf8Of(file.stem());
    const size_t dash = stem.rfind('-');
    if (dash != std::string::npos && dash + 1 < stem.size() &&
        std::all_of(stem.begin() + static_cast<std::ptrdiff_t>(dash + 1), stem.end(),
                    [](char c) { return c >= '0' && c <= '9'; }))
        stem.erase(dash);
    return stem;
}

class Collector {
public:
    void add(const fs::path& folder, std::string_view source, std::string name) {
        if (folder.empty() || !looksLikeWinePrefix(folder))
            return;
        std::error_code ec;
        fs::path key = fs::weakly_canonical(folder, ec);
        if (ec)
            key = folder.lexically_normal();
        if (!seen_.insert(utf8Of(key)).second)
            return;
        if (name.empty())
            name = utf8Of(folder.filename());
        found_.push_back(
            WinePrefixFound{folder.lexically_normal(), std::string(source), std::move(name)});
    }
    std::vector<WinePrefixFound> take() { return std::move(found_); }

private:
    std::set<std::string> seen_;
    std::vector<WinePrefixFound> found_;
};

void addLutris(Collector& found, const fs::path& home) {
    for (const fs::path& folder :
         {home / ".config/lutris/games", home / ".local/share/lutris/games"}) {
        for (const fs::path& file : filesWithExtension(folder, ".yml")) {
            const std::string prefix = yamlValue(readSmallFile(file), "prefix");
            if (!prefix.empty())
                found.add(expandHome(prefix, home), "lutris", lutrisName(file));
        }
    }
    for (const fs::path& folder : subFolders(home / "Games"))
        found.add(folder, "lutris", {});
}

void addBottles(Collector& found, const fs::path& home) {
    for (const fs::path& root : {home / ".local/share/bottles/bottles",
                                 home / ".var/app/com.usebottles.bottles/data/bottles/bottles"}) {
        for (const fs::path& bottle : subFolders(root))
            found.add(bottle, "bottles", yamlValue(readSmallFile(bottle / "bottle.yml"), "Name"));
    }
}

void addSteam(Collector& found, const fs::path& home) {
    std::vector<fs::path> libraries;
    for (const fs::path& steam : {home / ".steam/steam", home / ".local/share/Steam",
                                  home / ".var/app/com.valvesoftware.Steam/.local/share/Steam",
                                  home / ".var/app/com.valvesoftware.Steam/data/Steam"}) {
        libraries.push_back(steam);
        for (const fs::path& list :
             {steam / "steamapps/libraryfolders.vdf", steam / "config/libraryfolders.vdf"}) {
            for (const std::string& path : vdfLibraryPaths(readSmallFile(list)))
                libraries.push_back(expandHome(path, home));
        }
    }
    for (const fs::path& library : libraries) {
        const fs::path steamapps = library / "steamapps";
        for (const fs::path& app : subFolders(steamapps / "compatdata")) {
            const std::string id = utf8Of(app.filename());
            std::string name =
                vdfValue(readSmallFile(steamapps / ("appmanifest_" + id + ".acf")), "name");
            found.add(app / "pfx", "steam", name.empty() ? "Steam " + id : name);
        }
    }
}

} // namespace

bool looksLikeWinePrefix(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / "system.reg", ec) &&
           (fs::is_directory(folder / "dosdevices", ec) ||
            fs::is_directory(folder / "drive_c", ec));
}

std::string yamlValue(std::string_view text, std::string_view key) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = trimView(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.rfind("- ", 0) == 0)
            line = trimView(line.substr(2));
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || trimView(line.substr(0, colon)) != key)
            continue;
        std::string value = unquoteYaml(line.substr(colon + 1));
        if (!value.empty())
            return value;
    }
    return {};
}

namespace {

// The quoted strings of a .vdf text in order, unescaped (\\ and \").
std::vector<std::string> vdfStrings(std::string_view text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            i = text.find('\n', i);
            if (i == std::string_view::npos)
                break;
            continue;
        }
        if (text[i] != '"') {
            ++i;
            continue;
        }
        std::string value;
        ++i;
        bool closed = false;
        while (i < text.size()) {
            const char c = text[i++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c == '\\' && i < text.size())
                value += text[i++];
            else
                value += c;
        }
        if (!closed)
            break;
        out.push_back(std::move(value));
    }
    return out;
}

} // namespace

std::vector<std::string> vdfLibraryPaths(std::string_view text) {
    std::vector<std::string> out;
    const auto strings = vdfStrings(text);
    for (size_t i = 0; i + 1 < strings.size(); ++i) {
        if (equalsNoCase(strings[i], "path") && !strings[i + 1].empty())
            out.push_back(strings[++i]);
    }
    return out;
}

std::string vdfValue(std::string_view text, std::string_view key) {
    const auto strings = vdfStrings(text);
    for (size_t i = 0; i + 1 < strings.size(); ++i) {
        if (equalsNoCase(strings[i], key))
            return strings[i + 1];
    }
    return {};
}

std::vector<WinePrefixFound> findWinePrefixes(const fs::path& home,
                                              std::string_view winePrefixEnv) {
    Collector found;
    if (!winePrefixEnv.empty())
        found.add(pathFromUtf8(winePrefixEnv), "WINEPREFIX", {});
    found.add(home / ".wine", "wine", "~/.wine");
    for (const fs::path& folder : subFolders(home / ".local/share/wineprefixes"))
        found.add(folder, "wineprefixes", {});
    addLutris(found, home);
    addBottles(found, home);
    for (const fs::path& folder : subFolders(home / ".PlayOnLinux/wineprefix"))
        found.add(folder, "playonlinux", {});
    addSteam(found, home);
    return found.take();
}

std::vector<WinePrefixFound> findWinePrefixes() {
#ifdef _WIN32
    return {}; // the games run on the system itself
#else
    const char* home = std::getenv("HOME");
    const char* env = std::getenv("WINEPREFIX");
    return findWinePrefixes(fs::path(home && *home ? home : "/"), env ? env : "");
#endif
}

} // namespace vokari::platform

#include "cli/cli.h"
#include "frame/installation.h"
#include "journal/change_journal.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "quickcombat/qc_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vokari::cli {

namespace {

void printDocument(const QcGroups& doc, std::ostream& out) {
    for (const auto& groupItem : doc.groups()) {
        const QcGroup& group = *groupItem.value;
        out << "group\t" << group.groupId() << '\t' << group.defineName() << '\t'
            << group.viewName() << '\n';
        for (const auto& planeItem : group.planes()) {
            const QcPlane& plane = *planeItem.value;
            out << "plane\t" << plane.aircraftPath() << '\t' << plane.aircraftType() << '\t'
                << plane.defineName() << '\t' << plane.viewName() << '\n';
        }
    }
    out << "default\t" << doc.defaultPlaneName() << '\t' << doc.defaultpGunAmmo() << '\t'
        << doc.defaultpCannonAmmo() << '\n';
    const QcStringList& strings = doc.stringList();
    strings.forEach([&out](const std::string& key, const std::string& value) {
        out << "string\t" << key << '\t' << value << '\n';
    });
}

// The lines of a file without their ends, split as the reader splits them.
std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back(bytes.substr(pos));
            break;
        }
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// A line taken out ('-', numbered in the old file) or put in ('+', numbered in the new one).
struct LineChange {
    char mark;
    size_t line;
    std::string_view text;
};

struct LineChanges {
    std::vector<LineChange> changes; // in file order
    bool isShortest = true;          // false: the stretch between the first and last change, whole
};

// The fewest lines to take out of `a` and put into `b` (Myers' difference), in file order.
// A file rewritten throughout would take long to match line by line: past a bound of work,
// the stretch between the first and the last differing line counts as rewritten whole.
LineChanges lineChanges(const std::vector<std::string_view>& a,
                        const std::vector<std::string_view>& b) {
    size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    const auto n = static_cast<int64_t>(a.size() - head - tail);
    const auto m = static_cast<int64_t>(b.size() - head - tail);
    const auto lineA = [&](int64_t x) { return a[head + static_cast<size_t>(x)]; };
    const auto lineB = [&](int64_t y) { return b[head + static_cast<size_t>(y)]; };

    constexpr int64_t kMaxEdits = 1000;
    constexpr int64_t kMaxWork = 20'000'000;
    // v[k]: the furthest x on diagonal k (x - y); trace[d] keeps v for -d..d after d edits.
    const int64_t limit = std::min(n + m, kMaxEdits);
    std::vector<int64_t> v(static_cast<size_t>(2 * limit + 3), 0);
    const auto at = [&](int64_t k) -> int64_t& { return v[static_cast<size_t>(k + limit + 1)]; };
    std::vector<std::vector<int64_t>> trace;
    int64_t work = 0;
    std::optional<int64_t> edits;
    for (int64_t d = 0; d <= limit && !edits && work <= kMaxWork; ++d) {
        for (int64_t k = -d; k <= d; k += 2) {
            int64_t x = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
            int64_t y = x - k;
            const int64_t start = x;
            while (x < n && y < m && lineA(x) == lineB(y)) {
                ++x;
                ++y;
            }
            work += 1 + (x - start);
            at(k) = x;
            if (x >= n && y >= m) {
                edits = d;
                break;
            }
        }
        trace.emplace_back(v.begin() + (limit + 1 - d), v.begin() + (limit + 2 + d));
    }

    LineChanges result;
    if (!edits) {
        result.isShortest = false;
        for (int64_t x = 0; x < n; ++x)
            result.changes.push_back({'-', head + static_cast<size_t>(x) + 1, lineA(x)});
        for (int64_t y = 0; y < m; ++y)
            result.changes.push_back({'+', head + static_cast<size_t>(y) + 1, lineB(y)});
        return result;
    }
    // Back from the end: each edit is the one step off the diagonal run that led to it.
    int64_t x = n;
    int64_t y = m;
    for (int64_t d = *edits; d > 0; --d) {
        const std::vector<int64_t>& before = trace[static_cast<size_t>(d - 1)];
        const auto was = [&](int64_t k) { return before[static_cast<size_t>(k + d - 1)]; };
        const int64_t k = x - y;
        const int64_t from = (k == -d || (k != d && was(k - 1) < was(k + 1))) ? k + 1 : k - 1;
        const int64_t fromX = was(from);
        const int64_t fromY = fromX - from;
        if (from == k + 1)
            result.changes.push_back({'+', head + static_cast<size_t>(fromY) + 1, lineB(fromY)});
        else
            result.changes.push_back({'-', head + static_cast<size_t>(fromX) + 1, lineA(fromX)});
        x = fromX;
        y = fromY;
    }
    std::reverse(result.changes.begin(), result.changes.end());
    return result;
}

// A line of the file as a reader of the terminal can follow it: decoded, control characters
// escaped, long lines cut.
std::string shownLine(std::string_view bytes) {
    constexpr size_t kShownCharacters = 100;
    const std::string text = platform::ansiToUtf8(bytes);
    std::string out;
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80 && ++characters > kShownCharacters) {
            out += "...";
            break;
        }
        if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += text[i];
        }
    }
    return out;
}

// What normalize changed: a count, then the first changed lines.
void printChanges(std::string_view before, std::string_view after, const std::string& path,
                  std::ostream& out) {
    constexpr size_t kShownChanges = 10;
    const LineChanges found = lineChanges(splitLines(before), splitLines(after));
    const auto count = [&](char mark) {
        return std::count_if(found.changes.begin(), found.changes.end(),
                             [mark](const LineChange& c) { return c.mark == mark; });
    };
    out << "normalized\t" << path << '\t';
    if (found.changes.empty()) {
        out << "only line ends differ\n";
        return;
    }
    out << found.changes.size() << " lines differ: " << count('-') << " taken out, " << count('+')
        << " put in";
    if (!found.isShortest)
        out << " (from the first to the last change: too many to match line by line)";
    out << '\n';
    for (size_t i = 0; i < found.changes.size() && i < kShownChanges; ++i) {
        const LineChange& c = found.changes[i];
        out << c.mark << '\t' << c.line << '\t' << shownLine(c.text) << '\n';
    }
    if (found.changes.size() > kShownChanges)
        out << "...\t" << found.changes.size() - kShownChanges << " more\n";
}

// show: the document as read. normalize: read and write back in the canonical layout, saying
// what changed; a file already in that layout is left alone.
int runQc(Context& ctx) {
    std::string folder;
    std::string file;
    int16_t version = 0;
    if (const auto path = takeOption(ctx.args, "--file")) {
        if (path->empty())
            throw UsageError("--file needs a path");
        file = platform::utf8Of(std::filesystem::absolute(*path));
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec))
            throw UsageError("no such file: " + *path);
    } else {
        const Game game = requireGame(ctx.args);
        folder = game.folder;
        version = game.version;
        file = quickCombatFileName();
    }
    if (ctx.args.size() != 1 || (ctx.args[0] != "show" && ctx.args[0] != "normalize"))
        throw UsageError("qc needs one action: show or normalize");

    std::unique_ptr<QcGroups> doc;
    readQCFile(doc, folder, file);
    if (!doc->hasQuickCombatSections()) {
        ctx.err << "vokari-cli: " << (folder.empty() ? file : platform::displayPath(folder + file))
                << " is no quick-combat file (it has no [option.N], [player default aircraft] or"
                   " [strings] section); it was left alone\n";
        return kExitFailed;
    }
    if (ctx.args[0] == "show") {
        printDocument(*doc, ctx.out);
        return kExitOk;
    }
    const std::string before = platform::readFileBytes(folder + file);
    const std::string after = qcFileBytes(*doc, folder, file);
    if (after == before) {
        ctx.out << "already normal\t" << folder << file << '\n';
        return kExitOk;
    }
    {
        // The history names the command; the save inside joins its entry.
        const std::filesystem::path game = platform::hostPath(folder.empty() ? file : folder);
        const platform::FolderLock lock(folder.empty() ? game.parent_path() : game);
        const JournalScope journal(folder.empty() ? game.parent_path() : game, "qc-normalize",
                                   version, file);
        writeQCFile(*doc, folder, file);
    }
    printChanges(before, after, folder + file, ctx.out);
    return kExitOk;
}

const CommandRegistration registration{
    "qc", runQc, "show or normalize the quick-combat file",
    "qc (--game N | --file PATH) show|normalize\n"
    "  show       the quick-combat groups and their aircraft\n"
    "  normalize  write the file again in the layout the editor writes, and print the\n"
    "             changed lines"};

} // namespace

} // namespace vokari::cli

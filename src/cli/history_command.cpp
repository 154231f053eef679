#include "cli/cli.h"
#include "frame/installation.h"
#include "journal/change_journal.h"
#include "journal/undo.h"
#include "platform/host_paths.h"
#include "platform/local_time.h"
#include "platform/path_text.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <optional>
#include <ostream>

namespace vokari::cli {

namespace {

const char* const kKindWords[] = {"added", "replaced", "removed", "folder added", "folder kept"};

std::string timeText(int64_t time) {
    std::tm local{};
    if (!platform::localTime(static_cast<std::time_t>(time), local))
        return std::to_string(time);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string stateOf(const JournalEntry& e) {
    if (e.undoneBy)
        return "undone by " + std::to_string(e.undoneBy);
    return e.finished ? "" : e.running ? "running" : "interrupted";
}

int64_t entryId(const std::string& text) {
    int64_t id = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (ec != std::errc() || end != text.data() + text.size() || id <= 0)
        throw UsageError("not an entry number: " + text);
    return id;
}

// The games whose history is asked for: --game N, else every installed game.
std::vector<int16_t> gamesOf(std::vector<std::string>& args) {
    if (std::find(args.begin(), args.end(), "--game") != args.end())
        return {requireGame(args).version};
    std::vector<int16_t> games;
    for (const int16_t g : {kGameCfs1, kGameCfs2})
        if (!gameFolder(g).empty())
            games.push_back(g);
    return games;
}

ChangeJournal journalOf(int16_t game) {
    return ChangeJournal(platform::hostPath(gameFolder(game)));
}

// The one game among `games` whose history holds entry `id`.
int16_t gameHolding(const std::vector<int16_t>& games, int64_t id) {
    std::optional<int16_t> found;
    for (const int16_t g : games) {
        if (journalOf(g).entry(id)) {
            if (found)
                throw UsageError("both games have an entry " + std::to_string(id) +
                                 "; give --game N");
            found = g;
        }
    }
    if (!found)
        throw UsageError("no entry " + std::to_string(id) + " in the history");
    return *found;
}

uint64_t sizeOf(const std::string& text) {
    uint64_t n = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, n);
    if (result.ec != std::errc())
        throw UsageError("not a size: " + text);
    const std::string unit(result.ptr, end);
    const uint64_t scale = unit.empty() || unit == "B"   ? 1
                           : unit == "K" || unit == "KB" ? 1ULL << 10
                           : unit == "M" || unit == "MB" ? 1ULL << 20
                           : unit == "G" || unit == "GB" ? 1ULL << 30
                                                         : 0;
    if (scale == 0)
        throw UsageError("not a size: " + text);
    return n * scale;
}

int prune(Context& ctx, const std::vector<int16_t>& games) {
    const auto days = takeOption(ctx.args, "--keep-days");
    const auto size = takeOption(ctx.args, "--max-size");
    if (!days == !size || !ctx.args.empty())
        throw UsageError("history prune needs --keep-days N or --max-size SIZE");
    const int64_t keepAfter = days ? std::time(nullptr) - std::stoll(*days) * 86400 : 0;
    const uint64_t maxSize = size ? sizeOf(*size) : 0;
    for (const int16_t g : games) {
        const ChangeJournal journal = journalOf(g);
        std::vector<JournalEntry> entries = journal.entries();
        uint64_t kept = 0;
        // Newest first: the newest are kept while they fit.
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            const uint64_t bytes = journal.storeSize(it->id);
            const bool old = days ? it->time <= keepAfter : kept + bytes > maxSize;
            if (!old) {
                kept += bytes;
                continue;
            }
            journal.forget(it->id);
            ctx.out << "forgot\t" << g << '\t' << it->id << '\t' << it->tool << '\t' << it->summary
                    << '\n';
        }
    }
    return kExitOk;
}

// history: the entries; history show ID: an entry's files; history prune: frees the store.
int runHistory(Context& ctx) {
    const std::vector<int16_t> games = gamesOf(ctx.args);
    if (!ctx.args.empty() && ctx.args[0] == "prune") {
        ctx.args.erase(ctx.args.begin());
        return prune(ctx, games);
    }
    if (!ctx.args.empty() && ctx.args[0] == "show") {
        if (ctx.args.size() != 2)
            throw UsageError("history show needs one entry number");
        const int64_t id = entryId(ctx.args[1]);
        const ChangeJournal journal = journalOf(gameHolding(games, id));
        const JournalEntry e = *journal.entry(id);
        ctx.out << e.id << '\t' << timeText(e.time) << '\t' << e.tool << '\t' << e.summary << '\t'
                << stateOf(e) << '\n';
        for (const FileChange& c : e.changes)
            ctx.out << kKindWords[static_cast<int>(c.kind)] << '\t'
                    << platform::utf8Of(journal.hostPathOf(c.path)) << '\t'
                    << (c.failed ? "not done"
                        : c.made ? ""
                                 : "perhaps")
                    << '\n';
        return kExitOk;
    }
    if (!ctx.args.empty())
        throw UsageError("history takes show ID, prune, or nothing");
    for (const int16_t g : games) {
        for (const JournalEntry& e : journalOf(g).entries())
            ctx.out << g << '\t' << e.id << '\t' << timeText(e.time) << '\t' << e.tool << '\t'
                    << e.summary << '\t' << e.changes.size() << " files\t" << stateOf(e) << '\n';
    }
    return kExitOk;
}

const char* actionWord(UndoAction action) {
    switch (action) {
    case UndoAction::Removed:
        return "removed";
    case UndoAction::Restored:
        return "restored";
    case UndoAction::FolderRemoved:
        return "folder removed";
    case UndoAction::FolderRestored:
        return "folder restored";
    case UndoAction::LeftAlone:
        break;
    }
    return "left alone";
}

// undo ID: takes an entry back.
int runUndo(Context& ctx) {
    const std::vector<int16_t> games = gamesOf(ctx.args);
    UndoOptions options;
    options.dryRun = takeFlag(ctx.args, "--dry-run");
    options.force = takeFlag(ctx.args, "--force");
    options.withLater = takeFlag(ctx.args, "--with-later");
    ctx.args = operands(ctx.args, "undo");
    if (ctx.args.size() != 1)
        throw UsageError("undo needs one entry number");
    const int64_t id = entryId(ctx.args[0]);
    const ChangeJournal journal = journalOf(gameHolding(games, id));
    const UndoReport report = undoEntry(journal, id, options);
    if (!report.later.empty()) {
        ctx.err << "vokari-cli: later entries changed the same files; take them back first, or "
                   "give --with-later:";
        for (const int64_t later : report.later)
            ctx.err << ' ' << later;
        ctx.err << '\n';
        return kExitSomeFailed;
    }
    for (const UndoItem& item : report.items) {
        ctx.out << actionWord(item.action) << '\t' << item.host;
        if (!item.reason.empty())
            ctx.out << '\t' << item.reason;
        ctx.out << '\n';
    }
    if (report.undoEntry)
        ctx.out << "entry\t" << report.undoEntry << '\n';
    return report.leftAlone() ? kExitSomeFailed : kExitOk;
}

const CommandRegistration history{
    "history", runHistory, "what changed the game folders, and what is kept to undo it",
    "history [--game N] [show ID | prune --keep-days N | prune --max-size SIZE]\n"
    "Lists the change history of the game folders, one entry per line: number, game, time,\n"
    "tool, what it did, and whether it can be taken back.\n"
    "  --game N              only game N (1 or 2)\n"
    "  show ID               the files and folders entry ID changed\n"
    "  prune --keep-days N   forget entries older than N days\n"
    "  prune --max-size SIZE forget the oldest entries until what is kept fits (10M, 1G)"};
const CommandRegistration undo{
    "undo", runUndo, "take an entry of the history back",
    "undo [--game N] ID [--dry-run] [--force] [--with-later]\n"
    "Takes entry ID of the history back: what it added is removed, what it replaced or\n"
    "removed is put back. Files changed since are left alone and named (exit 4).\n"
    "  --game N      the game whose entry ID is meant, when both have one\n"
    "  --dry-run     say what would be done, change nothing\n"
    "  --force       also take back files changed since\n"
    "  --with-later  first take back the later entries that touched the same files"};

} // namespace

} // namespace vokari::cli

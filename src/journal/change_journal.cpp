#include "journal/change_journal.h"

#include "platform/change_observer.h"
#include "platform/environment.h"
#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/file_fingerprint.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "platform/path_text.h"
#include "platform/process.h"
#include "platform/stdio_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>
#include <mutex>
#include <unordered_map>

namespace fs = std::filesystem;

namespace vokari {
namespace {

std::atomic<bool> enabled{true};

const char* const kKindWords[] = {"add", "replace", "remove", "mkdir", "movefolder"};

std::string escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::vector<std::string> fields(std::string_view line) {
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        out.push_back(unescape(line.substr(start, tab - start)));
        if (tab == std::string_view::npos)
            return out;
        start = tab + 1;
    }
}

int64_t number(const std::string& text, int base = 10) {
    int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, base);
    return value;
}

uint64_t unsignedNumber(const std::string& text, int base) {
    uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, base);
    return value;
}

std::string entryName(int64_t id) {
    char name[32];
    std::snprintf(name, sizeof name, "%08lld.log", static_cast<long long>(id));
    return name;
}

std::optional<JournalEntry> readEntry(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    JournalEntry entry;
    std::map<int64_t, size_t> bySeq;
    std::string line;
    bool begun = false;
    while (std::getline(in, line)) {
        if (in.eof())
            break; // a line cut short by a kill
        const std::vector<std::string> f = fields(line);
        if (f.empty())
            continue;
        const std::string& tag = f[0];
        if (tag == "B" && f.size() >= 7) {
            if (f.size() >= 8)
                entry.running = platform::processIsRunning(static_cast<int>(number(f[7])));
            entry.id = number(f[1]);
            entry.time = number(f[2]);
            entry.tool = f[3];
            entry.game = static_cast<int>(number(f[4]));
            entry.summary = f[5];
            entry.undoes = number(f[6]);
            begun = true;
        } else if (tag == "C" && f.size() >= 5) {
            const auto kind = std::find(std::begin(kKindWords), std::end(kKindWords), f[2]);
            if (kind == std::end(kKindWords))
                continue;
            FileChange change;
            change.kind = static_cast<ChangeKind>(kind - std::begin(kKindWords));
            change.path = f[3];
            change.stored = f[4];
            bySeq[number(f[1])] = entry.changes.size();
            entry.changes.push_back(std::move(change));
        } else if (tag == "D" && f.size() >= 4) {
            if (const auto it = bySeq.find(number(f[1])); it != bySeq.end()) {
                FileChange& change = entry.changes[it->second];
                change.made = true;
                change.hash = unsignedNumber(f[2], 16);
                change.mtimeNs = number(f[3]);
            }
        } else if (tag == "F" && f.size() >= 2) {
            if (const auto it = bySeq.find(number(f[1])); it != bySeq.end())
                entry.changes[it->second].failed = true;
        } else if (tag == "E") {
            entry.finished = true;
        } else if (tag == "U" && f.size() >= 2) {
            entry.undoneBy = number(f[1]);
        }
    }
    if (!begun)
        return std::nullopt;
    entry.running = entry.running && !entry.finished;
    return entry;
}

void copyEntry(const fs::path& from, const fs::path& to, fs::file_status status,
               std::error_code& ec);

// Copies the tree `from` to `to` (which must not exist), files byte for byte with their
// dates, links as links.
void copyTree(const fs::path& from, const fs::path& to, std::error_code& ec) {
    fs::create_directory(to, ec);
    for (auto it = fs::directory_iterator(from, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const fs::file_status status = it->symlink_status(ec);
        if (!ec)
            copyEntry(it->path(), to / it->path().filename(), status, ec);
        if (ec)
            return;
    }
}

// One entry of a tree (`status`, not followed), copied as copyTree copies it.
void copyEntry(const fs::path& from, const fs::path& to, fs::file_status status,
               std::error_code& ec) {
    if (fs::is_directory(status))
        copyTree(from, to, ec);
    else if (fs::is_symlink(status))
        fs::copy_symlink(from, to, ec);
    else if (const int err = platform::copyFileExact(from, to, false))
        ec = std::error_code(err, std::generic_category());
}

std::error_code flushed(const fs::path& file) {
    try {
        platform::flushFileSystems({file});
    } catch (const IoError& e) {
        return std::error_code(e.errorNumber() ? e.errorNumber() : EIO, std::generic_category());
    }
    return {};
}

// Copies into `to` what of the tree `from` is not there.
void putBackMissing(const fs::path& from, const fs::path& to, std::error_code& ec) {
    for (auto it = fs::directory_iterator(from, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const fs::path target = to / it->path().filename();
        const fs::file_status status = it->symlink_status(ec);
        std::error_code absent;
        if (ec)
            return;
        if (fs::is_directory(status) && fs::is_directory(fs::symlink_status(target, absent)))
            putBackMissing(it->path(), target, ec);
        else if (!fs::exists(fs::symlink_status(target, absent)))
            copyEntry(it->path(), target, status, ec);
        if (ec)
            return;
    }
}

// Removes a tree kept whole elsewhere, or the history's own; returns what stays.
long removeWhole(const fs::path& folder) {
    return platform::removeHostTree(platform::utf8Of(folder), nullptr, platform::ReadOnlyFiles::Go);
}

} // namespace

std::error_code moveFolderAcrossDisks(const fs::path& from, const fs::path& to) {
    const fs::path copy = to.parent_path() / platform::stagingName();
    std::error_code ec;
    copyTree(from, copy, ec);
    if (!ec)
        ec = flushed(copy);
    if (!ec)
        fs::rename(copy, to, ec);
    if (ec) {
        removeWhole(copy);
        return ec;
    }
    // Set aside first: a kill while it is removed leaves the folder gone and its copy whole.
    const fs::path aside = from.parent_path() / platform::stagingName();
    fs::rename(from, aside, ec);
    if (!ec && removeWhole(aside) != 0) {
        ec = std::make_error_code(std::errc::permission_denied);
        std::error_code back;
        putBackMissing(to, aside, back);
        if (!back)
            fs::rename(aside, from, back);
        if (back)
            return ec; // the copy is all there is of what went: it stays
    }
    if (ec)
        removeWhole(to);
    return ec;
}

fs::path journalRoot() {
    return platform::userDataDirectory() / "journal";
}

void forgetJournal(const fs::path& gameFolder) {
    removeWhole(journalRoot() / platform::folderKey(gameFolder));
}

void setJournalEnabled(bool on) {
    enabled = on;
}

uint64_t hashFile(const fs::path& host) {
    return platform::hashHostFile(host);
}

ChangeJournal::ChangeJournal(const fs::path& gameFolder)
    : gameFolder_(gameFolder), folder_(journalRoot() / platform::folderKey(gameFolder)) {}

std::vector<JournalEntry> ChangeJournal::entries() const {
    std::vector<JournalEntry> list;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(folder_ / "entries", ec)) {
        if (item.path().extension() != ".log")
            continue;
        if (auto entry = readEntry(item.path()))
            list.push_back(std::move(*entry));
    }
    std::sort(list.begin(), list.end(),
              [](const JournalEntry& a, const JournalEntry& b) { return a.id < b.id; });
    return list;
}

std::optional<JournalEntry> ChangeJournal::entry(int64_t id) const {
    return readEntry(folder_ / "entries" / entryName(id));
}

fs::path ChangeJournal::hostPathOf(const std::string& path) const {
    const fs::path p(path);
    return p.is_absolute() ? p : gameFolder_ / p;
}

fs::path ChangeJournal::storedPath(int64_t id, const std::string& stored) const {
    return folder_ / "store" / std::to_string(id) / stored;
}

void ChangeJournal::markUndone(int64_t id, int64_t by) const {
    std::ofstream out(folder_ / "entries" / entryName(id), std::ios::binary | std::ios::app);
    out << "U\t" << by << '\n';
    if (!out.flush())
        throw IoError(FileAction::Write, platform::utf8Of(folder_ / "entries" / entryName(id)),
                      EIO);
}

void ChangeJournal::forget(int64_t id) const {
    // The store is the history's own: read-only files kept in it go too.
    removeWhole(folder_ / "store" / std::to_string(id));
    std::error_code ec;
    fs::remove(folder_ / "entries" / entryName(id), ec);
}

uint64_t ChangeJournal::storeSize(int64_t id) const {
    uint64_t size = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder_ / "store" / std::to_string(id), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec) && !it->is_symlink(ec))
            size += it->file_size(ec);
    }
    return size;
}

// The observer that turns the writers' changes into the entry's lines.
class JournalScope::Recorder : public platform::ChangeObserver {
public:
    Recorder(const fs::path& gameFolder, std::string tool, int game, std::string summary,
             int64_t undoes)
        : journal_(gameFolder), tool_(std::move(tool)), game_(game), summary_(std::move(summary)),
          undoes_(undoes), scope_(this) {}

    ~Recorder() override {
        if (log_) {
            std::fputs((outcomes_ + "E\n").c_str(), log_);
            std::fclose(log_);
        }
    }

    int64_t id() const {
        const std::lock_guard lock(mutex_);
        return id_;
    }
    int64_t begin() {
        const std::lock_guard lock(mutex_);
        open();
        return id_;
    }
    const fs::path& gameFolder() const { return journal_.gameFolder(); }

    void beforeAdd(const fs::path& host) override { intend(ChangeKind::Added, host, false); }
    void beforeReplace(const fs::path& host) override { intend(ChangeKind::Replaced, host, true); }
    void beforeRemove(const fs::path& host) override { intend(ChangeKind::Removed, host, true); }
    void beforeAddFolder(const fs::path& host) override {
        intend(ChangeKind::FolderAdded, host, false);
    }

    void made(const fs::path& host) override {
        const platform::ObserverScope quiet(nullptr);
        madeFile(host, platform::hashAndTime(host));
    }

    void madeFile(const fs::path& host, const platform::HashAndTime& now) override {
        const std::lock_guard lock(mutex_);
        char hex[24];
        std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(now.hash));
        outcome("D\t" + std::to_string(take(host).seq) + "\t" + hex + "\t" +
                std::to_string(now.mtimeNs));
    }

    void failed(const fs::path& host) override {
        const std::lock_guard lock(mutex_);
        const Pending change = take(host);
        outcome("F\t" + std::to_string(change.seq));
        // What was kept of a file that stays may be that very file under a second name.
        if (change.kept) {
            std::error_code ec;
            fs::remove(journal_.storedPath(id_, std::to_string(change.seq)), ec);
        }
    }

    int moveFolderAway(const fs::path& host) override {
        const std::lock_guard lock(mutex_);
        const platform::ObserverScope quiet(nullptr);
        intend(ChangeKind::FolderMoved, host, false);
        const fs::path stored = journal_.storedPath(id_, std::to_string(seq_));
        std::error_code ec;
        fs::create_directories(stored.parent_path(), ec);
        fs::rename(host, stored, ec);
        if (ec == std::errc::cross_device_link)
            ec = moveFolderAcrossDisks(host, stored);
        if (ec) {
            failed(host);
            return ec.value();
        }
        platform::noteRemoved(host);
        outcome("D\t" + std::to_string(take(host).seq) + "\t0\t0");
        return 0;
    }

private:
    // A change recorded and not yet told how it ended.
    struct Pending {
        int64_t seq = 0;
        bool kept = false; // a copy of the file is in the store
    };

    // The change to `host` waiting for its outcome: changes may end in another order than
    // they were recorded in (an operation names a batch of files on a thread of its own).
    Pending take(const fs::path& host) {
        const auto it = pending_.find(pathOf(host));
        if (it == pending_.end())
            return Pending{seq_, false};
        const Pending change = it->second;
        pending_.erase(it);
        return change;
    }

    void intend(ChangeKind kind, const fs::path& host, bool keep) {
        const std::lock_guard lock(mutex_);
        const platform::ObserverScope quiet(nullptr);
        open();
        ++seq_;
        const std::string stored =
            keep || kind == ChangeKind::FolderMoved ? std::to_string(seq_) : std::string();
        const std::string path = pathOf(host);
        line("C\t" + std::to_string(seq_) + "\t" + kKindWords[static_cast<int>(kind)] + "\t" +
             escape(path) + "\t" + stored);
        pending_.insert_or_assign(path, Pending{seq_, keep});
        if (keep) {
            try {
                keepInStore(host, stored);
            } catch (...) {
                failed(host); // the writer stops here: the change is not made
                throw;
            }
        }
    }

    // Keeps a copy of the file or link `host` in the entry's store under `name`: its bytes
    // and date, or the link as a link. The store's folder stays open for the whole entry.
    void keepInStore(const fs::path& host, const std::string& name) {
        const fs::path stored = journal_.storedPath(id_, name);
        if (!store_) {
            std::error_code ec;
            fs::create_directories(stored.parent_path(), ec);
            int err = 0;
            store_ = platform::FolderHandle::open(platform::utf8Of(stored.parent_path()), err);
            if (!store_)
                throw IoError(FileAction::Write, platform::utf8Of(stored), err);
        }
        if (std::error_code ec; fs::is_symlink(fs::symlink_status(host, ec))) {
            if (fs::copy_symlink(host, stored, ec); ec)
                throw IoError(FileAction::Write, platform::utf8Of(stored), ec.value());
            return;
        }
        if (const int err = platform::keepFileInto(host, *store_, name))
            throw IoError(FileAction::Write, platform::utf8Of(stored), err);
    }

    std::string pathOf(const fs::path& host) const {
        const fs::path relative = host.lexically_relative(journal_.gameFolder());
        if (relative.empty() || *relative.begin() == "..")
            return platform::utf8Of(host);
        return relative.generic_string();
    }

    void open() {
        if (log_)
            return;
        const fs::path entries = journal_.folder() / "entries";
        std::error_code ec;
        fs::create_directories(entries, ec);
        // A store that outlived its entry's log must not take in the new entry's copies.
        int64_t last = 0;
        for (const fs::path& folder : {entries, journal_.folder() / "store"})
            for (const auto& item : fs::directory_iterator(folder, ec))
                last = std::max(last, number(platform::utf8Of(item.path().stem())));
        id_ = last + 1;
        const fs::path file = entries / entryName(id_);
        log_ = platform::openStdioFile(file, "wbx");
        if (!log_)
            throw IoError(FileAction::Write, platform::utf8Of(file), errno);
        std::ofstream(journal_.folder() / "game.txt", std::ios::binary | std::ios::trunc)
            << platform::utf8Of(journal_.gameFolder()) << '\n';
        line("B\t" + std::to_string(id_) + "\t" + std::to_string(std::time(nullptr)) + "\t" +
             escape(tool_) + "\t" + std::to_string(game_) + "\t" + escape(summary_) + "\t" +
             std::to_string(undoes_) + "\t" + std::to_string(platform::currentProcessId()));
    }

    // Written through to the system before the change it announces is made, with the
    // outcomes waiting before it.
    void line(const std::string& text) {
        if (!log_)
            return;
        outcomes_ += text;
        outcomes_ += '\n';
        const bool written = std::fputs(outcomes_.c_str(), log_) >= 0 && std::fflush(log_) == 0;
        outcomes_.clear();
        if (!written)
            throw IoError(FileAction::Write,
                          platform::utf8Of(journal_.folder() / "entries" / entryName(id_)), errno);
    }

    // How a change ended waits for the next line: a copy of many files then writes once a
    // file rather than twice. Lost to a kill, it leaves the change as a kill right after it
    // was made would, which undo already weighs (it checks the disk).
    void outcome(const std::string& text) {
        if (!log_)
            return;
        outcomes_ += text;
        outcomes_ += '\n';
    }

    ChangeJournal journal_;
    std::string tool_;
    int game_;
    std::string summary_;
    int64_t undoes_;
    std::FILE* log_ = nullptr;
    std::string outcomes_; // lines of outcomes not written yet
    int64_t id_ = 0;
    int64_t seq_ = 0;
    std::unordered_map<std::string, Pending> pending_; // by path
    // Changes may be told from more than one thread of the operation.
    mutable std::recursive_mutex mutex_;
    std::shared_ptr<platform::FolderHandle> store_;
    platform::ObserverScope scope_;
};

namespace {
thread_local JournalScope::Recorder* active = nullptr;
} // namespace

JournalScope::JournalScope(const fs::path& gameFolder, std::string tool, int game,
                           std::string summary, int64_t undoes) {
    if (!enabled || (active && active->gameFolder() == gameFolder))
        return;
    recorder_ =
        std::make_unique<Recorder>(gameFolder, std::move(tool), game, std::move(summary), undoes);
    previous_ = active;
    active = recorder_.get();
}

JournalScope::~JournalScope() {
    if (recorder_)
        active = previous_;
}

int64_t JournalScope::begin() {
    return recorder_ ? recorder_->begin() : active ? active->begin() : 0;
}

int64_t JournalScope::id() const {
    return recorder_ ? recorder_->id() : active ? active->id() : 0;
}

} // namespace vokari

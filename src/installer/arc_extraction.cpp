#include "installer/arc_extraction.h"

#include "installer/archiver.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"
#include "platform/text.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <unordered_map>
#include <zlib.h>

namespace fs = std::filesystem;

namespace vokari {
namespace {

// What is in one destination folder, read once and kept up to date while writing. A name is
// found as hostPath finds it (the name as spelled, else the first that differs only in case),
// so the listing and unpacking agree on what exists.
struct Folder {
    fs::path host;
    bool existed = false;
    std::unordered_map<std::string, bool> names;         // name on disk -> a file (links followed)
    std::unordered_map<std::string, std::string> folded; // lower-case name -> first name on disk
    std::unordered_map<std::string, std::string> writtenBy; // name on disk -> entry of this run

    void add(const std::string& name, bool isFile) {
        names.emplace(name, isFile);
        folded.emplace(asciiLower(name), name);
    }
    // The file that a write of `name` replaces, or nothing.
    const std::string* existing(const std::string& name) const {
        const std::string* onDisk = &name;
        if (!names.count(name)) {
            const auto it = folded.find(asciiLower(name));
            if (it == folded.end())
                return nullptr;
            onDisk = &it->second;
        }
        const auto it = names.find(*onDisk);
        return it->second ? &it->first : nullptr;
    }
};

class Folders {
public:
    Folder& get(const std::string& windowsFolder) {
        Folder& f = folders_[asciiLower(windowsFolder)];
        if (!f.existed) {
            // Resolved again until it exists, so a folder created meanwhile under another
            // spelling is found.
            f.host = platform::hostPath(windowsFolder);
            load(f);
        }
        return f;
    }

    void create(Folder& f) {
        if (f.existed)
            return;
        std::error_code ec;
        fs::create_directories(f.host, ec);
        if (ec || !fs::is_directory(f.host, ec))
            throw IoError(FileAction::CreateFolder, f.host.string(), ec ? ec.value() : EEXIST);
        f.existed = true;
    }

private:
    static void load(Folder& f) {
        std::error_code ec;
        fs::directory_iterator it(f.host, ec);
        if (ec)
            return;
        f.existed = true;
        for (; it != fs::directory_iterator(); it.increment(ec))
            f.add(it->path().filename().string(), it->is_regular_file(ec));
    }

    std::unordered_map<std::string, Folder> folders_;
};

// The CRC-32 the listing showed (kept as the text of a signed number).
std::optional<uint32_t> crcOf(const CfsArcFile& entry) {
    int64_t value = 0;
    const std::string& text = entry.crc();
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

void copyToBackup(const fs::path& source, const fs::path& backup) {
    platform::FileReader in;
    if (const int err = in.open(source))
        throw IoError(FileAction::Read, source.string(), err);
    platform::AtomicFileWriter out(backup);
    char buffer[65536];
    while (true) {
        const int64_t n = in.read(buffer, sizeof buffer);
        if (n < 0)
            throw IoError(FileAction::Read, source.string(), errno);
        if (n == 0)
            break;
        out.write(std::string_view(buffer, static_cast<size_t>(n)));
    }
    out.commit();
}

class Extraction {
public:
    Extraction(std::vector<ExtractionFailure>& failures, const ExtractionProgress& progress,
               size_t total)
        : failures_(failures), progress_(progress), total_(total) {}

    // A step counted without being written (refused).
    void skip() { ++done_; }
    bool stopped() const { return stopped_; }

    void runGroup(const std::string& archive, ArchiveKind kind,
                  const std::vector<const ExtractionStep*>& steps) {
        std::map<size_t, const ExtractionStep*> byIndex;
        for (const ExtractionStep* s : steps)
            byIndex.emplace(s->entry->sourceIndex(), s);
        try {
            auto reader = archiverFor(kind).open(archive);
            size_t index = 0;
            while (!byIndex.empty() && reader->next(index)) {
                auto it = byIndex.find(index);
                if (it == byIndex.end())
                    continue;
                const ExtractionStep& step = *it->second;
                if (progress_ && !progress_(done_, total_, *step.entry)) {
                    stopped_ = true;
                    return;
                }
                byIndex.erase(it);
                ++done_;
                try {
                    write(step, *reader);
                } catch (const std::exception& e) {
                    fail(step, e.what());
                }
            }
        } catch (const std::exception& e) {
            for (const auto& [index, step] : byIndex)
                fail(*step, e.what());
            return;
        }
        for (const auto& [index, step] : byIndex)
            fail(*step, "not found in the archive");
    }

private:
    void fail(const ExtractionStep& step, const std::string& reason) {
        failures_.push_back({step.entry->fullPath(), reason});
    }

    void write(const ExtractionStep& step, ArchiveReader& reader) {
        const CfsArcFile& entry = *step.entry;
        // The archive must still hold what was listed at this place.
        const uint32_t listedSize = static_cast<uint32_t>(entry.originalSize());
        const int64_t size = reader.currentSize();
        if (!reader.currentIsFile() || (size >= 0 && size != listedSize))
            throw FormatError("the archive has changed since it was read");
        const std::string& name = entry.fileName();
        Folder& folder = folders_.get(step.folder);
        const std::string* existing = folder.existing(name);
        if (existing && step.skipExisting) {
            const auto earlier = folder.writtenBy.find(*existing);
            if (earlier != folder.writtenBy.end())
                throw IoError("not unpacked: " + earlier->second +
                              " was unpacked to the same file");
            return;
        }
        const std::string onDisk = existing ? *existing : name;
        const fs::path target = folder.host / onDisk;
        if (existing && step.backup) {
            const std::string bakName = onDisk + ".bak";
            if (!folder.existing(bakName)) {
                try {
                    copyToBackup(target, folder.host / bakName);
                } catch (const std::exception& e) {
                    std::throw_with_nested(IoError(
                        std::string("no backup could be made, file left as it was: ") + e.what()));
                }
                folder.add(bakName, true);
            }
        }
        folders_.create(folder);
        // Checked against the listing while it streams: an entry that inflates beyond its
        // declared size stops at once, and ZIP data must match the CRC the listing showed.
        const bool zip = entry.sourceArchiveKind() == ArchiveKind::Zip;
        const std::optional<uint32_t> listedCrc = zip ? crcOf(entry) : std::nullopt;
        uint64_t total = 0;
        uLong crc = ::crc32(0, nullptr, 0);
        auto check = [&](const char* data, size_t size) {
            total += size;
            if (total > listedSize)
                throw EntryError("the data is larger than the " + std::to_string(listedSize) +
                                 " bytes the archive lists");
            if (zip)
                crc = ::crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size));
        };
        auto verify = [&] {
            if (total != listedSize)
                throw EntryError("the data is " + std::to_string(total) +
                                 " bytes, the archive lists " + std::to_string(listedSize));
            if (listedCrc && static_cast<uint32_t>(crc) != *listedCrc)
                throw EntryError("the data does not match the CRC the archive lists");
        };
        const int64_t mtime = entry.modifyDate().toUnixTime();
        if (existing) {
            platform::AtomicFileWriter temp(target);
            reader.readData([&](const char* data, size_t size) {
                check(data, size);
                temp.write({data, size});
            });
            verify();
            temp.setModificationTime(mtime);
            temp.commit();
        } else {
            platform::NewFileWriter file(target);
            reader.readData([&](const char* data, size_t size) {
                check(data, size);
                file.write({data, size});
            });
            verify();
            file.commit(mtime);
            folder.add(name, true);
        }
        folder.writtenBy.insert_or_assign(onDisk, entry.fullPath());
    }

    std::vector<ExtractionFailure>& failures_;
    const ExtractionProgress& progress_;
    size_t total_;
    size_t done_ = 0;
    bool stopped_ = false;
    Folders folders_;
};

} // namespace

bool hasControlCharacter(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
}

std::string refusalReason(const CfsArcFile& entry) {
    switch (entry.entryType()) {
    case EntryType::Symlink:
        return "refused: symbolic link";
    case EntryType::Hardlink:
        return "refused: hard link";
    case EntryType::Device:
        return "refused: device or special file";
    case EntryType::Nameless:
        return "refused: the entry has no name";
    default:
        break;
    }
    const std::string& name = entry.fileName();
    if (name == "." || name == "..")
        return "refused: not a file name";
    if (hasControlCharacter(name))
        return "refused: control character in the name";
    return {};
}

bool isContainedRelativeFolder(std::string_view folder) {
    if (folder.empty())
        return true;
    if (folder[0] == '\\' || folder[0] == '/' || folder.find(':') != std::string_view::npos ||
        hasControlCharacter(folder))
        return false;
    size_t start = 0;
    while (start <= folder.size()) {
        const size_t end = folder.find_first_of("\\/", start);
        const std::string_view part = folder.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part == "..")
            return false;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return true;
}

std::vector<ExtractionFailure> runExtraction(const std::vector<ExtractionStep>& steps,
                                             const ExtractionProgress& progress) {
    std::vector<ExtractionFailure> failures;
    Extraction extraction(failures, progress, steps.size());
    // One pass per source archive, archives in the order their first entry is planned.
    std::vector<std::pair<std::string, std::vector<const ExtractionStep*>>> groups;
    std::unordered_map<std::string, size_t> groupOf;
    for (const ExtractionStep& step : steps) {
        const std::string reason = refusalReason(*step.entry);
        if (!reason.empty()) {
            failures.push_back({step.entry->fullPath(), reason});
            extraction.skip();
            continue;
        }
        if (step.entry->isFolder()) {
            extraction.skip();
            continue;
        }
        const std::string key = std::to_string(static_cast<int>(step.entry->sourceArchiveKind())) +
                                "|" + step.entry->sourceArchive();
        auto [it, added] = groupOf.emplace(key, groups.size());
        if (added)
            groups.push_back({key, {}});
        groups[it->second].second.push_back(&step);
    }
    for (const auto& [key, group] : groups) {
        if (extraction.stopped())
            break;
        const CfsArcFile& first = *group.front()->entry;
        extraction.runGroup(first.sourceArchive(), first.sourceArchiveKind(), group);
    }
    return failures;
}

} // namespace vokari

#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/file_system_shared.h"
#include "platform/path_text.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>

namespace fs = std::filesystem;

namespace vokari::platform {

void sortHostEntries(std::vector<HostEntry>& entries) {
    // Lowered once per entry, not once per comparison: a folder may hold thousands.
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        keys.emplace_back(asciiLower(entries[i].name), i);
    std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first
                                  : entries[a.second].name < entries[b.second].name;
    });
    std::vector<HostEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(entries[key.second]));
    entries = std::move(sorted);
}

BackupResult makeBackup(const fs::path& original, const fs::path& backup) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(backup, ec);
    if (fs::exists(st)) {
        if (fs::is_regular_file(st) ||
            (fs::is_symlink(st) && fs::is_regular_file(fs::status(backup, ec))))
            return BackupResult::Kept;
        throw IoError(FileAction::Write, utf8Of(backup), fs::is_symlink(st) ? ENOLINK : EISDIR);
    }
    if (!fs::exists(fs::status(original, ec)))
        return BackupResult::NoOriginal;
    if (const int err = copyFileExact(original, backup))
        throw IoError(FileAction::Write, utf8Of(backup), err);
    return BackupResult::Made;
}

} // namespace vokari::platform

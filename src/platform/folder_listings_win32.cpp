#include "platform/folder_listings.h"

#include "platform/file_system.h"
#include "platform/file_system_win32.h"
#include "platform/listing_table.h"
#include "platform/path_text.h"
#include "platform/windows_api.h"

namespace fs = std::filesystem;

namespace vokari::platform {

using namespace listing_table;

namespace {

// Reads the folder `folder` into `listing`; it stays unread when the folder cannot be read.
void readFolder(Listing& listing, const fs::path& folder) {
    const int err = forEachEntry(folder, [&](std::wstring_view wide, const EntryInfo& info) {
        std::string name = utf8FromWide(wide);
        if (isStagingName(name)) {
            listing.sawLeftovers(); // ours, or a killed run's: never a name a lookup asks for
            return;
        }
        const HostKind kind = kindOfEntry(info);
        listing.add(std::move(name), kind,
                    kind == HostKind::Link ? targetKind(folder / wide) : kind);
    });
    if (err == 0)
        listing.markRead();
}

} // namespace

namespace listing_table {

Listing& listing(std::string_view folder, bool sweep, size_t* leftovers) {
    const std::string_view key = folderKey(folder);
    auto& folders = current()->folders;
    auto it = folders.find(key);
    if (it == folders.end()) {
        it = folders.emplace(std::string(key), std::make_unique<Listing>()).first;
        readFolder(*it->second, key.empty() ? fs::path(L".") : pathFromUtf8(key));
    }
    Listing& found = *it->second;
    if (sweep && found.hasLeftovers()) {
        const size_t removed = removeLeftovers(pathFromUtf8(it->first));
        if (leftovers)
            *leftovers += removed;
        found.sweptLeftovers();
    }
    return found;
}

HostKind linkTargetKind(const fs::path& host) {
    return targetKind(host);
}

} // namespace listing_table

} // namespace vokari::platform

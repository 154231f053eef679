#include "installer/nested_archives.h"

#include "frame/installation.h"
#include "installer/arc_result.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"

#include <cerrno>

namespace vokari {

std::vector<const CfsArcFile*> nestedArchives(const CfsArcList& list) {
    std::vector<const CfsArcFile*> archives;
    for (const auto& item : list.fileList)
        if (item.value.isArchive())
            archives.push_back(&item.value);
    return archives;
}

std::string newNestedArchiveFolder() {
    const std::string work = ensureWorkDirectory();
    int err = EEXIST;
    for (int n = 1; n < 100000; ++n) {
        const std::string folder = work + "nested" + std::to_string(n) + "\\";
        err = platform::createPrivateFolder(platform::hostPath(folder));
        if (err == 0)
            return folder;
        if (err != EEXIST)
            break;
    }
    throw IoError(FileAction::CreateFolder, platform::displayPath(work), err);
}

int32_t readNestedArchive(CfsArcList& list, intptr_t owner, const CfsArcFile& entry,
                          std::string* createdFolder) {
    std::string folder;
    try {
        folder = newNestedArchiveFolder();
    } catch (const std::exception&) {
        return kArcIoError;
    }
    if (createdFolder)
        *createdFolder = folder;
    // Both calls may change the list; keep what is needed from the entry first.
    const std::string fullPath = entry.fullPath();
    const std::string fileName = entry.fileName();
    const int32_t result = list.extractArchive(owner, fullPath, folder);
    if (result != kArcOk)
        return result;
    return list.readArchive(owner, folder + fileName);
}

} // namespace vokari

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
                          std::string* createdFolder, ExtractionFailure* failure) {
    // Both calls below may change the list; keep what is needed from the entry first.
    const std::string fullPath = entry.fullPath();
    const std::string fileName = entry.fileName();
    ExtractionFailure why{fullPath, {}};
    const auto fails = [&](int32_t result) {
        if (failure)
            *failure = why;
        return result;
    };
    std::string folder;
    try {
        folder = newNestedArchiveFolder();
    } catch (const std::exception& e) {
        why.reason = e.what();
        why.error = std::current_exception();
        return fails(kArcIoError);
    }
    if (createdFolder)
        *createdFolder = folder;
    const int32_t extracted = list.extractArchive(owner, fullPath, folder);
    if (extracted != kArcOk) {
        if (!list.extractionFailures().empty()) {
            why.reason = list.extractionFailures().front().reason;
            why.error = list.extractionFailures().front().error;
            why.problem = list.extractionFailures().front().problem;
        }
        return fails(extracted);
    }
    const int32_t read = list.readArchive(owner, folder + fileName);
    why.reason = list.readProblem();
    why.error = list.readError();
    return fails(read);
}

} // namespace vokari

#include "installer/archiver_availability.h"

#include "platform/environment.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/process.h"
#include "platform/text.h"

#include <archive.h>
#include <filesystem>
#include <lha_decoder.h>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace vokari {
namespace {

const ArchiverAvailability& libraries() {
    static const LibraryArchiverAvailability linked;
    return linked;
}

const ArchiverAvailability*& current() {
    static const ArchiverAvailability* p = &libraries();
    return p;
}

std::vector<fs::path> searchFolders() {
    std::vector<fs::path> folders;
    if (auto exe = platform::executableDirectory(); !exe.empty())
        folders.push_back(exe);
    std::error_code ec;
    if (auto cwd = fs::current_path(ec); !ec)
        folders.push_back(cwd);
    for (auto& dir : platform::pathFolders())
        folders.push_back(std::move(dir));
    return folders;
}

} // namespace

bool LibraryArchiverAvailability::isZipAvailable() const {
    std::unique_ptr<archive, decltype(&archive_read_free)> reader(archive_read_new(),
                                                                  &archive_read_free);
    return reader && archive_read_support_format_zip(reader.get()) == ARCHIVE_OK;
}

bool LibraryArchiverAvailability::isLhaAvailable() const {
    // -lh5- is the method nearly every LHA package of the games' era uses.
    char method[] = "-lh5-";
    return lha_decoder_for_name(method) != nullptr;
}

const ArchiverAvailability& archiverAvailability() {
    return *current();
}

void setArchiverAvailability(const ArchiverAvailability* availability) {
    current() = availability ? availability : &libraries();
}

bool isZipAvailable() {
    return archiverAvailability().isZipAvailable();
}

bool isLhaAvailable() {
    return archiverAvailability().isLhaAvailable();
}

FixedArchiverAvailability::FixedArchiverAvailability(bool zip, bool lha)
    : zip_(zip), lha_(lha), previous_(&archiverAvailability()) {
    setArchiverAvailability(this);
}

FixedArchiverAvailability::~FixedArchiverAvailability() {
    setArchiverAvailability(previous_);
}

bool findOnSearchPath(std::string_view fileName, std::string& folder) {
    folder.clear();
    if (fileName.empty() || fileName.find_first_of("/\\") != std::string_view::npos)
        return false;
    for (const fs::path& dir : searchFolders()) {
        std::error_code ec;
        for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator();
             it.increment(ec)) {
            if (!equalsNoCase(platform::utf8Of(it->path().filename()), fileName))
                continue;
            std::error_code typeEc;
            if (!it->is_regular_file(typeEc))
                continue;
            folder = platform::windowsPath(fs::absolute(dir, typeEc));
            if (folder.empty() || folder.back() != '\\')
                folder.push_back('\\');
            return true;
        }
    }
    return false;
}

} // namespace vokari

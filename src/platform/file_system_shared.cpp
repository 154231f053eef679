#include "platform/file_system_shared.h"

#include "platform/error.h"
#include "platform/folder_listings.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <memory>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace vokari::platform {

bool isWindowsName(std::string_view name) {
    for (const unsigned char c : name)
        if (c < 0x20 ||
            std::string_view("\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    return true;
}

void sortDirEntries(std::vector<DirEntry>& entries) {
    // Without regard to case (lowered bytes compare unsigned, as strings do), then as spelled;
    // no lowered copies, which thousands of entries would make by the hundred thousand.
    const auto lowerLess = [](char x, char y) {
        return static_cast<unsigned char>(asciiLower(x)) <
               static_cast<unsigned char>(asciiLower(y));
    };
    std::sort(entries.begin(), entries.end(), [&](const DirEntry& a, const DirEntry& b) {
        if (std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                         lowerLess))
            return true;
        if (std::lexicographical_compare(b.name.begin(), b.name.end(), a.name.begin(), a.name.end(),
                                         lowerLess))
            return false;
        return a.name < b.name;
    });
}

bool isDirectory(std::string_view path) {
    std::string host;
    if (const auto kind = hostPathKind(path, host))
        return *kind == HostKind::Folder;
    std::error_code ec;
    return fs::is_directory(pathFromUtf8(host), ec);
}

bool isRegularFile(std::string_view path) {
    std::string host;
    if (const auto kind = hostPathKind(path, host))
        return *kind == HostKind::File;
    std::error_code ec;
    return fs::is_regular_file(pathFromUtf8(host), ec);
}

bool deleteFile(std::string_view path) {
    return removeHostFile(hostPath(path));
}

long removeHostTree(const std::string& host, std::vector<std::string>* leftBehind,
                    ReadOnlyFiles readOnly) {
    const long failures = removeTree(host, leftBehind, readOnly);
    if (failures == 0)
        noteRemoved(pathFromUtf8(host));
    else
        noteChanged(pathFromUtf8(host)); // some of it stays
    return failures;
}

void createDirectories(std::string_view path) {
    std::error_code ec;
    const fs::path host = hostPath(path);
    fs::create_directories(host, ec);
    if (ec)
        throw IoError(FileAction::CreateFolder, utf8Of(host), ec.value());
    // Which of them were made is not told: each is a folder now.
    for (fs::path p = host; !p.empty() && p != p.root_path(); p = p.parent_path())
        noteAdded(p, HostKind::Folder);
}

namespace {
constexpr size_t kReadBlock = 256 * 1024;
} // namespace

std::string readFileBytes(std::string_view path) {
    return readHostFile(hostPath(path));
}

std::string readHostFile(const fs::path& host) {
    FileReader file;
    if (const int err = file.open(host))
        throw IoError(FileAction::Read, utf8Of(host), err);
    std::string data;
    if (const int64_t size = file.size(); size > 0)
        data.reserve(static_cast<size_t>(size));
    if (const int err = file.readBlocks([&data](std::string_view block) { data += block; }))
        throw IoError(FileAction::Read, utf8Of(host), err);
    return data;
}

void readFileBlocks(std::string_view path, const std::function<void(std::string_view)>& consume) {
    const fs::path host = hostPath(path);
    FileReader file;
    if (const int err = file.open(host))
        throw IoError(FileAction::Read, utf8Of(host), err);
    if (const int err = file.readBlocks(consume))
        throw IoError(FileAction::Read, utf8Of(host), err);
}

int FileReader::readBlocks(const std::function<void(std::string_view)>& consume) {
    // A small file needs no more room than its size.
    const int64_t known = size();
    const size_t room = known >= 0 && static_cast<uint64_t>(known) < kReadBlock
                            ? static_cast<size_t>(known) + 1
                            : kReadBlock;
    const auto block = std::make_unique<char[]>(room);
    while (true) {
        const int64_t n = read(block.get(), room);
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        consume(std::string_view(block.get(), static_cast<size_t>(n)));
    }
}

namespace {
std::atomic<size_t> leftoverCount{0};
} // namespace

std::string ownStagingPrefix() {
#ifdef _WIN32
    const int pid = ::_getpid();
#else
    const int pid = static_cast<int>(::getpid());
#endif
    return ".vokari-" + std::to_string(pid) + "-";
}

std::string stagingName() {
    static std::atomic<unsigned> counter{0};
    return ownStagingPrefix() + std::to_string(++counter);
}

bool isStagingName(std::string_view name) {
    if (name.starts_with(".vokari-"))
        return true;
    // NAME.vokari-XXXXXX, as mkstemp filled it in
    constexpr std::string_view mark = ".vokari-";
    return name.size() > mark.size() + 6 &&
           name.substr(name.size() - 6 - mark.size(), mark.size()) == mark;
}

void countLeftoversRemoved(size_t count) {
    leftoverCount += count;
}

size_t leftoversRemoved() {
    return leftoverCount;
}

void writeFileAtomic(std::string_view path, std::string_view bytes) {
    AtomicFileWriter file(hostPath(path));
    file.write(bytes);
    file.commit();
}

std::optional<FileStamp> fileStamp(std::string_view path) {
    return hostFileStamp(hostPath(path));
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    // Iterative wildcard match with one backtrack point: linear enough for file names.
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || asciiLower(pattern[p]) == asciiLower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '.'))
        ++p; // "*.*" and "name.*" also match names without a dot, as on Windows
    return p == pattern.size();
}

} // namespace vokari::platform

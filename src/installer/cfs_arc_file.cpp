#include "installer/cfs_arc_file.h"

#include "common/file_helpers.h"
#include "installer/cfs_arc_list.h"
#include "platform/file_system.h"
#include "platform/folder_listings.h"
#include "platform/local_time.h"
#include "platform/text.h"

#include <ctime>

namespace vokari {

namespace {
std::string asciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}
} // namespace

LocalDateTime LocalDateTime::now() {
    // Every new entry asks; the time zone lookup behind localtime is worth doing once a second.
    thread_local std::time_t last = -1;
    thread_local LocalDateTime value;
    const std::time_t t = std::time(nullptr);
    if (t != last) {
        std::tm local{};
        platform::localTime(t, local);
        value = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                 local.tm_hour,        local.tm_min,     local.tm_sec};
        last = t;
    }
    return value;
}

LocalDateTime LocalDateTime::fromDos(uint16_t dosDate, uint16_t dosTime) {
    return {1980 + (dosDate >> 9), (dosDate >> 5) & 0x0F, dosDate & 0x1F,
            dosTime >> 11,         (dosTime >> 5) & 0x3F, (dosTime & 0x1F) * 2};
}

namespace {
int64_t localToUnix(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1; // as the clock showed it then
    return static_cast<int64_t>(std::mktime(&local));
}
} // namespace

int64_t LocalDateTime::toUnixTime() const {
    // mktime reads the time zone's file again at every call: the start of an hour is asked
    // once, and a time within it is taken from there when localtime shows it back unchanged.
    thread_local LocalDateTime hourAsked{-1, 0, 0, 0, 0, 0};
    thread_local int64_t hourStart = 0;
    if (hourAsked.year != year || hourAsked.month != month || hourAsked.day != day ||
        hourAsked.hour != hour) {
        hourAsked = {year, month, day, hour, 0, 0};
        hourStart = localToUnix(year, month, day, hour, 0, 0);
    }
    const int64_t t = hourStart + minute * 60 + second;
    std::tm back{};
    if (minute >= 0 && minute < 60 && second >= 0 && second < 60 && hourStart != -1 &&
        platform::localTime(static_cast<std::time_t>(t), back) && back.tm_year == year - 1900 &&
        back.tm_mon == month - 1 && back.tm_mday == day && back.tm_hour == hour &&
        back.tm_min == minute && back.tm_sec == second)
        return t;
    return localToUnix(year, month, day, hour, minute, second); // the clock changed, or odd
}

CfsArcFile::CfsArcFile() : modifyDate_(LocalDateTime::now()) {}

void CfsArcFile::setFullPath(std::string_view path) {
    std::string folder;
    std::string name;
    splitPath(path, folder, name, "/");
    arrayPath.clear();
    if (!folder.empty()) {
        const std::string_view inner(folder.data(), folder.size() - 1);
        size_t start = 0;
        while (true) {
            const size_t hit = inner.find('\\', start);
            arrayPath.emplace_back(
                inner.substr(start, hit == std::string_view::npos ? hit : hit - start));
            if (hit == std::string_view::npos)
                break;
            start = hit + 1;
        }
    }
    filePath_ = folder;
    fullPath_ = std::string(path);
    fileName_ = name;
    if (!name.empty()) {
        extention_ = asciiUpper(fileExtension(name));
        isFolder_ = false;
        isArchive_ = extention_ == "LZH" || extention_ == "EXE" || extention_ == "ZIP";
    } else {
        extention_.clear();
        isFolder_ = true;
    }
}

bool CfsArcFile::exists() const {
    if (!parentArcList || fileName_.empty())
        return false;
    // Found as unpacking finds it: the literal name, hidden or not, without regard to case.
    const std::string folder = parentArcList->cfsPath() + installPath_;
    if (platform::isRegularFile(folder + fileName_))
        return true;
    // A switched-off aircraft's file is the one this entry replaces.
    const std::string_view twin = aircraftFileTwin(fileName_);
    return !twin.empty() && isAircraftOwnFolder(installPath_) &&
           platform::isRegularFile(folder + std::string(twin));
}

std::vector<bool> existingFiles(const std::vector<const CfsArcFile*>& entries) {
    const platform::ListingScope listings;
    std::vector<bool> found;
    found.reserve(entries.size());
    for (const CfsArcFile* entry : entries)
        found.push_back(entry->exists());
    return found;
}

} // namespace vokari

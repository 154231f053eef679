#include "frame/installation.h"

#include "common/directory_tree.h"
#include "platform/codepage.h"
#include "platform/environment.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/process.h"
#include "platform/registry.h"

#include <atomic>
#include <filesystem>
#include <iostream>
#include <string_view>

namespace vokari {

std::string gameRegistryKey(int16_t version) {
    switch (version) {
    case kGameCfs1:
        return "SOFTWARE\\Microsoft\\Microsoft Games\\Combat Flight Simulator\\1.00";
    case kGameCfs2:
        return "SOFTWARE\\Microsoft\\Microsoft Games\\Combat Flight Simulator\\2.0";
    default:
        return {};
    }
}

namespace {

bool readRegistryTextFrom(platform::RegistrySource& source, uint32_t hive, std::string_view keyPath,
                          std::string_view valueName, std::string& value) {
    value.clear();
    try {
        auto text = source.readText(hive, keyPath, valueName);
        if (!text)
            return false;
        // The value must fit the 1024-byte buffer with its terminating zero.
        if (platform::utf8ToAnsi(*text).size() + 1 > 1024)
            return false;
        value = std::move(*text);
        return true;
    } catch (const std::exception&) {
        value.clear();
        return false;
    }
}

} // namespace

bool readRegistryText(uint32_t hive, std::string_view keyPath, std::string_view valueName,
                      std::string& value) {
    return readRegistryTextFrom(platform::registry(), hive, keyPath, valueName, value);
}

std::string gameFolderIn(platform::RegistrySource& source, int16_t version) {
    const std::string key = gameRegistryKey(version);
    if (key.empty())
        return {};
    std::string value;
    if (!readRegistryTextFrom(source, platform::kHkeyLocalMachine, key, "InstalledTo", value))
        return {};
    // Nothing, or the root of a drive, would make every tool work on the whole drive (Wine
    // maps an empty path to the file system's root): no game is installed there.
    std::string_view core = value;
    while (!core.empty() && (core.back() == '\\' || core.back() == '/' || core.back() == ' '))
        core.remove_suffix(1);
    if (core.empty() || (core.size() == 2 && core[1] == ':')) {
        static std::atomic<bool> told[3] = {};
        if (version >= 1 && version <= 2 && !told[version].exchange(true))
            std::cerr << "vokari: game " << version << " is registered at \"" << value
                      << "\", the root of a drive; it is taken as not installed\n";
        return {};
    }
    return value + "\\";
}

std::string gameFolder(int16_t version) {
    return gameFolderIn(platform::registry(), version);
}

std::string aircraftFolderName() {
    return "Aircraft\\";
}

std::string quickCombatFileName() {
    return "QuickCom\\qc_plane.qcb";
}

std::string tempDirectory() {
    const std::string host = platform::utf8Of(platform::hostTempDirectory());
    // TEMP may already be a Windows path (set for Wine); take it as it stands.
    std::string windows = (host.size() >= 2 && host[1] == ':') ? host : platform::windowsPath(host);
    if (windows.empty() || windows.back() != '\\')
        windows += '\\';
    return windows;
}

std::string workDirectory() {
    // In a temp folder every user shares, a fixed name would be the first user's for good.
    if (platform::isSharedDirectory(platform::hostTempDirectory()))
        return tempDirectory() + "vokaritmp-" + platform::currentUserId() + "\\";
    return tempDirectory() + "vokaritmp\\";
}

std::string ensureWorkDirectory() {
    const std::string dir = workDirectory();
    platform::ensurePrivateDirectory(platform::hostPath(dir));
    return dir;
}

int removeWorkDirectory() {
    std::string dir = workDirectory();
    dir.pop_back();
    const std::filesystem::path host = platform::hostPath(dir);
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(host, ec)))
        return 0;
    if (!platform::isOwnPlainDirectory(host))
        return 1;
    return removeDirectoryTree(dir);
}

bool runSystemInfo() {
    return platform::startSystemInfoProgram();
}

} // namespace vokari

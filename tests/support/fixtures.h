#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// At the top of a test about POSIX itself (links, modes, signals, Wine prefixes): on Windows
// the test is skipped and says so, never left out unseen.
#ifdef _WIN32
#define VOKARI_POSIX_ONLY(reason) GTEST_SKIP() << "about POSIX: " reason
#else
#define VOKARI_POSIX_ONLY(reason) static_cast<void>(0)
#endif

namespace vokari::platform {
class WineRegistry;
}

namespace vokari::test {

// A fresh temporary folder, removed with everything in it when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Writes bytes to a host file, creating its folders.
void writeFile(const std::filesystem::path& file, std::string_view bytes);
std::string readFile(const std::filesystem::path& file);

// Read-only as the games' installers leave some files (chmod 0444 here; the read-only attribute
// on Windows).
void makeReadOnly(const std::filesystem::path& file);
// Hidden as Windows hides it. A name that starts with "." is hidden already on POSIX; on Windows
// the file gets the hidden attribute.
void makeHidden(const std::filesystem::path& file);

// CP932 bytes of a UTF-8 text (test data in the games' encoding).
std::string sjis(std::string_view utf8);

// Sets an environment variable for the life of the object, then puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value);
    ~ScopedEnv();

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A folder that looks like a Wine prefix (system.reg, drive_c), not made the current one; the
// given game versions are installed in its registry.
void makeWinePrefix(const std::filesystem::path& folder, const std::vector<int>& games = {});

// Files may not grow past `bytes` while it lives: a write past it fails as on a full disk
// (SIGXFSZ is ignored meanwhile). POSIX only: on Windows it limits nothing, and a test that
// needs it is marked VOKARI_POSIX_ONLY.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long oldLimit_ = 0;
    void (*oldSignal_)(int) = nullptr;
};

// A Wine-style prefix in a temporary folder (drive_c, dosdevices/c:, system.reg), made the
// prefix every lookup uses while it lives. VOKARI_INI, TEMP and XDG_DATA_HOME point into it
// too, so no test touches the real home folder. On Windows, where C: is the machine's own
// drive, the games live under drive_c all the same (name them with winPath), the registry is
// read from this system.reg, and TMP, LOCALAPPDATA and APPDATA point into the folder.
class TestPrefix {
public:
    TestPrefix();
    ~TestPrefix();
    const std::filesystem::path& root() const { return dir_.path(); }
    std::filesystem::path driveC() const { return dir_.path() / "drive_c"; }
    std::filesystem::path settingsFile() const { return dir_.path() / "VOKARI.INI"; }
    std::filesystem::path temp() const { return dir_.path() / "temp"; }

    // Installs a game: writes its InstalledTo (a Windows path on drive C:, through winPath) into
    // system.reg and creates its folder. `wow64` puts the key under Software\Wow6432Node.
    std::filesystem::path installGame(int version, const std::string& windowsFolder,
                                      bool wow64 = false);
    // Replaces system.reg with the given text.
    void writeSystemReg(std::string_view text);

private:
    TempDir dir_;
    std::string reg_;
    ScopedEnv ini_;
    ScopedEnv temp_;
    ScopedEnv data_; // the change journal's home
    TestPrefix* outer_;
#ifdef _WIN32
    ScopedEnv tmp_;
    ScopedEnv localData_;
    ScopedEnv roamingData_;
    std::unique_ptr<platform::WineRegistry> registry_;
#endif
};

// The Windows path a test names a file of its own games by, written as on drive C:
// ("C:\\Games\\CFS2\\cfs2.cfg"). On Linux the prefix maps C:, so it is the path as given; on
// Windows C: is the machine's own drive, so it is the same path under the live TestPrefix's
// drive_c folder. Paths on other drives, and any path while no TestPrefix lives, stay as given.
std::string winPath(std::string_view path);

} // namespace vokari::test

#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// (SIGXFSZ is ignored meanwhile).
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
// too, so no test touches the real home folder.
class TestPrefix {
public:
    TestPrefix();
    ~TestPrefix();
    const std::filesystem::path& root() const { return dir_.path(); }
    std::filesystem::path driveC() const { return dir_.path() / "drive_c"; }
    std::filesystem::path settingsFile() const { return dir_.path() / "VOKARI.INI"; }
    std::filesystem::path temp() const { return dir_.path() / "temp"; }

    // Installs a game: writes its InstalledTo (a Windows path on drive C:) into system.reg and
    // creates its folder. `wow64` puts the key under Software\Wow6432Node.
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
};

} // namespace vokari::test

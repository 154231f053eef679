#include "support/fixtures.h"

#include "platform/codepage.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/text.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#endif

namespace fs = std::filesystem;

namespace vokari::test {

namespace {

// The prefix winPath maps drive C: into on Windows.
TestPrefix* livePrefix = nullptr;

#ifdef _WIN32
std::wstring wide(std::string_view utf8) {
    return platform::pathFromUtf8(utf8).native();
}
#endif

} // namespace

TempDir::TempDir() {
#ifdef _WIN32
    // No mkdtemp: a random name, taken only when create_directory made it.
    std::random_device random;
    for (int attempt = 0; path_.empty(); ++attempt) {
        if (attempt == 100)
            throw std::runtime_error("cannot make a temporary folder");
        const fs::path folder =
            fs::temp_directory_path() / ("vokari-test-" + std::to_string(random() % 1000000000));
        std::error_code ec;
        if (fs::create_directory(folder, ec))
            path_ = fs::canonical(folder);
    }
#else
    std::string pattern = (fs::temp_directory_path() / "vokari-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = fs::canonical(pattern);
#endif
}

TempDir::~TempDir() {
    std::error_code ec;
    // Give back write bits taken by tests, so everything can go.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
         it.increment(ec))
        if (!it->is_symlink())
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

void writeFile(const fs::path& file, std::string_view bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + platform::utf8Of(file));
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + platform::utf8Of(file));
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void makeReadOnly(const fs::path& file) {
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

void makeHidden([[maybe_unused]] const fs::path& file) {
#ifdef _WIN32
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        !::SetFileAttributesW(file.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN))
        throw std::runtime_error("cannot hide " + platform::utf8Of(file));
#endif
}

std::string sjis(std::string_view utf8) {
    return platform::utf8ToAnsi(utf8);
}

namespace {

// Values are UTF-8 on both systems; Windows keeps its environment in UTF-16.
#ifdef _WIN32
std::optional<std::string> getEnv(const std::string& name) {
    if (const wchar_t* value = ::_wgetenv(wide(name).c_str()))
        return platform::utf8Of(fs::path(value));
    return std::nullopt;
}

void setEnv(const std::string& name, const std::optional<std::string>& value) {
    // An empty value removes the variable.
    ::_wputenv_s(wide(name).c_str(), value ? wide(*value).c_str() : L"");
}
#else
std::optional<std::string> getEnv(const std::string& name) {
    if (const char* value = std::getenv(name.c_str()))
        return std::string(value);
    return std::nullopt;
}

void setEnv(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}
#endif

std::string inPrefix(const TempDir& dir, const char* name) {
    return platform::utf8Of(dir.path() / name);
}

} // namespace

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value)
    : name_(name), old_(getEnv(name)) {
    setEnv(name_, value);
}

ScopedEnv::~ScopedEnv() {
    setEnv(name_, old_);
}

TestPrefix::TestPrefix()
    : ini_("VOKARI_INI", inPrefix(dir_, "VOKARI.INI")), temp_("TEMP", inPrefix(dir_, "temp")),
      data_("XDG_DATA_HOME", inPrefix(dir_, "data")), outer_(livePrefix)
#ifdef _WIN32
      ,
      tmp_("TMP", inPrefix(dir_, "temp")), localData_("LOCALAPPDATA", inPrefix(dir_, "data")),
      roamingData_("APPDATA", inPrefix(dir_, "appdata")),
      registry_(std::make_unique<platform::WineRegistry>(dir_.path() / "system.reg"))
#endif
{
    fs::create_directories(driveC());
    fs::create_directories(temp());
    writeSystemReg("WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n");
#ifdef _WIN32
    fs::create_directories(dir_.path() / "data");
    fs::create_directories(dir_.path() / "appdata");
    platform::setRegistrySource(registry_.get());
#else
    fs::create_directories(dir_.path() / "dosdevices");
    fs::create_symlink("../drive_c", dir_.path() / "dosdevices" / "c:");
    platform::setWinePrefixOverride(dir_.path());
    platform::setRegistrySource(nullptr);
#endif
    platform::clearProfileCache();
    livePrefix = this;
}

// A prefix made inside another gives the outer one back.
TestPrefix::~TestPrefix() {
    livePrefix = outer_;
#ifdef _WIN32
    platform::setRegistrySource(outer_ ? outer_->registry_.get() : nullptr);
#else
    platform::setWinePrefixOverride(outer_ ? std::optional(outer_->root()) : std::nullopt);
#endif
    platform::clearProfileCache();
}

std::string winPath(std::string_view path) {
#ifdef _WIN32
    if (livePrefix && path.size() >= 2 && (path[0] == 'C' || path[0] == 'c') && path[1] == ':')
        return platform::utf8Of(livePrefix->driveC()) + std::string(path.substr(2));
#endif
    return std::string(path);
}

void TestPrefix::writeSystemReg(std::string_view text) {
    reg_ = std::string(text);
    writeFile(dir_.path() / "system.reg", reg_);
}

#ifdef _WIN32
FileSizeLimit::FileSizeLimit(unsigned long long) {}

FileSizeLimit::~FileSizeLimit() = default;
#else
FileSizeLimit::FileSizeLimit(unsigned long long bytes) {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    oldLimit_ = limit.rlim_cur;
    oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(oldLimit_);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldSignal_);
}
#endif

void makeWinePrefix(const fs::path& folder, const std::vector<int>& games) {
    std::string reg = "WINE REGISTRY Version 2\n";
    for (int version : games) {
        reg += std::string("\n[Software\\\\Microsoft\\\\Microsoft Games\\\\Combat Flight "
                           "Simulator\\\\") +
               (version == 1 ? "1.00" : "2.0") +
               "] 1700000000\n\"InstalledTo\"=\"C:\\\\Games\\\\CFS" + std::to_string(version) +
               "\"\n";
    }
    writeFile(folder / "system.reg", reg);
    fs::create_directories(folder / "drive_c");
    fs::create_directories(folder / "dosdevices");
    std::error_code ec;
    fs::create_directory_symlink("../drive_c", folder / "dosdevices/c:", ec);
}

fs::path TestPrefix::installGame(int version, const std::string& windowsFolder, bool wow64) {
    const std::string key =
        version == 1 ? "Combat Flight Simulator\\\\1.00" : "Combat Flight Simulator\\\\2.0";
    const std::string folder = winPath(windowsFolder);
    std::string escapedFolder = replaceAll(folder, "\\", "\\\\");
    reg_ += "\n[Software\\\\" + std::string(wow64 ? "Wow6432Node\\\\" : "") +
            "Microsoft\\\\Microsoft Games\\\\" + key + "] 1700000000\n#time=1d\n" +
            "\"InstalledTo\"=\"" + escapedFolder + "\"\n";
    writeFile(dir_.path() / "system.reg", reg_);
    const fs::path host = platform::hostPath(folder);
    fs::create_directories(host);
    return host;
}

} // namespace vokari::test

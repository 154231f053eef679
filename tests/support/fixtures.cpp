#include "support/fixtures.h"

#include <csignal>
#include <sys/resource.h>

#include "platform/codepage.h"
#include "platform/host_paths.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/text.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vokari::test {

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "vokari-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = fs::canonical(pattern);
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
        throw std::runtime_error("cannot write " + file.string());
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string sjis(std::string_view utf8) {
    return platform::utf8ToAnsi(utf8);
}

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name))
        old_ = old;
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        ::setenv(name_.c_str(), old_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

TestPrefix::TestPrefix()
    : ini_("VOKARI_INI", (dir_.path() / "VOKARI.INI").string()),
      temp_("TEMP", (dir_.path() / "temp").string()),
      data_("XDG_DATA_HOME", (dir_.path() / "data").string()) {
    fs::create_directories(driveC());
    fs::create_directories(temp());
    fs::create_directories(dir_.path() / "dosdevices");
    fs::create_symlink("../drive_c", dir_.path() / "dosdevices" / "c:");
    writeSystemReg("WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n");
    platform::setWinePrefixOverride(dir_.path());
    platform::setRegistrySource(nullptr);
    platform::clearProfileCache();
}

TestPrefix::~TestPrefix() {
    platform::setWinePrefixOverride(std::nullopt);
    platform::clearProfileCache();
}

void TestPrefix::writeSystemReg(std::string_view text) {
    reg_ = std::string(text);
    writeFile(dir_.path() / "system.reg", reg_);
}

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
    std::string escapedFolder = replaceAll(windowsFolder, "\\", "\\\\");
    reg_ += "\n[Software\\\\" + std::string(wow64 ? "Wow6432Node\\\\" : "") +
            "Microsoft\\\\Microsoft Games\\\\" + key + "] 1700000000\n#time=1d\n" +
            "\"InstalledTo\"=\"" + escapedFolder + "\"\n";
    writeFile(dir_.path() / "system.reg", reg_);
    const fs::path host = platform::hostPath(windowsFolder);
    fs::create_directories(host);
    return host;
}

} // namespace vokari::test

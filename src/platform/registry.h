#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vokari::platform {

inline constexpr uint32_t kHkeyLocalMachine = 0x80000002;

// Where registry values come from. Only string values are read.
class RegistrySource {
public:
    virtual ~RegistrySource() = default;
    // The string value `valueName` ("" for the default value) of `keyPath` under `hive`, as
    // UTF-8; nothing when the key or value is missing or is not a string.
    virtual std::optional<std::string> readText(uint32_t hive, std::string_view keyPath,
                                                std::string_view valueName) = 0;
};

// A Wine prefix's system.reg (HKEY_LOCAL_MACHINE). Key paths compare without regard to case; a
// key under Software\ is looked for under Software\Wow6432Node\ first, as a 32-bit program sees
// it. A missing or broken file holds no keys. Parsed once per change of the file.
class WineRegistry : public RegistrySource {
public:
    // `systemReg` is asked at every read, so the prefix may change between reads.
    explicit WineRegistry(std::optional<std::filesystem::path> systemReg = std::nullopt);
    ~WineRegistry() override;
    std::optional<std::string> readText(uint32_t hive, std::string_view keyPath,
                                        std::string_view valueName) override;

private:
    struct Cache;
    std::optional<std::filesystem::path> file_;
    std::unique_ptr<Cache> cache_;
};

#ifdef _WIN32
// The system's registry through advapi32, in the 32-bit view the games' installers wrote: a
// key under Software\ is read from the 32-bit view first, then from the 64-bit one; a key
// named under Software\Wow6432Node\ is read as named.
class WindowsRegistry : public RegistrySource {
public:
    std::optional<std::string> readText(uint32_t hive, std::string_view keyPath,
                                        std::string_view valueName) override;
};
#endif

// This system's registry: the current prefix's system.reg, or on Windows the real one.
RegistrySource& systemRegistry();

// The source every reader uses: systemRegistry() unless a test sets another.
RegistrySource& registry();
void setRegistrySource(RegistrySource* source); // nullptr restores the prefix's

// Wine's escapes in system.reg strings (\\, \", \n-style, octal, \x up to four hex digits per
// UTF-16 unit) decoded to UTF-8; raw UTF-8 passes through. Exposed for tests.
std::string unescapeWineString(std::string_view escaped);

} // namespace vokari::platform

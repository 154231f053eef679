#include "platform/registry.h"

#include "platform/text.h"
#include "platform/windows_api.h"

#include <vector>
#include <windows.h>

namespace vokari::platform {
namespace {

std::optional<HKEY> hiveKey(uint32_t hive) {
    switch (hive) {
    case 0x80000000:
        return HKEY_CLASSES_ROOT;
    case 0x80000001:
        return HKEY_CURRENT_USER;
    case kHkeyLocalMachine:
        return HKEY_LOCAL_MACHINE;
    case 0x80000003:
        return HKEY_USERS;
    default:
        return std::nullopt;
    }
}

// The string value of `key` in one view of the registry; nothing when the key or value is
// missing or holds another type.
std::optional<std::string> readInView(HKEY hive, const std::wstring& key, const std::wstring& name,
                                      REGSAM view) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(hive, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> text;
    std::vector<wchar_t> buffer(256);
    while (true) {
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LONG rc = ::RegQueryValueExW(opened, name.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (rc == ERROR_MORE_DATA) {
            buffer.resize(size / sizeof(wchar_t) + 1);
            continue;
        }
        if (rc == ERROR_SUCCESS && type == REG_SZ) {
            // The stored size may or may not count a closing null, and an odd byte is no
            // character.
            size_t length = size / sizeof(wchar_t);
            while (length > 0 && buffer[length - 1] == L'\0')
                --length;
            text = utf8FromWide(std::wstring_view(buffer.data(), length));
        }
        break;
    }
    ::RegCloseKey(opened);
    return text;
}

} // namespace

std::optional<std::string> WindowsRegistry::readText(uint32_t hive, std::string_view keyPath,
                                                     std::string_view valueName) {
    const auto root = hiveKey(hive);
    if (!root)
        return std::nullopt;
    while (!keyPath.empty() && keyPath.front() == '\\')
        keyPath.remove_prefix(1);
    const std::wstring key = wideFromUtf8(keyPath);
    const std::wstring name = wideFromUtf8(valueName);
    const std::string folded = asciiLower(keyPath);
    // As a 32-bit program sees it first, as the prefix's reader does; a key outside the
    // redirected part reads the same in both views.
    if (folded.rfind("software\\wow6432node\\", 0) != 0) {
        if (auto text = readInView(*root, key, name, KEY_WOW64_32KEY))
            return text;
    }
    return readInView(*root, key, name, KEY_WOW64_64KEY);
}

RegistrySource& systemRegistry() {
    static WindowsRegistry windowsRegistry;
    return windowsRegistry;
}

} // namespace vokari::platform

#include "platform/environment.h"

#include "platform/error.h"
#include "platform/path_text.h"
#include "platform/windows_api.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

std::optional<fs::path> env(const wchar_t* name) {
    const wchar_t* value = ::_wgetenv(name);
    if (!value || !*value)
        return std::nullopt;
    return fs::path(value);
}

// A folder of the user's profile (CSIDL_APPDATA, CSIDL_LOCAL_APPDATA) when its variable is
// unset.
fs::path knownFolder(const wchar_t* variable, int csidl) {
    if (auto folder = env(variable))
        return *folder;
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return fs::path(path);
    return hostTempDirectory();
}

// The current user's SID, in a buffer of the token's information; nothing when the token
// cannot be read.
std::unique_ptr<char[]> tokenUser() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return nullptr;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    auto buffer = std::make_unique<char[]>(size ? size : 1);
    const bool read = size && ::GetTokenInformation(token, TokenUser, buffer.get(), size, &size);
    ::CloseHandle(token);
    return read ? std::move(buffer) : nullptr;
}

DWORD attributesOf(const fs::path& folder) {
    return ::GetFileAttributesW(folder.c_str());
}

} // namespace

fs::path hostTempDirectory() {
    if (auto temp = env(L"TEMP"))
        return *temp;
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, path);
    std::wstring text(path, n <= MAX_PATH ? n : 0);
    while (text.size() > 3 && (text.back() == L'\\' || text.back() == L'/'))
        text.pop_back();
    return text.empty() ? fs::path(L"C:\\Windows\\Temp") : fs::path(text);
}

fs::path userDataDirectory() {
    return knownFolder(L"LOCALAPPDATA", CSIDL_LOCAL_APPDATA) / L"Vokari";
}

fs::path userConfigDirectory() {
    return knownFolder(L"APPDATA", CSIDL_APPDATA) / L"Vokari";
}

fs::path runtimeDirectory() {
    // The temp folder is the user's own on Windows.
    return hostTempDirectory();
}

fs::path executableDirectory() {
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD n =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return fs::path(std::wstring(buffer.data(), n)).parent_path();
        buffer.resize(buffer.size() * 2);
    }
}

std::string currentUserId() {
    if (const auto user = tokenUser()) {
        wchar_t* text = nullptr;
        const auto* info = reinterpret_cast<const TOKEN_USER*>(user.get());
        if (::ConvertSidToStringSidW(info->User.Sid, &text)) {
            std::string id = utf8FromWide(text);
            ::LocalFree(text);
            return id;
        }
    }
    wchar_t name[257] = {};
    DWORD size = 257;
    if (::GetUserNameW(name, &size) && size > 1)
        return utf8FromWide(std::wstring_view(name, size - 1));
    return "user";
}

bool isWritableDirectory(const fs::path& folder) {
    if (folder.empty())
        return false;
    const DWORD attributes = attributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // The folder's rights are a list of rules, and a read-only mark on a folder means nothing:
    // only making a file tells. The file goes when its handle closes.
    const fs::path probe =
        folder / (L".vokari-" + std::to_wstring(::GetCurrentProcessId()) + L"-probe");
    const HANDLE file = ::CreateFileW(
        probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_EXISTS;
    ::CloseHandle(file);
    return true;
}

bool isSharedDirectory(const fs::path& folder) {
    // Each user has a temp folder of their own inside their profile; a folder outside it (the
    // system's temp folder, a drive's root and the folders made in it) may be written to by
    // others as well. A folder that is not there is no one's, as on POSIX.
    const DWORD attributes = attributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const auto profile = env(L"USERPROFILE");
    if (!profile)
        return true;
    std::error_code ec;
    std::wstring own = fs::absolute(*profile, ec).lexically_normal().native();
    std::wstring target = fs::absolute(folder, ec).lexically_normal().native();
    if (ec)
        return true;
    ::CharLowerBuffW(own.data(), static_cast<DWORD>(own.size()));
    ::CharLowerBuffW(target.data(), static_cast<DWORD>(target.size()));
    while (!own.empty() && own.back() == L'\\')
        own.pop_back();
    const bool inside =
        target.size() > own.size() && target.rfind(own, 0) == 0 && target[own.size()] == L'\\';
    return !inside;
}

bool isOwnPlainDirectory(const fs::path& folder) {
    const DWORD attributes = attributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    // The user, or a group the user acts as (an administrator's folders belong to the
    // Administrators group).
    BOOL member = FALSE;
    const auto user = tokenUser();
    const bool own =
        (user && ::EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(user.get())->User.Sid)) ||
        (::CheckTokenMembership(nullptr, owner, &member) && member);
    ::LocalFree(descriptor);
    return own;
}

void ensurePrivateDirectory(const fs::path& folder) {
    if (attributesOf(folder) == INVALID_FILE_ATTRIBUTES) {
        std::error_code ec;
        fs::create_directories(folder.parent_path(), ec);
        if (!::CreateDirectoryW(folder.c_str(), nullptr) &&
            attributesOf(folder) == INVALID_FILE_ATTRIBUTES)
            throw IoError(FileAction::CreateFolder, utf8Of(folder), lastErrno());
    }
    // A link, not a folder, or another user's: never used.
    if (!isOwnPlainDirectory(folder))
        throw IoError(FileAction::Use, utf8Of(folder), EPERM);
}

} // namespace vokari::platform

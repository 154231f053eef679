#include "frame/launcher_state.h"

#include "frame/settings_file.h"
#include "platform/profile.h"
#include "platform/text.h"

#include <charconv>
#include <limits>
#include <string>

namespace vokari {
namespace {

constexpr std::string_view kSection = "FrmVokari";
constexpr std::string_view kKey = "SELECTED_CFS_VERSION";

} // namespace

LauncherChoice launcherChoice(bool cfs1Installed, bool cfs2Installed, int16_t savedVersion) {
    LauncherChoice choice;
    if (!cfs1Installed && !cfs2Installed) {
        choice.anyInstalled = false;
        return choice;
    }
    if (!cfs1Installed) {
        choice.cfs1Enabled = false;
        choice.copyEnabled = false;
        choice.selected = 2;
    } else if (!cfs2Installed) {
        choice.cfs2Enabled = false;
        choice.copyEnabled = false;
        choice.selected = 1;
    }
    if (savedVersion == 1 && cfs1Installed)
        choice.selected = 1;
    else if (savedVersion == 2 && cfs2Installed)
        choice.selected = 2;
    return choice;
}

int16_t readSavedVersion() {
    std::string text;
    try {
        text = platform::readIniString(kSection, kKey, "1", settingsFilePath());
    } catch (...) {
        return 1; // an unreadable settings file is a first start
    }
    const std::string_view t = trimView(text);
    int value = 0;
    const char* begin = t.data();
    if (!t.empty() && *begin == '+')
        ++begin;
    const auto result = std::from_chars(begin, t.data() + t.size(), value);
    if (t.empty() || result.ec != std::errc() || result.ptr != t.data() + t.size() ||
        value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        return 0;
    return static_cast<int16_t>(value);
}

void writeSavedVersion(int16_t version) {
    writeSetting(kSection, kKey, std::to_string(version));
}

} // namespace vokari

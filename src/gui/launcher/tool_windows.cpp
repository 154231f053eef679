#include "gui/launcher/tool_windows.h"

#include "gui/aircraft/aircraft_enabler_window.h"
#include "gui/aircraft/alias_setting_window.h"
#include "gui/copy/cfs_copy_files_window.h"
#include "gui/gameconfig/cfs_setting_window.h"
#include "gui/history/history_window.h"
#include "gui/installer/arc_install_window.h"
#include "gui/quickcombat/qc_edit_window.h"

namespace vokari::ui {
namespace {

using MakeToolWindow = std::unique_ptr<QDialog> (*)(int16_t version, QWidget* launcher);

template <class Window> std::unique_ptr<QDialog> makeWindow(int16_t version, QWidget* launcher) {
    return std::make_unique<Window>(version, launcher);
}

struct ToolWindowEntry {
    LauncherTool tool;
    MakeToolWindow make;
};

// One line per tool of kLauncherToolTable (frame/startup.h), with its window's header included
// above. A tool without a line is not built yet: the launcher opens nothing for it.
constexpr ToolWindowEntry kToolWindows[] = {
    {LauncherTool::Enabler, &makeWindow<AircraftEnablerWindow>},
    {LauncherTool::Alias, &makeWindow<AliasSettingWindow>},
    {LauncherTool::QuickCombat, &makeWindow<QcEditWindow>},
    {LauncherTool::Install, &makeWindow<ArcInstallWindow>},
    {LauncherTool::Settings, &makeWindow<CfsSettingWindow>},
    {LauncherTool::Copy, &makeWindow<CfsCopyFilesWindow>},
    {LauncherTool::History, &makeWindow<HistoryWindow>},
};

MakeToolWindow makerOf(LauncherTool tool) {
    for (const auto& entry : kToolWindows) {
        if (entry.tool == tool)
            return entry.make;
    }
    return nullptr;
}

} // namespace

std::unique_ptr<QDialog> createToolWindow(LauncherTool tool, int16_t version, QWidget* launcher) {
    const MakeToolWindow make = makerOf(tool);
    return make ? make(version, launcher) : nullptr;
}

bool toolWindowExists(LauncherTool tool) {
    return makerOf(tool) != nullptr;
}

} // namespace vokari::ui

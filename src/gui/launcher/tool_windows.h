#pragma once

#include "frame/startup.h"

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>

// The window each launcher tool opens.
namespace vokari::ui {

using ToolWindowFactory =
    std::function<std::unique_ptr<QDialog>(LauncherTool tool, int16_t version, QWidget* launcher)>;

// The window of `tool` for game `version` (the launcher's selectedCfsVersion()), a child of
// `launcher`; nullptr when the tool is not built yet.
std::unique_ptr<QDialog> createToolWindow(LauncherTool tool, int16_t version, QWidget* launcher);

// Whether createToolWindow has a window for `tool`.
bool toolWindowExists(LauncherTool tool);

} // namespace vokari::ui

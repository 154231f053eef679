#pragma once

#include "platform/instance_lock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What happens before the launcher appears: the command line of `vokari` and the single
// running copy.
namespace vokari {

// The six tools of the launcher, in the order of its buttons.
enum class LauncherTool { Enabler, Alias, QuickCombat, Install, Settings, Copy };
inline constexpr LauncherTool kLauncherTools[] = {LauncherTool::Enabler,     LauncherTool::Alias,
                                                  LauncherTool::QuickCombat, LauncherTool::Install,
                                                  LauncherTool::Settings,    LauncherTool::Copy};

// The tool's name on the command line: settings, enabler, alias, qc, install, copy.
std::string_view launcherToolName(LauncherTool tool);
std::optional<LauncherTool> launcherToolFromName(std::string_view name);

struct StartOptions {
    bool help = false;
    bool version = false;
    bool demo = false; // also set by --demo-reset
    bool demoReset = false;
    std::optional<LauncherTool> openTool;
    std::string openFile;                // --open install PACKAGE: the package, as given
    std::optional<std::string> language; // --lang ja|en
};

// Reads --help, --demo, --demo-reset, --open TOOL (install may be followed by a package to
// open) and --lang ja|en. Other arguments that do not begin with "--" are left to the window
// toolkit (-platform, -style ...). Throws ArgumentError.
StartOptions parseStartOptions(const std::vector<std::string>& args);
std::string startUsage();

// Where the window toolkit would open its windows, as far as the command line and the
// environment tell.
struct DisplayChoice {
    std::string platform;       // -platform NAME, else QT_QPA_PLATFORM; empty when not chosen
    std::string display;        // DISPLAY
    std::string waylandDisplay; // WAYLAND_DISPLAY
};
DisplayChoice displayChoice(const std::vector<std::string>& args);

// The one line `vokari` prints instead of the toolkit's platform plug-in error when no display
// can be found, pointing to `cli` (vokari-cli) to try the tool kit without one; empty when a
// window can be shown or another platform (offscreen, vnc ...) was chosen.
std::string noDisplayMessage(const DisplayChoice& choice, std::string_view cli);

inline constexpr std::string_view kProgramName = "Vokari";

// Takes the lock that marks the running copy. When another copy holds it, tells the user
// `alreadyRunning` ("Vokari はすでに起動しています。" in the window's language) and returns
// false: the program must end at once.
bool claimSingleCopy(platform::InstanceLock& lock, std::string_view alreadyRunning);

} // namespace vokari

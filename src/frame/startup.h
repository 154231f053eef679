#pragma once

#include "platform/instance_lock.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// QT_TRANSLATE_NOOP marks the launcher's texts below for lupdate, which reads this file; the
// launcher translates them. Without Qt the mark is the bare text.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#define VOKARI_OWN_TRANSLATE_NOOP
#endif

// What happens before the launcher appears: the command line of `vokari` and the single
// running copy.
namespace vokari {

// The tools of the launcher, in the order of its buttons.
//
// Adding a tool: its enumerator here and its line at the same place in kLauncherToolTable, its
// window in the table of gui/launcher/tool_windows.cpp, and its name in the --open texts of
// startup.cpp. Then `cmake --build build --target update_translations` and translate its
// caption and tool tip in translations/vokari_en.ts.
enum class LauncherTool { Enabler, Alias, QuickCombat, Install, Settings, Copy, History };

struct LauncherToolEntry {
    LauncherTool tool;
    std::string_view name;  // on the command line: --open NAME
    const char* buttonName; // the object name of the launcher's button
    const char* caption;    // the button's text, in the launcher's translation context
    const char* toolTip;    // the same; empty for none
};

inline constexpr LauncherToolEntry kLauncherToolTable[] = {
    {LauncherTool::Enabler, "enabler", "CmdAircraftEnabler",
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow", "航空機ファイル設定"),
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow", "航空機を使用するかしないかを設定します")},
    {LauncherTool::Alias, "alias", "CmdAliasSetting",
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow", "音声・パネルファイル設定"),
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow",
                       "航空機のサウンド、パネルを他の機体データのものを利用するように変更します")},
    {LauncherTool::QuickCombat, "qc", "CmdQCPEdit",
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow", "クイックコンバット編集"),
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow",
                       "クイックコンバットで使用するグループ、機体を設定します")},
    {LauncherTool::Install, "install", "CmdCfsArcInstall",
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow", "CFSファイルインストール"),
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow",
                       "ZIP形式で配布されるファイルのインストールを支援します")},
    {LauncherTool::Settings, "settings", "CmdCfsSetting",
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow", "CFS設定"),
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow", "CFSから設定できない項目を設定します")},
    {LauncherTool::Copy, "copy", "CmdCFSCopyFiles",
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow", "CFS1 → CFS2 ファイル コピー"), ""},
    {LauncherTool::History, "history", "CmdHistory",
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow", "変更履歴"),
     QT_TRANSLATE_NOOP("vokari::ui::VokariWindow",
                       "ゲームフォルダに加えた変更を一覧し、元に戻します")},
};

// Every tool, in the order of the buttons.
inline constexpr auto kLauncherTools = [] {
    std::array<LauncherTool, std::size(kLauncherToolTable)> tools{};
    for (size_t i = 0; i < tools.size(); ++i)
        tools[i] = kLauncherToolTable[i].tool;
    return tools;
}();
static_assert(
    [] {
        for (size_t i = 0; i < kLauncherTools.size(); ++i)
            if (kLauncherTools[i] != static_cast<LauncherTool>(i))
                return false;
        return true;
    }(),
    "kLauncherToolTable follows the order of LauncherTool");

// The tool's name on the command line.
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
// open), a lone PACKAGE (the same as --open install PACKAGE) and --lang ja|en. The window
// toolkit's own options (-platform, -style ...) are left to it; any other option is refused.
// Throws ArgumentError.
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

#ifdef VOKARI_OWN_TRANSLATE_NOOP
#undef QT_TRANSLATE_NOOP
#undef VOKARI_OWN_TRANSLATE_NOOP
#endif

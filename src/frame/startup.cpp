#include "frame/startup.h"

#include "common/prompt.h"
#include "frame/language.h"
#include "platform/error.h"

#include <cstdlib>

namespace vokari {

std::string_view launcherToolName(LauncherTool tool) {
    for (const LauncherToolEntry& entry : kLauncherToolTable) {
        if (entry.tool == tool)
            return entry.name;
    }
    return {};
}

std::optional<LauncherTool> launcherToolFromName(std::string_view name) {
    for (const LauncherToolEntry& entry : kLauncherToolTable) {
        if (entry.name == name)
            return entry.tool;
    }
    return std::nullopt;
}

namespace {

// How many arguments a window toolkit option takes up (with its value), 0 for any other.
int toolkitOption(std::string_view arg) {
    if (arg.starts_with("--") && arg.size() > 2)
        arg.remove_prefix(1); // the toolkit takes its options with two dashes too
    static constexpr std::string_view withValue[] = {"-platform",        "-platformpluginpath",
                                                     "-platformtheme",   "-plugin",
                                                     "-qwindowgeometry", "-qwindowtitle",
                                                     "-qwindowicon",     "-style",
                                                     "-stylesheet",      "-session",
                                                     "-display",         "-name",
                                                     "-title",           "-geometry",
                                                     "-qmljsdebugger"};
    static constexpr std::string_view alone[] = {"-reverse", "-widgetcount", "-nograb", "-dograb",
                                                 "-sync"};
    for (const std::string_view option : withValue)
        if (arg == option)
            return 2;
    for (const std::string_view option : alone)
        if (arg == option)
            return 1;
    return 0;
}

} // namespace

StartOptions parseStartOptions(const std::vector<std::string>& args) {
    StartOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--demo") {
            options.demo = true;
        } else if (arg == "--demo-reset") {
            options.demo = true;
            options.demoReset = true;
        } else if (arg == "--open") {
            if (i + 1 == args.size())
                throw ArgumentError("--open needs a tool: settings, enabler, alias, qc, "
                                    "install, copy or history");
            const std::string& name = args[++i];
            options.openTool = launcherToolFromName(name);
            if (!options.openTool)
                throw ArgumentError("unknown tool for --open: " + name +
                                    " (settings, enabler, alias, qc, install, copy or history)");
            if (options.openTool == LauncherTool::Install && i + 1 < args.size() &&
                !args[i + 1].empty() && args[i + 1][0] != '-')
                options.openFile = args[++i];
        } else if (arg == "--lang") {
            if (i + 1 == args.size() || !isUiLanguage(args[i + 1]))
                throw ArgumentError("--lang needs a language: ja or en");
            options.language = args[++i];
        } else if (const int taken = toolkitOption(arg); taken > 0) {
            // The toolkit's, with its value when one follows.
            if (taken == 2 && i + 1 < args.size() && !args[i + 1].starts_with("-"))
                ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw ArgumentError("unknown option: " + arg);
        } else if (!options.openFile.empty()) {
            throw ArgumentError("one package at a time: " + arg);
        } else if (options.openTool) {
            throw ArgumentError("a package opens in the installer (--open install " + arg +
                                "), not with another tool");
        } else {
            // A lone file, as a file manager's "open with" passes it: a package to install.
            options.openTool = LauncherTool::Install;
            options.openFile = arg;
        }
    }
    return options;
}

std::string startUsage() {
    return "usage: vokari [--demo] [--demo-reset] [--open TOOL | --open install PACKAGE |\n"
           "              PACKAGE] [--lang ja|en]\n"
           "  PACKAGE       an add-on package to open in the installer (as --open install)\n"
           "  --demo        work on the demo games (built on first use, kept between runs)\n"
           "  --demo-reset  start the demo games afresh (implies --demo)\n"
           "  --open TOOL   press a tool's button once the launcher is shown; TOOL is one of\n"
           "                settings, enabler, alias, qc, install, copy, history; install\n"
           "                may be followed by a package to open\n"
           "  --lang LANG   the windows' language, ja or en (default: the locale's language\n"
           "                when it is English, else Japanese)\n"
           "  --help        show this text\n"
           "  --version     print the version\n";
}

DisplayChoice displayChoice(const std::vector<std::string>& args) {
    const auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    DisplayChoice choice{env("QT_QPA_PLATFORM"), env("DISPLAY"), env("WAYLAND_DISPLAY")};
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "-platform" || args[i] == "--platform")
            choice.platform = args[i + 1];
    return choice;
}

std::string noDisplayMessage(const DisplayChoice& choice, std::string_view cli) {
    // "xcb:..." and "wayland-egl" name the same two kinds of display with options.
    const bool x11 = choice.platform.rfind("xcb", 0) == 0;
    const bool wayland = choice.platform.rfind("wayland", 0) == 0;
    if (!choice.platform.empty() && !x11 && !wayland)
        return {};
    const bool found = wayland ? !choice.waylandDisplay.empty()
                       : x11   ? !choice.display.empty()
                               : !choice.display.empty() || !choice.waylandDisplay.empty();
    if (found)
        return {};
    const std::string variables = wayland ? "WAYLAND_DISPLAY is"
                                  : x11   ? "DISPLAY is"
                                          : "DISPLAY and WAYLAND_DISPLAY are";
    return "vokari: no display found (" + variables +
           " not set); to try the tool kit without one, run `" + std::string(cli) +
           " --demo games` (`" + std::string(cli) + " --help` lists what it does)";
}

bool claimSingleCopy(platform::InstanceLock& lock, std::string_view alreadyRunning) {
    if (lock.tryAcquire())
        return true;
    showMessage(kProgramName, alreadyRunning, PromptIcon::Warning);
    return false;
}

} // namespace vokari

#include "frame/demo.h"
#include "frame/language.h"
#include "frame/prefix_choice.h"
#include "frame/startup.h"
#include "frame/version.h"
#include "gui/kit/language_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/launcher/handover_window.h"
#include "gui/launcher/tool_windows.h"
#include "gui/launcher/vokari_window.h"
#include "platform/environment.h"
#include "platform/error.h"
#include "platform/instance_lock.h"
#include "platform/path_text.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace vokari;
    StartOptions options;
    try {
        options = parseStartOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const Error& e) {
        std::cerr << "vokari: " << e.what() << "\n" << startUsage();
        return 2;
    }
    if (options.help) {
        std::cout << startUsage();
        return 0;
    }
    if (options.version) {
        std::cout << "vokari " << kVersion << "\n";
        return 0;
    }
    if (options.openTool && !ui::toolWindowExists(*options.openTool)) {
        std::cerr << "vokari: --open " << launcherToolName(*options.openTool)
                  << ": this tool is not built yet\n";
        return 2;
    }

#if defined(__unix__) && !defined(__APPLE__)
    // Without a display the toolkit would end with its platform plug-in error.
    {
        const std::filesystem::path cli = platform::executableDirectory() / "vokari-cli";
        const std::string message =
            noDisplayMessage(displayChoice(std::vector<std::string>(argv + 1, argv + argc)),
                             std::filesystem::exists(cli) ? platform::utf8Of(cli) : "vokari-cli");
        if (!message.empty()) {
            std::cerr << message << "\n";
            return 1;
        }
    }
#endif

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vokari"));
    const QStringList localeLanguages = QLocale::system().uiLanguages();
    const std::string language = chooseUiLanguage(
        options.language, localeLanguages.isEmpty() ? std::string() : ui::us(localeLanguages[0]));
    ui::installUiLanguage(language);
    ui::MessageBoxPrompt messageBoxes;
    setPrompt(&messageBoxes);

    // Before anything is read or written: a second copy only says so and ends.
    platform::InstanceLock lock("vokari");
    // A package for the installer goes to the copy that runs, which opens it.
    if (!options.openFile.empty() && !lock.tryAcquire() &&
        ui::PackageHandOver().send(
            QFileInfo(QString::fromLocal8Bit(options.openFile)).absoluteFilePath())) {
        setPrompt(nullptr);
        return 0;
    }
    if (!claimSingleCopy(
            lock, ui::us(QApplication::translate("Vokari", "Vokari はすでに起動しています。")))) {
        setPrompt(nullptr);
        return 1;
    }
    std::vector<GamePrefix> prefixes;
    if (!options.demo)
        prefixes = applyWinePrefixChoice();
    if (options.demo) {
        try {
            useDemoPrefix(options.demoReset);
        } catch (const Error& e) {
            std::cerr << "vokari: " << e.what() << "\n";
            setPrompt(nullptr);
            return 1;
        }
    }

    int result = 1;
    {
        ui::VokariWindow launcher;
        ui::PackageHandOver handOver;
        QObject::connect(&handOver, &ui::PackageHandOver::packageReceived, &launcher,
                         [&launcher](const QString& package) {
                             // Out of the socket's handler: the installer runs its own loop.
                             QTimer::singleShot(0, &launcher, [&launcher, package] {
                                 launcher.openPackage(package);
                             });
                         });
        if (!handOver.listen())
            std::cerr << "vokari: packages opened by a second start will not reach this copy\n";
        launcher.setGamePrefixes(prefixes);
        if (launcher.load()) {
            launcher.show();
            if (!options.openFile.empty())
                launcher.setStartupFiles(
                    {QFileInfo(QString::fromLocal8Bit(options.openFile)).absoluteFilePath()});
            if (options.openTool) {
                const LauncherTool tool = *options.openTool;
                QTimer::singleShot(0, &launcher, [&launcher, tool] {
                    QPushButton* button = launcher.toolButton(tool);
                    if (!button->isEnabled())
                        std::cerr << "vokari: --open " << launcherToolName(tool)
                                  << ": the button is disabled for the installed games\n";
                    button->click();
                });
            }
            result = app.exec();
        }
    }
    setPrompt(nullptr);
    return result;
}

#pragma once

#include "frame/prefix_choice.h"
#include "frame/startup.h"
#include "gui/kit/tool_window.h"
#include "gui/launcher/tool_windows.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <map>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The launcher: which games are installed, the game every tool works on, and a button for each
// tool.
namespace vokari::ui {

class VokariWindow : public QWidget {
    Q_OBJECT
public:
    explicit VokariWindow(ToolWindowFactory toolWindows = createToolWindow,
                          QWidget* parent = nullptr);

    // The Wine prefixes found at start-up. When more than one holds a game, the launcher offers
    // them above the game choice; the current prefix is selected.
    void setGamePrefixes(const std::vector<GamePrefix>& found);

    // The load steps: placement, installed games, saved choice. False when no game is
    // installed: the user has been told and the launcher has unloaded itself.
    bool load();

    // Makes `index` of the prefix list the prefix every lookup uses, saves it, and shows the
    // games it holds.
    void choosePrefix(int index);

    // 1 or 2 for the selected game, 0 when neither option is selected.
    int16_t selectedCfsVersion() const;

    QPushButton* toolButton(LauncherTool tool) const;
    // Opens a tool modally and unloads it when it closes (what its button does).
    void openTool(LauncherTool tool);
    // Files the next tool window opened is handed, when it opens files (host paths).
    void setStartupFiles(const QStringList& files) { startupFiles_ = files; }

    // A package handed over by a second start: opened in the installer, as if dropped on it.
    // With another tool open, the user is told to close it first.
    void openPackage(const QString& package);
    void openAbout();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool otherWindowLoaded() const;
    bool archiversFound();
    // Enables the game options and the copy button for the current prefix; false when it
    // holds no game.
    bool showInstalledGames();
    void unload();
    void showModal(QDialog& window);

    ToolWindowFactory toolWindows_;
    QStringList startupFiles_;
    bool unloaded_ = false;
    QPointer<QDialog> openWindow_; // the tool window shown now
    std::vector<GamePrefix> prefixes_;
    QLabel* winePrefixLabel_;
    QComboBox* winePrefixCombo_;
    QGroupBox* cfsVersionFrame_;
    QRadioButton* cfs1Option_;
    QRadioButton* cfs2Option_;
    std::map<LauncherTool, QPushButton*> toolButtons_;
    QPushButton* exitButton_;
    QLabel* programNameLabel_;
    QLabel* versionLabel_;
    QLabel* aboutLabel_;
};

} // namespace vokari::ui

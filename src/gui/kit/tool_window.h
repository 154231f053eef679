#pragma once

#include "frame/startup.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDialog>
#include <QKeySequence>
#include <QStringList>
#include <QStyle>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

// The tool windows the launcher opens. A tool window is a QDialog in
// src/<feature>/<name>_window.{h,cpp}:
//  - its constructor (int16_t version, QWidget* launcher) builds the controls, restores the
//    placement with restorePlacement(this, name, restoreSize) (app/placement_window.h) and
//    reads its model from gameFolder(version);
//  - it talks to the user only through common/prompt.h, titled with its windowTitle();
//  - its destructor is its unload: savePlacement(this, name).
// The launcher shows it with exec() and deletes it when exec() returns, so every opening
// starts from a fresh window. Its tests live in tests/<feature>/<name>_window_test.cpp: call
// vokari::test::qtApp() (support/qt_app.h) and answer its questions with a ScriptedPrompt.
class QMenu;
class QMenuBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace vokari::ui {

// The parts every tool window builds alike. A toolbar of 20-pixel icons, fixed in place.
QToolBar* makeToolBar(const char* name, QWidget* parent);
// A toolbar button with the style's standard icon and `tip` as its text and tool tip.
QAction* addToolButton(QToolBar* bar, const char* name, QStyle::StandardPixmap icon,
                       const QString& tip);
// A named menu entry; with a shortcut, it is also added to `window` so the shortcut works while
// the menus are closed.
QAction* addMenuEntry(QWidget* window, QMenu* menu, const char* name, const QString& caption,
                      const QKeySequence& shortcut = {});
QAction* addMenuSeparator(QMenu* menu, const char* name);
// The same entry, running `action` when it is chosen.
template <typename Action>
QAction* addMenuEntry(QWidget* window, QMenu* menu, const char* name, const QString& caption,
                      const QKeySequence& shortcut, Action action) {
    QAction* entry = addMenuEntry(window, menu, name, caption, shortcut);
    QObject::connect(entry, &QAction::triggered, window, action);
    return entry;
}
// The File menu's "mnuFile_Exit": the window closes once the menu has closed, as closing may
// ask a question.
QAction* addExitEntry(QWidget* window, QMenu* menu, const QString& caption);

// The window's client area fills it, without margins; its menu bar ("menuBar") goes above.
void fillWithClient(QWidget* window, QWidget* client);
QMenuBar* addMenuBar(QWidget* window);
QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption);

// A length the forms give in twips, in whole pixels of the widget's screen.
int pixelsOfTwips(const QWidget* widget, double twips);
// The smallest size of the window, given in twips as its form gives it.
void setMinimumSizeInTwips(QWidget* window, double width, double height);

// The lists of the tool windows: each row keeps its key (a folder name) in its first column.
QString rowKey(const QTreeWidgetItem* row);
QTreeWidgetItem* selectedRow(const QTreeWidget* list);
void selectRow(QTreeWidget* list, int index);
// A flat list of rows picked whole, with fixed columns.
void setUpRowList(QTreeWidget* list, const char* name, QAbstractItemView::SelectionMode selection);
// Empties the list and gives it these columns.
void setColumns(QTreeWidget* list, const QStringList& captions, std::initializer_list<int> widths);

// A tool window that opens files handed to it from outside (the installer: a package named on
// the command line), as if they had been dropped on it.
class FileOpeningWindow {
public:
    virtual ~FileOpeningWindow() = default;
    // Host paths.
    virtual void openFiles(const QStringList& files) = 0;
};

using ToolWindowFactory =
    std::function<std::unique_ptr<QDialog>(LauncherTool tool, int16_t version, QWidget* launcher)>;

// The window of `tool` for game `version` (the launcher's selectedCfsVersion()), a child of
// `launcher`; nullptr when the tool is not built yet.
std::unique_ptr<QDialog> createToolWindow(LauncherTool tool, int16_t version, QWidget* launcher);

// Whether createToolWindow has a window for `tool`.
bool toolWindowExists(LauncherTool tool);

} // namespace vokari::ui

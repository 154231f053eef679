#pragma once

#include <QAbstractItemView>
#include <QAction>
#include <QColor>
#include <QDialog>
#include <QIcon>
#include <QKeySequence>
#include <QModelIndex>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <functional>
#include <initializer_list>

class QMenu;
class QMenuBar;
class QToolBar;
class QTreeView;
class QTreeWidget;

namespace vokari::ui {

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

// A length the forms give in twips, in whole pixels of the widget's screen.
int pixelsOfTwips(const QWidget* widget, double twips);

// The style's icon in shades of `color`. Some styles draw icons such as the trash can in greys
// only, which on a toolbar reads as a disabled button; the disabled look stays grey.
QIcon coloredIcon(const QStyle* style, QStyle::StandardPixmap icon, const QColor& color);

// The lists of the tool windows: each row keeps its key (a folder name) in its first column.
// Apart from setColumns, these work on any view, so a list may become a model of its own.
QString rowKey(const QModelIndex& row);
// The first selected row, at its first column; invalid when no row is selected.
QModelIndex selectedRow(const QAbstractItemView* list);
// Makes row `index` the current and selected one, when the list has it.
void selectRow(QAbstractItemView* list, int index);
// A flat list of rows picked whole, with fixed columns.
void setUpRowList(QTreeView* list, const char* name, QAbstractItemView::SelectionMode selection);
void setColumnWidths(QTreeView* list, std::initializer_list<int> widths);
// Widens every column that is narrower than its caption, in whichever language it is.
void fitColumnsToCaptions(QTreeView* list);
// Empties the list and gives it these columns.
void setColumns(QTreeWidget* list, const QStringList& captions, std::initializer_list<int> widths);
// A right click released over the list's rows calls `popUp` with the pointer's place on the
// screen, instead of reaching the list.
void popUpOnRightClick(QAbstractItemView* list, std::function<void(const QPoint&)> popUp);

// A tool window that opens files handed to it from outside (the installer: a package named on
// the command line), as if they had been dropped on it.
class FileOpeningWindow {
public:
    virtual ~FileOpeningWindow() = default;
    // Host paths.
    virtual void openFiles(const QStringList& files) = 0;
    // A file handed over by a second start while the window is open. A window that may be
    // asking a question then opens it (and comes to the front) only once it is free.
    virtual void openHandedOver(const QString& file) { openFiles({file}); }
};

// A window the launcher opens, one per tool (gui/launcher/tool_windows.cpp lists them). It lives
// in gui/<tool>/<name>_window.{h,cpp}:
//  - its constructor (int16_t version, QWidget* launcher) builds the controls and reads its model
//    from gameFolder(version);
//  - it talks to the user only through common/prompt.h, titled with its caption().
// The launcher shows it with exec() and deletes it when exec() returns, so every opening starts
// from a fresh window. Its tests live in tests/gui/<tool>/<name>_window_test.cpp: call
// vokari::test::qtApp() (support/qt_app.h) and answer its questions with a ScriptedPrompt.
class ToolWindow : public QDialog {
    Q_OBJECT

public:
    ~ToolWindow() override;

    // Closing keeps the placement of a window that restored one.
    void done(int result) override;

    // The caption without the mark of unsaved edits: messages and questions are titled with it.
    const QString& caption() const { return caption_; }

protected:
    enum class Frame {
        // Lays out its own controls and closes with Escape, as a dialog box does.
        DialogBox,
        // A client area below the menu bar, a size grip, the tools' smallest size and its last
        // placement, size included. It has menus, it is no dialog box: Escape does not close it.
        Menus,
    };

    // `name`: the object name, which is also the settings section of the window's placement.
    ToolWindow(const QString& name, const QString& caption, Frame frame, QWidget* parent);

    // Puts the window where it was last closed, at its size too with `withSize`; closing then
    // keeps its placement.
    void restorePlacement(bool withSize);

    // A window that edits tells whether edits wait to be saved: the title then shows "*" after
    // the caption, as desktop programs do.
    void setUnsaved(bool isUnsaved);

    // The parts of a window with menus.
    QWidget* client() const { return client_; }
    QMenuBar* menuBar() const { return menuBar_; }
    QToolBar* toolBar() const { return toolBar_; }

    // The toolbar across the top of the client area: 20-pixel icons, fixed in place.
    QToolBar* addToolBar(const char* name);
    // A toolbar button with `tip` as its text and tool tip.
    QAction* addToolButton(const char* name, const QIcon& icon, const QString& tip);
    template <typename Command>
    QAction* addToolButton(const char* name, const QIcon& icon, const QString& tip,
                           Command command) {
        QAction* button = addToolButton(name, icon, tip);
        connect(button, &QAction::triggered, this, command);
        return button;
    }
    // The same with the style's standard icon.
    QAction* addToolButton(const char* name, QStyle::StandardPixmap icon, const QString& tip);
    template <typename Command>
    QAction* addToolButton(const char* name, QStyle::StandardPixmap icon, const QString& tip,
                           Command command) {
        QAction* button = addToolButton(name, icon, tip);
        connect(button, &QAction::triggered, this, command);
        return button;
    }

    // Menus go on the menu bar in the order they are added.
    QMenu* addMenu(const char* name, const QString& caption);
    // "mnuFile": the window adds its own entries, then addExitEntry.
    QMenu* addFileMenu();
    // A separator and "mnuFile_Exit", which closes the window once the menu has closed: closing
    // may ask a question.
    void addExitEntry(QMenu* fileMenu, const QKeySequence& shortcut = {});
    // "mnuEdit", for the window to fill.
    QMenu* addEditMenu();
    // "mnuHelp", last on the bar: "mnuHelp_Ver" opens the About box, through `connection`.
    void addHelpMenu(Qt::ConnectionType connection = Qt::AutoConnection);
    // The Edit menu as a pop-up at `globalPos`, with `defaultEntry` shown as the default.
    void popUpEditMenu(QAction* defaultEntry, const QPoint& globalPos);

    // Places the client area's controls below the toolbar, each time the area is resized.
    virtual void layoutControls() {}

    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeClientControls();

    QString caption_;
    bool keepsPlacement_ = false;
    QWidget* client_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMenu* editMenu_ = nullptr;
};

} // namespace vokari::ui

#include "gui/kit/tool_window.h"

#include "frame/settings_file.h"

#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "gui/aircraft/aircraft_enabler_window.h"
#include "gui/aircraft/alias_setting_window.h"
#include "gui/copy/cfs_copy_files_window.h"
#include "gui/gameconfig/cfs_setting_window.h"
#include "gui/installer/arc_install_window.h"
#include "gui/quickcombat/qc_edit_window.h"

namespace vokari::ui {

QToolBar* makeToolBar(const char* name, QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setIconSize(QSize(20, 20));
    bar->setMovable(false);
    return bar;
}

QAction* addToolButton(QToolBar* bar, const char* name, QStyle::StandardPixmap icon,
                       const QString& tip) {
    QAction* button = bar->addAction(bar->style()->standardIcon(icon), tip);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    return button;
}

QAction* addMenuEntry(QWidget* window, QMenu* menu, const char* name, const QString& caption,
                      const QKeySequence& shortcut) {
    QAction* entry = menu->addAction(caption);
    entry->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        entry->setShortcut(shortcut);
        window->addAction(entry);
    }
    return entry;
}

QAction* addMenuSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

QAction* addExitEntry(QWidget* window, QMenu* menu, const QString& caption) {
    return addMenuEntry(window, menu, "mnuFile_Exit", caption, QKeySequence(), [window] {
        QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
    });
}

void fillWithClient(QWidget* window, QWidget* client) {
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(client);
}

QMenuBar* addMenuBar(QWidget* window) {
    auto* bar = new QMenuBar(window);
    bar->setObjectName(QStringLiteral("menuBar"));
    window->layout()->setMenuBar(bar);
    return bar;
}

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

int pixelsOfTwips(const QWidget* widget, double twips) {
    const double dpi = widget->logicalDpiY() > 0 ? widget->logicalDpiY() : 96;
    return static_cast<int>(std::lround(twipsToPixels(twips, dpi)));
}

void setMinimumSizeInTwips(QWidget* window, double width, double height) {
    window->setMinimumSize(pixelsOfTwips(window, width), pixelsOfTwips(window, height));
}

void setUpRowList(QTreeWidget* list, const char* name, QAbstractItemView::SelectionMode selection) {
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(selection);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSortingEnabled(false);
    list->setAllColumnsShowFocus(true);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
}

QString rowKey(const QTreeWidgetItem* row) {
    return row->data(0, Qt::UserRole).toString();
}

QTreeWidgetItem* selectedRow(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> rows = list->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

void selectRow(QTreeWidget* list, int index) {
    if (QTreeWidgetItem* row = list->topLevelItem(index))
        list->setCurrentItem(row);
}

void setColumns(QTreeWidget* list, const QStringList& captions, std::initializer_list<int> widths) {
    list->clear();
    list->setColumnCount(static_cast<int>(captions.size()));
    list->setHeaderLabels(captions);
    int column = 0;
    for (int width : widths)
        list->setColumnWidth(column++, width);
}

namespace {

using MakeToolWindow = std::unique_ptr<QDialog> (*)(int16_t version, QWidget* launcher);

template <class Window> std::unique_ptr<QDialog> makeWindow(int16_t version, QWidget* launcher) {
    return std::make_unique<Window>(version, launcher);
}

struct ToolWindowEntry {
    LauncherTool tool;
    MakeToolWindow make; // nullptr: not built yet
};

// One line per tool: replace nullptr with &makeWindow<FrmXxx> and include its header.
// CfsCopyFilesWindow asks no version: give it a constructor that ignores it.
constexpr ToolWindowEntry kToolWindows[] = {
    {LauncherTool::Enabler, &makeWindow<AircraftEnablerWindow>},
    {LauncherTool::Alias, &makeWindow<AliasSettingWindow>},
    {LauncherTool::QuickCombat, &makeWindow<QcEditWindow>},
    {LauncherTool::Install, &makeWindow<ArcInstallWindow>},
    {LauncherTool::Settings, &makeWindow<CfsSettingWindow>},
    {LauncherTool::Copy, &makeWindow<CfsCopyFilesWindow>},
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

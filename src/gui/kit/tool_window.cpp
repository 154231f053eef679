#include "gui/kit/tool_window.h"

#include "frame/settings_file.h"
#include "gui/kit/about_dialog.h"
#include "gui/kit/placement_window.h"

#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace vokari::ui {
namespace {

// The smallest window with menus, in twips.
constexpr double kMinWidthTwips = 9720;
constexpr double kMinHeightTwips = 7890;

// The inside of a window with menus, whose controls are placed by hand as it is resized.
class ClientArea : public QWidget {
public:
    ClientArea(std::function<void()> onResize, QWidget* parent)
        : QWidget(parent), onResize_(std::move(onResize)) {
        setObjectName(QStringLiteral("client"));
    }

protected:
    void resizeEvent(QResizeEvent*) override { onResize_(); }

private:
    std::function<void()> onResize_;
};

class RightClickFilter : public QObject {
public:
    RightClickFilter(std::function<void(const QPoint&)> popUp, QObject* parent)
        : QObject(parent), popUp_(std::move(popUp)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton)
            return false;
        popUp_(mouse->globalPosition().toPoint());
        return true;
    }

private:
    std::function<void(const QPoint&)> popUp_;
};

} // namespace

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

int pixelsOfTwips(const QWidget* widget, double twips) {
    const double dpi = widget->logicalDpiY() > 0 ? widget->logicalDpiY() : 96;
    return static_cast<int>(std::lround(twipsToPixels(twips, dpi)));
}

QIcon coloredIcon(const QStyle* style, QStyle::StandardPixmap icon, const QColor& color) {
    // Darker than the greys, so that the color holds in the icon's light parts too.
    constexpr double kLightness = 0.7;
    const QIcon grey = style->standardIcon(icon);
    QIcon colored;
    for (int size : {16, 20, 24, 32, 48}) {
        QImage image = grey.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = QColor::fromRgba(line[x]);
                line[x] =
                    QColor::fromHsl(color.hslHue(), color.hslSaturation(),
                                    static_cast<int>(pixel.lightness() * kLightness), pixel.alpha())
                        .rgba();
            }
        }
        colored.addPixmap(QPixmap::fromImage(image));
    }
    return colored;
}

QString rowKey(const QModelIndex& row) {
    return row.siblingAtColumn(0).data(Qt::UserRole).toString();
}

QModelIndex selectedRow(const QAbstractItemView* list) {
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.first().siblingAtColumn(0);
}

void selectRow(QAbstractItemView* list, int index) {
    const QModelIndex row = list->model()->index(index, 0);
    if (row.isValid())
        list->setCurrentIndex(row);
}

void setUpRowList(QTreeView* list, const char* name, QAbstractItemView::SelectionMode selection) {
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

void setColumnWidths(QTreeView* list, std::initializer_list<int> widths) {
    int column = 0;
    for (int width : widths)
        list->setColumnWidth(column++, width);
}

void fitColumnsToCaptions(QTreeView* list) {
    const QHeaderView* header = list->header();
    for (int column = 0; column < header->count(); ++column)
        list->setColumnWidth(column,
                             std::max(list->columnWidth(column), header->sectionSizeHint(column)));
}

void setColumns(QTreeWidget* list, const QStringList& captions, std::initializer_list<int> widths) {
    list->clear();
    list->setColumnCount(static_cast<int>(captions.size()));
    list->setHeaderLabels(captions);
    setColumnWidths(list, widths);
}

void popUpOnRightClick(QAbstractItemView* list, std::function<void(const QPoint&)> popUp) {
    QWidget* rows = list->viewport();
    rows->installEventFilter(new RightClickFilter(std::move(popUp), rows));
}

ToolWindow::ToolWindow(const QString& name, const QString& caption, Frame frame, QWidget* parent)
    : QDialog(parent), caption_(caption) {
    setObjectName(name);
    setWindowTitle(caption);
    if (frame != Frame::Menus)
        return;
    setSizeGripEnabled(true);
    client_ = new ClientArea([this] { placeClientControls(); }, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(client_, 1);
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("menuBar"));
    layout->setMenuBar(menuBar_);

    setMinimumSize(pixelsOfTwips(this, kMinWidthTwips), pixelsOfTwips(this, kMinHeightTwips));
    restorePlacement(true);
}

ToolWindow::~ToolWindow() = default;

void ToolWindow::restorePlacement(bool withSize) {
    ui::restorePlacement(this, objectName(), withSize);
    keepsPlacement_ = true;
}

void ToolWindow::setUnsaved(bool isUnsaved) {
    // Qt shows "[*]" as "*" while the window is modified, and as nothing otherwise.
    setWindowTitle(caption_ + QStringLiteral("[*]"));
    setWindowModified(isUnsaved);
}

void ToolWindow::done(int result) {
    if (keepsPlacement_)
        savePlacement(this, objectName());
    QDialog::done(result);
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
    if (menuBar_ && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QToolBar* ToolWindow::addToolBar(const char* name) {
    toolBar_ = new QToolBar(client_);
    toolBar_->setObjectName(QString::fromLatin1(name));
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->setMovable(false);
    return toolBar_;
}

QAction* ToolWindow::addToolButton(const char* name, const QIcon& icon, const QString& tip) {
    QAction* button = toolBar_->addAction(icon, tip);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    return button;
}

QAction* ToolWindow::addToolButton(const char* name, QStyle::StandardPixmap icon,
                                   const QString& tip) {
    return addToolButton(name, toolBar_->style()->standardIcon(icon), tip);
}

void ToolWindow::placeClientControls() {
    if (toolBar_)
        toolBar_->setGeometry(0, 0, client_->width(), toolBar_->sizeHint().height());
    layoutControls();
}

QMenu* ToolWindow::addMenu(const char* name, const QString& caption) {
    QMenu* menu = menuBar_->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QMenu* ToolWindow::addFileMenu() {
    return addMenu("mnuFile", tr("ファイル(&F)"));
}

void ToolWindow::addExitEntry(QMenu* fileMenu, const QKeySequence& shortcut) {
    addMenuSeparator(fileMenu, "mnuFile_sep1");
    addMenuEntry(this, fileMenu, "mnuFile_Exit", tr("終了(&X)"), shortcut, [this] {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });
}

QMenu* ToolWindow::addEditMenu() {
    editMenu_ = addMenu("mnuEdit", tr("編集(&E)"));
    return editMenu_;
}

void ToolWindow::addHelpMenu(Qt::ConnectionType connection) {
    QMenu* help = addMenu("mnuHelp", tr("ヘルプ(&H)"));
    addMenuSeparator(help, "mnuHelp_sep1");
    QAction* about = addMenuEntry(this, help, "mnuHelp_Ver", tr("バージョン情報(&A)"));
    connect(
        about, &QAction::triggered, this, [this] { AboutDialog(this).exec(); }, connection);
}

void ToolWindow::popUpEditMenu(QAction* defaultEntry, const QPoint& globalPos) {
    editMenu_->setDefaultAction(defaultEntry);
    editMenu_->exec(globalPos);
    editMenu_->setDefaultAction(nullptr);
}

} // namespace vokari::ui
